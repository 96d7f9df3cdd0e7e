<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AddVideoFlow</name>
    <message>
        <source>Open file</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>All Video Formats</source>
        <translation>All Video Formats</translation>
    </message>
    <message>
        <source>all files</source>
        <translation>all files</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>The output file cannot be created</source>
        <translation>The output file cannot be created</translation>
    </message>
    <message>
        <source>The job cannot be saved in its folder</source>
        <translation>The job cannot be saved in its folder</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Open Official Website</source>
        <translation>Open Official Website</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>Sign In</translation>
    </message>
    <message>
        <source>DeviceID</source>
        <translation>DeviceID</translation>
    </message>
    <message>
        <source>Customer Support</source>
        <translation>Customer Support</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Applies from the next start</source>
        <translation>Applies from the next start</translation>
    </message>
    <message>
        <source>Sign-in is not available in this edition of %1.</source>
        <translation>Sign-in is not available in this edition of %1.</translation>
    </message>
    <message>
        <source>If you&apos;re having a problem with our service and need help,go to</source>
        <translation>If you&apos;re having a problem with our service and need help,go to</translation>
    </message>
    <message>
        <source>Support Wechat</source>
        <translation>Support Wechat</translation>
    </message>
    <message>
        <source>Support Email</source>
        <translation>Support Email</translation>
    </message>
    <message>
        <source>How to get DeviceID? Menu-&gt;DeviceID</source>
        <translation>How to get DeviceID? Menu-&gt;DeviceID</translation>
    </message>
    <message>
        <source>Please help to provide DeviceID when you contact customer service</source>
        <translation>Please help to provide DeviceID when you contact customer service</translation>
    </message>
    <message>
        <source>simplify complex audio and video transcoding parameters to only video quality by percentage. Through complex calculations, select the optimal transcoding parameters for users, greatly reducing the complexity of transcoding and allowing users to transcode faster and simpler.</source>
        <translation>simplify complex audio and video transcoding parameters to only video quality by percentage. Through complex calculations, select the optimal transcoding parameters for users, greatly reducing the complexity of transcoding and allowing users to transcode faster and simpler.</translation>
    </message>
    <message>
        <source>Support various formats transcode to mp4, make transcoding easier and simpler</source>
        <translation>Support various formats transcode to mp4, make transcoding easier and simpler</translation>
    </message>
    <message>
        <source>The new language applies from the next start of %1.</source>
        <translation>The new language applies from the next start of %1.</translation>
    </message>
</context>
<context>
    <name>CountDownMsgBox</name>
    <message>
        <source>All transcoding tasks have been completed</source>
        <translation>All transcoding tasks have been completed</translation>
    </message>
    <message>
        <source>seconds to shutdown</source>
        <translation>seconds to shutdown</translation>
    </message>
    <message>
        <source>Shutdown now</source>
        <translation>Shutdown now</translation>
    </message>
    <message>
        <source>Cancel shutdown</source>
        <translation>Cancel shutdown</translation>
    </message>
</context>
<context>
    <name>DeleteConfirmation</name>
    <message>
        <source>Are you sure to completely delete the transcoding task</source>
        <translation>Are you sure to completely delete the transcoding task</translation>
    </message>
    <message>
        <source>OK, delete now</source>
        <translation>OK, delete now</translation>
    </message>
    <message>
        <source>Cancel, do not delete</source>
        <translation>Cancel, do not delete</translation>
    </message>
    <message>
        <source>Also delete the transcoding output files</source>
        <translation>Also delete the transcoding output files</translation>
    </message>
</context>
<context>
    <name>EncoderOutcome</name>
    <message>
        <source>The encoder could not be started</source>
        <translation>The encoder could not be started</translation>
    </message>
    <message>
        <source>The encoder ended abnormally</source>
        <translation>The encoder ended abnormally</translation>
    </message>
    <message>
        <source>The encoder failed with exit code</source>
        <translation>The encoder failed with exit code</translation>
    </message>
    <message>
        <source>The encoder wrote no readable video</source>
        <translation>The encoder wrote no readable video</translation>
    </message>
    <message>
        <source>The output is shorter than the input</source>
        <translation>The output is shorter than the input</translation>
    </message>
</context>
<context>
    <name>JobContextMenu</name>
    <message>
        <source>Show input in Explorer</source>
        <translation>Show input in Explorer</translation>
    </message>
    <message>
        <source>Show output in Explorer</source>
        <translation>Show output in Explorer</translation>
    </message>
    <message>
        <source>Transcode again</source>
        <translation>Transcode again</translation>
    </message>
    <message>
        <source>Stop transcoding</source>
        <translation>Stop transcoding</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Delete completely</source>
        <translation>Delete completely</translation>
    </message>
    <message>
        <source>Empty Recycle Bin</source>
        <translation>Empty Recycle Bin</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Property</translation>
    </message>
</context>
<context>
    <name>JobRowTexts</name>
    <message>
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>0 sec</source>
        <translation>0 sec</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>Calculating</source>
        <translation>Calculating</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>sec</translation>
    </message>
    <message>
        <source>Initializing</source>
        <translation>Initializing</translation>
    </message>
    <message>
        <source>Stopping</source>
        <translation>Stopping</translation>
    </message>
    <message>
        <source>In another Kovadle</source>
        <translation>In another Kovadle</translation>
    </message>
    <message>
        <source>Another Kovadle (a second window or kovadle-cli) is transcoding this job. It can be changed here once that one has finished with it.</source>
        <translation>Another Kovadle (a second window or kovadle-cli) is transcoding this job. It can be changed here once that one has finished with it.</translation>
    </message>
</context>
<context>
    <name>JobTable</name>
    <message>
        <source>Time Remaining</source>
        <translation>Time Remaining</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>FileName</translation>
    </message>
</context>
<context>
    <name>NewVersionDialog</name>
    <message>
        <source>Found new version</source>
        <translation>Found new version</translation>
    </message>
    <message>
        <source>Do you want to install the new version</source>
        <translation>Do you want to install the new version</translation>
    </message>
    <message>
        <source>downloaded new version</source>
        <translation>downloaded new version</translation>
    </message>
    <message>
        <source>Current version</source>
        <translation>Current version</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>Not install</source>
        <translation>Not install</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Kovadle</source>
        <translation>Kovadle</translation>
    </message>
    <message>
        <source>queueing</source>
        <translation>queueing</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>qlv is in Tencent&apos;s private format and currently not supported</source>
        <translation>qlv is in Tencent&apos;s private format and currently not supported</translation>
    </message>
    <message>
        <source>qsv is a private format of iQiyi and is currently not supported</source>
        <translation>qsv is a private format of iQiyi and is currently not supported</translation>
    </message>
    <message>
        <source>Non video files are not supported</source>
        <translation>Non video files are not supported</translation>
    </message>
    <message>
        <source>Not support audio only file</source>
        <translation>Not support audio only file</translation>
    </message>
    <message>
        <source>Resolution larger than 4k are not supported (4k and below are supported)</source>
        <translation>Resolution larger than 4k are not supported (4k and below are supported)</translation>
    </message>
    <message>
        <source>Video width less than 480 are not supported</source>
        <translation>Video width less than 480 are not supported</translation>
    </message>
    <message>
        <source>Only regular files can be transcoded, not folders, pipes or devices</source>
        <translation>Only regular files can be transcoded, not folders, pipes or devices</translation>
    </message>
    <message>
        <source>The file name is not valid UTF-8 and cannot be read, please rename the file</source>
        <translation>The file name is not valid UTF-8 and cannot be read, please rename the file</translation>
    </message>
</context>
<context>
    <name>SettingWindow1File</name>
    <message>
        <source>Transcode settings</source>
        <translation>Transcode settings</translation>
    </message>
    <message>
        <source>Close window</source>
        <translation>Close window</translation>
    </message>
    <message>
        <source>Input File</source>
        <translation>Input File</translation>
    </message>
    <message>
        <source>Output File</source>
        <translation>Output File</translation>
    </message>
    <message>
        <source>Output video quality</source>
        <translation>Output video quality</translation>
    </message>
    <message>
        <source>Input file as 100%</source>
        <translation>Input file as 100%</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Output file format</source>
        <translation>Output file format</translation>
    </message>
    <message>
        <source>Input Resolution</source>
        <translation>Input Resolution</translation>
    </message>
    <message>
        <source>Output Resolution</source>
        <translation>Output Resolution</translation>
    </message>
    <message>
        <source>Input Filesize</source>
        <translation>Input Filesize</translation>
    </message>
    <message>
        <source>Output Filesize(Estimated)</source>
        <translation>Output Filesize(Estimated)</translation>
    </message>
    <message>
        <source>Start Transcoding</source>
        <translation>Start Transcoding</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>95%(recommended)</source>
        <translation>95%(recommended)</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
</context>
<context>
    <name>ShowDeviceID</name>
    <message>
        <source>DeviceID</source>
        <translation>DeviceID</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Copied to the clipboard</source>
        <translation>Copied to the clipboard</translation>
    </message>
</context>
<context>
    <name>VersionExpiredDialog</name>
    <message>
        <source>Version expired</source>
        <translation>Version expired</translation>
    </message>
    <message>
        <source>&lt;p&gt;This version of %1 has expired and can no longer be used.&lt;/p&gt;&lt;p&gt;Please download the latest version from the official website:&lt;br&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;&lt;p&gt;%1 is free. Download it only from the official website, so that you never get a modified copy.&lt;/p&gt;</source>
        <translation>&lt;p&gt;This version of %1 has expired and can no longer be used.&lt;/p&gt;&lt;p&gt;Please download the latest version from the official website:&lt;br&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;&lt;p&gt;%1 is free. Download it only from the official website, so that you never get a modified copy.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Exit the program</source>
        <translation>Exit the program</translation>
    </message>
</context>
<context>
    <name>Widget</name>
    <message>
        <source>Transcoding</source>
        <translation>Transcoding</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Completed</translation>
    </message>
    <message>
        <source>RecycleBin</source>
        <translation>RecycleBin</translation>
    </message>
    <message>
        <source>Add Video</source>
        <translation>Add Video</translation>
    </message>
    <message>
        <source>Add Multiple Video</source>
        <translation>Add Multiple Video</translation>
    </message>
    <message>
        <source>Output Dir:</source>
        <translation>Output Dir:</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Support more than twenty formats</source>
        <translation>Support more than twenty formats</translation>
    </message>
    <message>
        <source>Shutdown computer after transcoding</source>
        <translation>Shutdown computer after transcoding</translation>
    </message>
    <message>
        <source>Output Dir</source>
        <translation>Output Dir</translation>
    </message>
    <message>
        <source>Select an output dir</source>
        <translation>Select an output dir</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Transcode ongoing, please first stop the all transcoding</source>
        <translation>Transcode ongoing, please first stop the all transcoding</translation>
    </message>
    <message>
        <source>Empty Recycle Bin</source>
        <translation>Empty Recycle Bin</translation>
    </message>
    <message>
        <source>Are you sure to empty the recyle bin</source>
        <translation>Are you sure to empty the recyle bin</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>Exit? if yes, all transcoding task will be terminated</source>
        <translation>Exit? if yes, all transcoding task will be terminated</translation>
    </message>
    <message>
        <source>no reason was recorded</source>
        <translation>no reason was recorded</translation>
    </message>
    <message>
        <source>Kovadle could not save its list of jobs, so changes may be missing at the next start. Free some disk space or check the folder&apos;s permissions.</source>
        <translation>Kovadle could not save its list of jobs, so changes may be missing at the next start. Free some disk space or check the folder&apos;s permissions.</translation>
    </message>
    <message>
        <source>Stopping the transcodes</source>
        <translation>Stopping the transcodes</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AddVideoFlow</name>
    <message>
        <source>Open file</source>
        <translation>Open a video</translation>
    </message>
    <message>
        <source>All Video Formats</source>
        <translation>All video formats</translation>
    </message>
    <message>
        <source>all files</source>
        <translation>All files</translation>
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
    <message>
        <source>The file does not exist</source>
        <translation>The file does not exist</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Open Official Website</source>
        <translation>Official website</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>Sign In</translation>
    </message>
    <message>
        <source>DeviceID</source>
        <translation>Device ID</translation>
    </message>
    <message>
        <source>Customer Support</source>
        <translation>Customer Support</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About </translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Applies from the next start</source>
        <translation>Takes effect at the next start</translation>
    </message>
    <message>
        <source>Sign-in is not available in this edition of %1.</source>
        <translation>Sign-in is not available in this edition of %1.</translation>
    </message>
    <message>
        <source>If you&apos;re having a problem with our service and need help,go to</source>
        <translation>If you need help with Kovadle, contact us</translation>
    </message>
    <message>
        <source>Support Wechat</source>
        <translation>WeChat</translation>
    </message>
    <message>
        <source>Support Email</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>How to get DeviceID? Menu-&gt;DeviceID</source>
        <translation>Your device ID is under Menu &gt; Device ID.</translation>
    </message>
    <message>
        <source>Please help to provide DeviceID when you contact customer service</source>
        <translation>Please tell us your device ID when you contact us</translation>
    </message>
    <message>
        <source>simplify complex audio and video transcoding parameters to only video quality by percentage. Through complex calculations, select the optimal transcoding parameters for users, greatly reducing the complexity of transcoding and allowing users to transcode faster and simpler.</source>
        <translation>the video converter that reduces all the settings of audio and video transcoding to one: the output video quality, as a percentage of the input. It works out the best settings for you, so transcoding is faster and simpler</translation>
    </message>
    <message>
        <source>Support various formats transcode to mp4, make transcoding easier and simpler</source>
        <translation>converts videos of many formats to MP4 and makes transcoding easy.</translation>
    </message>
    <message>
        <source>The new language applies from the next start of %1.</source>
        <translation>The new language takes effect the next time %1 starts.</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Notice</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>Kovadle is already running</source>
        <translation>Kovadle is already running</translation>
    </message>
</context>
<context>
    <name>BatchAddFlow</name>
    <message>
        <source>Open files</source>
        <translation>Open videos</translation>
    </message>
    <message>
        <source>Add the videos of a folder</source>
        <translation>Add the videos of a folder</translation>
    </message>
    <message>
        <source>These files were not added:</source>
        <translation>These files were not added:</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>The file does not exist</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Include subfolders</source>
        <translation>Include subfolders</translation>
    </message>
</context>
<context>
    <name>BatchSettingsDialog</name>
    <message>
        <source>Transcode settings</source>
        <translation>Transcode settings</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Estimated size</source>
        <translation>Estimated size</translation>
    </message>
    <message>
        <source>95%(recommended)</source>
        <translation>95% (recommended)</translation>
    </message>
    <message>
        <source>Start Transcoding</source>
        <translation>Start transcoding</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Output video quality</source>
        <translation>Output video quality</translation>
    </message>
    <message>
        <source>Input file as 100%</source>
        <translation>input = 100%</translation>
    </message>
    <message>
        <source>Output file format</source>
        <translation>Output format</translation>
    </message>
    <message>
        <source>* These videos do not offer %1%: each uses the nearest lower quality it offers (or its lowest).</source>
        <translation>* These videos do not offer %1%: each uses the nearest lower quality it offers (or its lowest).</translation>
    </message>
    <message>
        <source>Estimated total output size</source>
        <translation>Estimated total output size</translation>
    </message>
    <message>
        <source>Videos: %1    Output folder: %2</source>
        <translation>Videos: %1    Output folder: %2</translation>
    </message>
    <message>
        <source>Keep every audio track and subtitle</source>
        <translation>Keep every audio track and subtitle</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Every video keeps all its tracks.</source>
        <translation>Every video keeps all its tracks.</translation>
    </message>
    <message>
        <source>and %1 more videos that drop tracks</source>
        <translation>and %1 more videos that drop tracks</translation>
    </message>
    <message>
        <source>Not every track is kept:</source>
        <translation>Not every track is kept:</translation>
    </message>
    <message>
        <source>Fit each video into</source>
        <translation>Fit each video into</translation>
    </message>
    <message>
        <source>Quality bought</source>
        <translation>Quality bought</translation>
    </message>
    <message>
        <source>Type a size in MB.</source>
        <translation>Type a size in MB.</translation>
    </message>
    <message>
        <source>Videos that cannot be made this small: %1. Each needs at least the size shown.</source>
        <translation>Videos that cannot be made this small: %1. Each needs at least the size shown.</translation>
    </message>
    <message>
        <source>* These videos already fit: they are made at quality 99 %.</source>
        <translation>* These videos already fit: they are made at quality 99 %.</translation>
    </message>
</context>
<context>
    <name>CompletedFigures</name>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Actual Filesize</source>
        <translation>Actual file size</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>Actual Duration</source>
        <translation>Actual duration</translation>
    </message>
    <message>
        <source>Actual Bitrate</source>
        <translation>Actual bit rate</translation>
    </message>
    <message>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <source>Encoding Time</source>
        <translation>Encoding time</translation>
    </message>
    <message>
        <source>Encoding Speed</source>
        <translation>Encoding speed</translation>
    </message>
    <message>
        <source>Target Size</source>
        <translation>Target Size</translation>
    </message>
    <message>
        <source>First Output</source>
        <translation>First Output</translation>
    </message>
    <message>
        <source>%1, over the size: made again</source>
        <translation>%1, over the size: made again</translation>
    </message>
</context>
<context>
    <name>CountDownMsgBox</name>
    <message>
        <source>All transcoding tasks have been completed</source>
        <translation>All transcoding jobs are done</translation>
    </message>
    <message>
        <source>seconds to shutdown</source>
        <translation>seconds until the computer shuts down</translation>
    </message>
    <message>
        <source>Shutdown now</source>
        <translation>Shut down now</translation>
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
        <translation>Delete this transcoding job permanently</translation>
    </message>
    <message>
        <source>OK, delete now</source>
        <translation>Yes, delete it</translation>
    </message>
    <message>
        <source>Cancel, do not delete</source>
        <translation>No, keep it</translation>
    </message>
    <message>
        <source>Also delete the transcoding output files</source>
        <translation>Also delete its output file</translation>
    </message>
    <message>
        <source>kept: another job&apos;s output</source>
        <translation>kept: another job&apos;s output</translation>
    </message>
    <message>
        <source>kept: not the file this job made</source>
        <translation>kept: not the file this job made</translation>
    </message>
    <message>
        <source>there is no output file</source>
        <translation>there is no output file</translation>
    </message>
    <message>
        <source>The output file cannot be moved to the trash. Delete it for good?</source>
        <translation>The output file cannot be moved to the trash. Delete it for good?</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Transcoding finished</source>
        <translation>Transcoding finished</translation>
    </message>
    <message>
        <source>%1 is ready.</source>
        <translation>%1 is ready.</translation>
    </message>
    <message>
        <source>Transcoding failed</source>
        <translation>Transcoding failed</translation>
    </message>
</context>
<context>
    <name>DesktopOpener</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>The output file is not there any more:</source>
        <translation>The output file is not there any more:</translation>
    </message>
    <message>
        <source>The folder is not there any more:</source>
        <translation>The folder is not there any more:</translation>
    </message>
    <message>
        <source>Show input in file manager</source>
        <translation>Show input in file manager</translation>
    </message>
    <message>
        <source>Show output in file manager</source>
        <translation>Show output in file manager</translation>
    </message>
    <message>
        <source>Kovadle opens files and folders with xdg-open, which is not installed. Please install the package xdg-utils.</source>
        <translation>Kovadle opens files and folders with xdg-open, which is not installed. Please install the package xdg-utils.</translation>
    </message>
    <message>
        <source>This could not be opened:</source>
        <translation>This could not be opened:</translation>
    </message>
    <message>
        <source>Show input in Explorer</source>
        <translation>Show input in Explorer</translation>
    </message>
    <message>
        <source>Show output in Explorer</source>
        <translation>Show output in Explorer</translation>
    </message>
    <message>
        <source>No file manager is set up to show this folder:</source>
        <translation>No file manager is set up to show this folder:</translation>
    </message>
    <message>
        <source>Install a file manager (for example the package nautilus, dolphin or pcmanfm) or choose a default one for folders in the desktop&apos;s settings, then try again.</source>
        <translation>Install a file manager (for example the package nautilus, dolphin or pcmanfm) or choose a default one for folders in the desktop&apos;s settings, then try again.</translation>
    </message>
    <message>
        <source>No video player is set up to play this file:</source>
        <translation>No video player is set up to play this file:</translation>
    </message>
    <message>
        <source>Install a video player (for example the package vlc or mpv) or choose a default player for this kind of file in the desktop&apos;s settings, then try again.</source>
        <translation>Install a video player (for example the package vlc or mpv) or choose a default player for this kind of file in the desktop&apos;s settings, then try again.</translation>
    </message>
    <message>
        <source>The file is not there any more.</source>
        <translation>The file is not there any more.</translation>
    </message>
    <message>
        <source>The program the desktop chose for it failed (xdg-open ended with exit code %1).</source>
        <translation>The program the desktop chose for it failed (xdg-open ended with exit code %1).</translation>
    </message>
</context>
<context>
    <name>JobContextMenu</name>
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
        <translation>Move to Recycle Bin</translation>
    </message>
    <message>
        <source>Delete completely</source>
        <translation>Delete permanently</translation>
    </message>
    <message>
        <source>Empty Recycle Bin</source>
        <translation>Empty Recycle Bin</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Play output</source>
        <translation>Play output</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Resume</translation>
    </message>
</context>
<context>
    <name>JobReason</name>
    <message>
        <source>The encoder could not be started</source>
        <translation>The encoder could not be started</translation>
    </message>
    <message>
        <source>The encoder ended abnormally</source>
        <translation>The encoder ended abnormally</translation>
    </message>
    <message>
        <source>The encoder failed with exit code %1</source>
        <translation>The encoder failed with exit code %1</translation>
    </message>
    <message>
        <source>The encoder wrote no readable video</source>
        <translation>The encoder wrote no readable video</translation>
    </message>
    <message>
        <source>The encoder wrote no readable video: %1</source>
        <translation>The encoder wrote no readable video: %1</translation>
    </message>
    <message>
        <source>The output is shorter than the input (%1 s / %2 s)</source>
        <translation>The output is shorter than the input (%1 s / %2 s)</translation>
    </message>
    <message>
        <source>The output is shorter than the input (%1 s / %2 s): %3</source>
        <translation>The output is shorter than the input (%1 s / %2 s): %3</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
    <message>
        <source>Cannot move the output to %1: %2</source>
        <translation>Cannot move the output to %1: %2</translation>
    </message>
    <message>
        <source>The output was removed or replaced while it was written: %1</source>
        <translation>The output was removed or replaced while it was written: %1</translation>
    </message>
    <message>
        <source>The whole output is kept as %1: it could not be renamed to %2 (%3)</source>
        <translation>The whole output is kept as %1: it could not be renamed to %2 (%3)</translation>
    </message>
    <message>
        <source>The input&apos;s length could not be read to check the output</source>
        <translation>The input&apos;s length could not be read to check the output</translation>
    </message>
    <message>
        <source>The input&apos;s length could not be read to check the output: %1</source>
        <translation>The input&apos;s length could not be read to check the output: %1</translation>
    </message>
    <message>
        <source>The output came out at %1, over its size of %2, also when made again at a lower rate</source>
        <translation>The output came out at %1, over its size of %2, also when made again at a lower rate</translation>
    </message>
    <message>
        <source>This video cannot be made as small as %1: the smallest is %2</source>
        <translation>This video cannot be made as small as %1: the smallest is %2</translation>
    </message>
    <message>
        <source>The size %1 cannot be planned: the video&apos;s length is not known</source>
        <translation>The size %1 cannot be planned: the video&apos;s length is not known</translation>
    </message>
</context>
<context>
    <name>JobRowTexts</name>
    <message>
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Initializing</source>
        <translation>Starting</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Output</translation>
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
    <message>
        <source>Estimating…</source>
        <translation>Estimating…</translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation>Finishing…</translation>
    </message>
    <message>
        <source>%1 left in all</source>
        <translation>%1 left in all</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Again %1</source>
        <translation>Again %1</translation>
    </message>
    <message>
        <source>The output came out at %1, over its size of %2: it is being made again at a lower rate.</source>
        <translation>The output came out at %1, over its size of %2: it is being made again at a lower rate.</translation>
    </message>
</context>
<context>
    <name>JobTable</name>
    <message>
        <source>Time Remaining</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Output file</source>
        <translation>Output file</translation>
    </message>
</context>
<context>
    <name>KnobChoice</name>
    <message>
        <source>Output video quality</source>
        <translation>Output video quality</translation>
    </message>
    <message>
        <source>Fit into a size</source>
        <translation>Fit into a size</translation>
    </message>
</context>
<context>
    <name>NewVersionDialog</name>
    <message>
        <source>Found new version</source>
        <translation>New version available</translation>
    </message>
    <message>
        <source>Do you want to install the new version</source>
        <translation>Install the new version</translation>
    </message>
    <message>
        <source>downloaded new version</source>
        <translation>Downloaded version</translation>
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
        <translation>Not now</translation>
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
        <translation>Queued</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>qlv is in Tencent&apos;s private format and currently not supported</source>
        <translation>QLV is a private format of Tencent Video and is not supported</translation>
    </message>
    <message>
        <source>qsv is a private format of iQiyi and is currently not supported</source>
        <translation>QSV is a private format of iQiyi and is not supported</translation>
    </message>
    <message>
        <source>Non video files are not supported</source>
        <translation>This is not a video file</translation>
    </message>
    <message>
        <source>Not support audio only file</source>
        <translation>Audio-only files are not supported</translation>
    </message>
    <message>
        <source>Resolution larger than 4k are not supported (4k and below are supported)</source>
        <translation>Videos wider than 4K are not supported (4K and below are)</translation>
    </message>
    <message>
        <source>Video width less than 480 are not supported</source>
        <translation>Videos narrower than 480 pixels are not supported</translation>
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
        <translation>Close</translation>
    </message>
    <message>
        <source>Input File</source>
        <translation>Input file</translation>
    </message>
    <message>
        <source>Output File</source>
        <translation>Output file</translation>
    </message>
    <message>
        <source>Output video quality</source>
        <translation>Output video quality</translation>
    </message>
    <message>
        <source>Input file as 100%</source>
        <translation>input = 100%</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Output file format</source>
        <translation>Output format</translation>
    </message>
    <message>
        <source>Input Resolution</source>
        <translation>Input resolution</translation>
    </message>
    <message>
        <source>Output Resolution</source>
        <translation>Output resolution</translation>
    </message>
    <message>
        <source>Input Filesize</source>
        <translation>Input size</translation>
    </message>
    <message>
        <source>Output Filesize(Estimated)</source>
        <translation>Estimated output size</translation>
    </message>
    <message>
        <source>Start Transcoding</source>
        <translation>Start transcoding</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>95%(recommended)</source>
        <translation>95% (recommended)</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Keep every audio track and subtitle</source>
        <translation>Keep every audio track and subtitle</translation>
    </message>
    <message>
        <source>Fit into</source>
        <translation>Fit into</translation>
    </message>
    <message>
        <source>Keep quality 99 %</source>
        <translation>Keep quality 99 %</translation>
    </message>
</context>
<context>
    <name>ShowDeviceID</name>
    <message>
        <source>DeviceID</source>
        <translation>Device ID</translation>
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
        <translation>Copied to the clipboard.</translation>
    </message>
</context>
<context>
    <name>SizeChoice</name>
    <message>
        <source>(1 MB = 1,000,000 bytes)</source>
        <translation>(1 MB = 1,000,000 bytes)</translation>
    </message>
</context>
<context>
    <name>SizePlanText</name>
    <message>
        <source>no audio</source>
        <translation>no audio</translation>
    </message>
    <message>
        <source>audio %1 kbit/s</source>
        <translation>audio %1 kbit/s</translation>
    </message>
    <message>
        <source>audio %1 x %2 kbit/s</source>
        <translation>audio %1 x %2 kbit/s</translation>
    </message>
    <message>
        <source>%1 at %2 fps, video %3 kbit/s, %4</source>
        <translation>%1 at %2 fps, video %3 kbit/s, %4</translation>
    </message>
    <message>
        <source>The input already fits: keep quality 99 %?</source>
        <translation>The input already fits: keep quality 99 %?</translation>
    </message>
    <message>
        <source>No size can be planned: the video&apos;s length is not known.</source>
        <translation>No size can be planned: the video&apos;s length is not known.</translation>
    </message>
    <message>
        <source>Too small: this video cannot be made smaller than %1 MB.</source>
        <translation>Too small: this video cannot be made smaller than %1 MB.</translation>
    </message>
    <message>
        <source>This size buys %1.</source>
        <translation>This size buys %1.</translation>
    </message>
    <message>
        <source>Type a size in MB.</source>
        <translation>Type a size in MB.</translation>
    </message>
    <message>
        <source>at least %1 MB</source>
        <translation>at least %1 MB</translation>
    </message>
    <message>
        <source>length unknown</source>
        <translation>length unknown</translation>
    </message>
</context>
<context>
    <name>TrackSummary</name>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
    <message>
        <source>kept</source>
        <translation>kept</translation>
    </message>
    <message>
        <source>all kept</source>
        <translation>all kept</translation>
    </message>
    <message>
        <source>dropped in %1</source>
        <translation>dropped in %1</translation>
    </message>
    <message>
        <source>only the first is kept (%1 holds one)</source>
        <translation>only the first is kept (%1 holds one)</translation>
    </message>
    <message>
        <source>only number %1 is kept (%2 holds one)</source>
        <translation>only number %1 is kept (%2 holds one)</translation>
    </message>
    <message>
        <source>only the first is kept</source>
        <translation>only the first is kept</translation>
    </message>
    <message>
        <source>only number %1 is kept</source>
        <translation>only number %1 is kept</translation>
    </message>
    <message>
        <source>%1 kept, %2 dropped in %3</source>
        <translation>%1 kept, %2 dropped in %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>1 audio track</source>
        <translation>1 audio track</translation>
    </message>
    <message>
        <source>%1 audio tracks</source>
        <translation>%1 audio tracks</translation>
    </message>
    <message>
        <source>1 subtitle</source>
        <translation>1 subtitle</translation>
    </message>
    <message>
        <source>%1 subtitles</source>
        <translation>%1 subtitles</translation>
    </message>
    <message>
        <source>1 more video stream</source>
        <translation>1 more video stream</translation>
    </message>
    <message>
        <source>%1 more video streams</source>
        <translation>%1 more video streams</translation>
    </message>
    <message>
        <source>dropped</source>
        <translation>dropped</translation>
    </message>
    <message>
        <source>1 cover picture</source>
        <translation>1 cover picture</translation>
    </message>
    <message>
        <source>%1 cover pictures</source>
        <translation>%1 cover pictures</translation>
    </message>
    <message>
        <source>1 data stream</source>
        <translation>1 data stream</translation>
    </message>
    <message>
        <source>%1 data streams</source>
        <translation>%1 data streams</translation>
    </message>
    <message>
        <source>1 attachment</source>
        <translation>1 attachment</translation>
    </message>
    <message>
        <source>%1 attachments</source>
        <translation>%1 attachments</translation>
    </message>
    <message>
        <source>1 other stream</source>
        <translation>1 other stream</translation>
    </message>
    <message>
        <source>%1 other streams</source>
        <translation>%1 other streams</translation>
    </message>
    <message>
        <source>%1 keeps no track languages or titles</source>
        <translation>%1 keeps no track languages or titles</translation>
    </message>
    <message>
        <source>%1 keeps no track languages</source>
        <translation>%1 keeps no track languages</translation>
    </message>
    <message>
        <source>%1 keeps no track titles</source>
        <translation>%1 keeps no track titles</translation>
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
    <name>WaitingLoadingFile</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Checking %1 of %2</source>
        <translation>Checking %1 of %2</translation>
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
        <translation>Recycle Bin</translation>
    </message>
    <message>
        <source>Add Video</source>
        <translation>Add Video</translation>
    </message>
    <message>
        <source>Add Multiple Video</source>
        <translation>Add Videos</translation>
    </message>
    <message>
        <source>Output Dir:</source>
        <translation>Output folder:</translation>
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
        <translation>Supports more than twenty formats</translation>
    </message>
    <message>
        <source>Shutdown computer after transcoding</source>
        <translation>Shut down the computer when transcoding is done</translation>
    </message>
    <message>
        <source>Output Dir</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>Select an output dir</source>
        <translation>Choose the output folder</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Transcode ongoing, please first stop the all transcoding</source>
        <translation>Transcoding is in progress. Please stop all transcoding jobs first</translation>
    </message>
    <message>
        <source>Empty Recycle Bin</source>
        <translation>Empty Recycle Bin</translation>
    </message>
    <message>
        <source>Are you sure to empty the recyle bin</source>
        <translation>Empty the Recycle Bin</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Exit? if yes, all transcoding task will be terminated</source>
        <translation>Quit now? All transcoding jobs will be stopped</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Add Folder</translation>
    </message>
    <message>
        <source>Add videos with the buttons above, or drop video files here.</source>
        <translation>Add videos with the buttons above, or drop video files here.</translation>
    </message>
    <message>
        <source>There are no video files in this folder.</source>
        <translation>There are no video files in this folder.</translation>
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
    <message>
        <source>Pause all</source>
        <translation>Pause all</translation>
    </message>
    <message>
        <source>Pause the running jobs to free the processor, or resume them; while a job is paused, no waiting job starts</source>
        <translation>Pause the running jobs to free the processor, or resume them; while a job is paused, no waiting job starts</translation>
    </message>
    <message>
        <source>Resume all</source>
        <translation>Resume all</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
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
</context>
</TS>

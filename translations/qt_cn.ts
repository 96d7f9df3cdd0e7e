<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CountDownMsgBox</name>
    <message>
        <source>All transcoding tasks have been completed</source>
        <translation>所有转码任务均已完成</translation>
    </message>
    <message>
        <source>seconds to shutdown</source>
        <translation>秒后关机</translation>
    </message>
    <message>
        <source>Shutdown now</source>
        <translation>立即关机</translation>
    </message>
    <message>
        <source>Cancel shutdown</source>
        <translation>取消关机</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Kovadle</source>
        <translation>Kovadle视频转换器</translation>
    </message>
    <message>
        <source>queueing</source>
        <translation>排队中</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>qlv is in Tencent&apos;s private format and currently not supported</source>
        <translation>qlv 是腾讯视频的私有格式，暂不支持</translation>
    </message>
    <message>
        <source>qsv is a private format of iQiyi and is currently not supported</source>
        <translation>qsv 是爱奇艺的私有格式，暂不支持</translation>
    </message>
    <message>
        <source>Non video files are not supported</source>
        <translation>不支持非视频文件</translation>
    </message>
    <message>
        <source>Not support audio only file</source>
        <translation>不支持纯音频文件</translation>
    </message>
    <message>
        <source>Resolution larger than 4k are not supported (4k and below are supported)</source>
        <translation>不支持高于 4K 的分辨率（支持 4K 及以下）</translation>
    </message>
    <message>
        <source>Video width less than 480 are not supported</source>
        <translation>不支持宽度小于 480 的视频</translation>
    </message>
</context>
<context>
    <name>SettingWindow1File</name>
    <message>
        <source>Transcode settings</source>
        <translation>转码设置</translation>
    </message>
    <message>
        <source>Close window</source>
        <translation>关闭窗口</translation>
    </message>
    <message>
        <source>Input File</source>
        <translation>输入文件</translation>
    </message>
    <message>
        <source>Output File</source>
        <translation>输出文件</translation>
    </message>
    <message>
        <source>Output video quality</source>
        <translation>输出视频质量</translation>
    </message>
    <message>
        <source>Input file as 100%</source>
        <translation>以输入文件为100%</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Output file format</source>
        <translation>输出文件格式</translation>
    </message>
    <message>
        <source>Input Resolution</source>
        <translation>输入分辨率</translation>
    </message>
    <message>
        <source>Output Resolution</source>
        <translation>输出分辨率</translation>
    </message>
    <message>
        <source>Input Filesize</source>
        <translation>输入文件大小</translation>
    </message>
    <message>
        <source>Output Filesize(Estimated)</source>
        <translation>输出文件大小(预估)</translation>
    </message>
    <message>
        <source>Start Transcoding</source>
        <translation>开始转码</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>95%(recommended)</source>
        <translation>95%(推荐)</translation>
    </message>
</context>
<context>
    <name>Widget</name>
    <message>
        <source>Transcoding</source>
        <translation>转码中</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>RecycleBin</source>
        <translation>回收站</translation>
    </message>
    <message>
        <source>Add Video</source>
        <translation>添加视频</translation>
    </message>
    <message>
        <source>Add Multiple Video</source>
        <translation>添加多个视频</translation>
    </message>
    <message>
        <source>Output Dir:</source>
        <translation>输出目录:</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>更改</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>Support more than twenty formats</source>
        <translation>支持二十多种格式</translation>
    </message>
    <message>
        <source>Shutdown computer after transcoding</source>
        <translation>转码完成后关机</translation>
    </message>
</context>
</TS>

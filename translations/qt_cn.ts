<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AddVideoFlow</name>
    <message>
        <source>Open file</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>All Video Formats</source>
        <translation>所有视频格式</translation>
    </message>
    <message>
        <source>all files</source>
        <translation>所有文件</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The output file cannot be created</source>
        <translation>无法创建输出文件</translation>
    </message>
    <message>
        <source>The job cannot be saved in its folder</source>
        <translation>无法在任务文件夹中保存该任务</translation>
    </message>
    <message>
        <source>The file does not exist</source>
        <translation>文件不存在</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Open Official Website</source>
        <translation>打开官方网站</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>DeviceID</source>
        <translation>设备ID</translation>
    </message>
    <message>
        <source>Customer Support</source>
        <translation>客户支持</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言 (Language)</translation>
    </message>
    <message>
        <source>Applies from the next start</source>
        <translation>下次启动时生效</translation>
    </message>
    <message>
        <source>Sign-in is not available in this edition of %1.</source>
        <translation>此版本的%1暂不支持登录。</translation>
    </message>
    <message>
        <source>If you&apos;re having a problem with our service and need help,go to</source>
        <translation>如果您在使用中遇到问题需要帮助，请联系</translation>
    </message>
    <message>
        <source>Support Wechat</source>
        <translation>客服微信</translation>
    </message>
    <message>
        <source>Support Email</source>
        <translation>客服邮箱</translation>
    </message>
    <message>
        <source>How to get DeviceID? Menu-&gt;DeviceID</source>
        <translation>如何获取设备ID？菜单-&gt;设备ID</translation>
    </message>
    <message>
        <source>Please help to provide DeviceID when you contact customer service</source>
        <translation>联系客服时请提供您的设备ID</translation>
    </message>
    <message>
        <source>simplify complex audio and video transcoding parameters to only video quality by percentage. Through complex calculations, select the optimal transcoding parameters for users, greatly reducing the complexity of transcoding and allowing users to transcode faster and simpler.</source>
        <translation>把复杂的音视频转码参数简化为一个百分比表示的视频质量。经过精确计算，为用户选出最合适的转码参数，大大降低转码的难度，让转码更快、更简单</translation>
    </message>
    <message>
        <source>Support various formats transcode to mp4, make transcoding easier and simpler</source>
        <translation>支持多种格式转码为 MP4，让转码更轻松、更简单</translation>
    </message>
    <message>
        <source>The new language applies from the next start of %1.</source>
        <translation>新的界面语言将在下次启动%1时生效。</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Kovadle is already running</source>
        <translation>程序己运行</translation>
    </message>
</context>
<context>
    <name>BatchAddFlow</name>
    <message>
        <source>Open files</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Add the videos of a folder</source>
        <translation>添加文件夹中的视频</translation>
    </message>
    <message>
        <source>These files were not added:</source>
        <translation>以下文件没有添加：</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>另有 %1 个文件</translation>
    </message>
    <message>
        <source>The file does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Include subfolders</source>
        <translation>包括子文件夹</translation>
    </message>
</context>
<context>
    <name>BatchSettingsDialog</name>
    <message>
        <source>Transcode settings</source>
        <translation>转码设置</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>质量</translation>
    </message>
    <message>
        <source>Estimated size</source>
        <translation>预估大小</translation>
    </message>
    <message>
        <source>95%(recommended)</source>
        <translation>95%(推荐)</translation>
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
        <source>Output video quality</source>
        <translation>输出视频质量</translation>
    </message>
    <message>
        <source>Input file as 100%</source>
        <translation>以输入文件为100%</translation>
    </message>
    <message>
        <source>Output file format</source>
        <translation>输出文件格式</translation>
    </message>
    <message>
        <source>* These videos do not offer %1%: each uses the nearest lower quality it offers (or its lowest).</source>
        <translation>* 这些视频没有 %1% 可选，各自使用可选的最接近的较低质量（没有时用其最低质量）。</translation>
    </message>
    <message>
        <source>Estimated total output size</source>
        <translation>预估输出总大小</translation>
    </message>
    <message>
        <source>Videos: %1    Output folder: %2</source>
        <translation>视频：%1 个    输出目录：%2</translation>
    </message>
    <message>
        <source>Keep every audio track and subtitle</source>
        <translation>保留所有音轨和字幕</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>Every video keeps all its tracks.</source>
        <translation>每个视频都保留全部轨道。</translation>
    </message>
    <message>
        <source>and %1 more videos that drop tracks</source>
        <translation>另有 %1 个视频会丢弃部分轨道</translation>
    </message>
    <message>
        <source>Not every track is kept:</source>
        <translation>并非所有轨道都会保留：</translation>
    </message>
    <message>
        <source>Fit each video into</source>
        <translation>每个视频压缩到</translation>
    </message>
    <message>
        <source>Quality bought</source>
        <translation>可得质量</translation>
    </message>
    <message>
        <source>Type a size in MB.</source>
        <translation>请输入大小（MB）。</translation>
    </message>
    <message>
        <source>Videos that cannot be made this small: %1. Each needs at least the size shown.</source>
        <translation>无法压缩到这么小的视频：%1 个。每个视频至少需要所示大小。</translation>
    </message>
    <message>
        <source>* These videos already fit: they are made at quality 99 %.</source>
        <translation>* 这些视频已经小于该大小：将以 99% 质量转码。</translation>
    </message>
</context>
<context>
    <name>CompletedFigures</name>
    <message>
        <source>s</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Actual Filesize</source>
        <translation>实际文件大小</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>已不存在</translation>
    </message>
    <message>
        <source>Actual Duration</source>
        <translation>实际时长</translation>
    </message>
    <message>
        <source>Actual Bitrate</source>
        <translation>实际码率</translation>
    </message>
    <message>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <source>Encoding Time</source>
        <translation>转码用时</translation>
    </message>
    <message>
        <source>Encoding Speed</source>
        <translation>转码速度</translation>
    </message>
    <message>
        <source>Target Size</source>
        <translation>目标大小</translation>
    </message>
    <message>
        <source>First Output</source>
        <translation>首次输出</translation>
    </message>
    <message>
        <source>%1, over the size: made again</source>
        <translation>%1，超过目标大小：已重新转码</translation>
    </message>
</context>
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
    <name>DeleteConfirmation</name>
    <message>
        <source>Are you sure to completely delete the transcoding task</source>
        <translation>确定要彻底删除这个转码任务吗</translation>
    </message>
    <message>
        <source>OK, delete now</source>
        <translation>确定，立即删除</translation>
    </message>
    <message>
        <source>Cancel, do not delete</source>
        <translation>取消，不删除</translation>
    </message>
    <message>
        <source>Also delete the transcoding output files</source>
        <translation>同时删除转码输出的文件</translation>
    </message>
    <message>
        <source>kept: another job&apos;s output</source>
        <translation>保留：另一个任务的输出文件</translation>
    </message>
    <message>
        <source>kept: not the file this job made</source>
        <translation>保留：不是此任务生成的文件</translation>
    </message>
    <message>
        <source>there is no output file</source>
        <translation>没有输出文件</translation>
    </message>
    <message>
        <source>The output file cannot be moved to the trash. Delete it for good?</source>
        <translation>无法将输出文件移到回收站。要永久删除它吗？</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Transcoding finished</source>
        <translation>转码完成</translation>
    </message>
    <message>
        <source>%1 is ready.</source>
        <translation>%1 已转码完成。</translation>
    </message>
    <message>
        <source>Transcoding failed</source>
        <translation>转码失败</translation>
    </message>
</context>
<context>
    <name>DesktopOpener</name>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The output file is not there any more:</source>
        <translation>输出文件已经不存在：</translation>
    </message>
    <message>
        <source>The folder is not there any more:</source>
        <translation>文件夹已经不存在：</translation>
    </message>
    <message>
        <source>Show input in file manager</source>
        <translation>在文件管理器中显示源文件</translation>
    </message>
    <message>
        <source>Show output in file manager</source>
        <translation>在文件管理器中显示输出文件</translation>
    </message>
    <message>
        <source>Kovadle opens files and folders with xdg-open, which is not installed. Please install the package xdg-utils.</source>
        <translation>Kovadle 用 xdg-open 打开文件和文件夹，但系统中没有安装它。请安装 xdg-utils 软件包。</translation>
    </message>
    <message>
        <source>This could not be opened:</source>
        <translation>无法打开：</translation>
    </message>
    <message>
        <source>Show input in Explorer</source>
        <translation>在文件夹中显示源文件</translation>
    </message>
    <message>
        <source>Show output in Explorer</source>
        <translation>在文件夹中显示输出文件</translation>
    </message>
    <message>
        <source>No file manager is set up to show this folder:</source>
        <translation>没有可显示此文件夹的文件管理器：</translation>
    </message>
    <message>
        <source>Install a file manager (for example the package nautilus, dolphin or pcmanfm) or choose a default one for folders in the desktop&apos;s settings, then try again.</source>
        <translation>请安装一个文件管理器（例如软件包 nautilus、dolphin 或 pcmanfm），或在桌面设置中为文件夹选择默认程序，然后重试。</translation>
    </message>
    <message>
        <source>No video player is set up to play this file:</source>
        <translation>没有可播放此文件的视频播放器：</translation>
    </message>
    <message>
        <source>Install a video player (for example the package vlc or mpv) or choose a default player for this kind of file in the desktop&apos;s settings, then try again.</source>
        <translation>请安装一个视频播放器（例如软件包 vlc 或 mpv），或在桌面设置中为此类文件选择默认播放器，然后重试。</translation>
    </message>
    <message>
        <source>The file is not there any more.</source>
        <translation>文件已不存在。</translation>
    </message>
    <message>
        <source>The program the desktop chose for it failed (xdg-open ended with exit code %1).</source>
        <translation>桌面为它选择的程序运行失败（xdg-open 退出码 %1）。</translation>
    </message>
</context>
<context>
    <name>JobContextMenu</name>
    <message>
        <source>Transcode again</source>
        <translation>重新转码</translation>
    </message>
    <message>
        <source>Stop transcoding</source>
        <translation>停止转码</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Delete completely</source>
        <translation>彻底删除</translation>
    </message>
    <message>
        <source>Empty Recycle Bin</source>
        <translation>清空回收站</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>属性</translation>
    </message>
    <message>
        <source>Play output</source>
        <translation>播放输出文件</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>还原</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>继续</translation>
    </message>
</context>
<context>
    <name>JobReason</name>
    <message>
        <source>The encoder could not be started</source>
        <translation>无法启动编码器</translation>
    </message>
    <message>
        <source>The encoder ended abnormally</source>
        <translation>编码器异常结束</translation>
    </message>
    <message>
        <source>The encoder failed with exit code %1</source>
        <translation>编码器执行失败，退出码 %1</translation>
    </message>
    <message>
        <source>The encoder wrote no readable video</source>
        <translation>编码器没有写出可读取的视频</translation>
    </message>
    <message>
        <source>The encoder wrote no readable video: %1</source>
        <translation>编码器没有写出可读取的视频：%1</translation>
    </message>
    <message>
        <source>The output is shorter than the input (%1 s / %2 s)</source>
        <translation>输出文件比输入文件短（%1 秒 / %2 秒）</translation>
    </message>
    <message>
        <source>The output is shorter than the input (%1 s / %2 s): %3</source>
        <translation>输出文件比输入文件短（%1 秒 / %2 秒）：%3</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>无法创建 %1：%2</translation>
    </message>
    <message>
        <source>Cannot move the output to %1: %2</source>
        <translation>无法将输出文件移动到 %1：%2</translation>
    </message>
    <message>
        <source>The output was removed or replaced while it was written: %1</source>
        <translation>输出文件在写入时被删除或替换：%1</translation>
    </message>
    <message>
        <source>The whole output is kept as %1: it could not be renamed to %2 (%3)</source>
        <translation>完整的输出文件保留为 %1：无法重命名为 %2（%3）</translation>
    </message>
    <message>
        <source>The input&apos;s length could not be read to check the output</source>
        <translation>无法读取输入文件的时长，因此无法检查输出文件</translation>
    </message>
    <message>
        <source>The input&apos;s length could not be read to check the output: %1</source>
        <translation>无法读取输入文件的时长，因此无法检查输出文件：%1</translation>
    </message>
    <message>
        <source>The output came out at %1, over its size of %2, also when made again at a lower rate</source>
        <translation>输出为 %1，超过目标大小 %2，以更低码率重新转码后仍然超过</translation>
    </message>
    <message>
        <source>This video cannot be made as small as %1: the smallest is %2</source>
        <translation>此视频无法压缩到 %1：最小为 %2</translation>
    </message>
    <message>
        <source>The size %1 cannot be planned: the video&apos;s length is not known</source>
        <translation>无法按大小 %1 规划：视频时长未知</translation>
    </message>
</context>
<context>
    <name>JobRowTexts</name>
    <message>
        <source>Stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>Initializing</source>
        <translation>初始化中</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>已不存在</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>Stopping</source>
        <translation>正在停止</translation>
    </message>
    <message>
        <source>In another Kovadle</source>
        <translation>在其他Kovadle中</translation>
    </message>
    <message>
        <source>Another Kovadle (a second window or kovadle-cli) is transcoding this job. It can be changed here once that one has finished with it.</source>
        <translation>另一个Kovadle（另一个窗口或kovadle-cli）正在转码此任务。待其处理完毕后，才能在这里修改。</translation>
    </message>
    <message>
        <source>Estimating…</source>
        <translation>估算中…</translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation>即将完成…</translation>
    </message>
    <message>
        <source>%1 left in all</source>
        <translation>全部剩余 %1</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Again %1</source>
        <translation>重新转码 %1</translation>
    </message>
    <message>
        <source>The output came out at %1, over its size of %2: it is being made again at a lower rate.</source>
        <translation>输出为 %1，超过目标大小 %2：正在以更低码率重新转码。</translation>
    </message>
</context>
<context>
    <name>JobTable</name>
    <message>
        <source>Time Remaining</source>
        <translation>剩余时间</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>Output file</source>
        <translation>输出文件</translation>
    </message>
</context>
<context>
    <name>KnobChoice</name>
    <message>
        <source>Output video quality</source>
        <translation>输出视频质量</translation>
    </message>
    <message>
        <source>Fit into a size</source>
        <translation>压缩到指定大小</translation>
    </message>
</context>
<context>
    <name>NewVersionDialog</name>
    <message>
        <source>Found new version</source>
        <translation>发现新版本</translation>
    </message>
    <message>
        <source>Do you want to install the new version</source>
        <translation>是否安装新版本</translation>
    </message>
    <message>
        <source>downloaded new version</source>
        <translation>已下载的新版本</translation>
    </message>
    <message>
        <source>Current version</source>
        <translation>当前版本</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>安装</translation>
    </message>
    <message>
        <source>Not install</source>
        <translation>暂不安装</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
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
    <message>
        <source>Only regular files can be transcoded, not folders, pipes or devices</source>
        <translation>只能转码普通文件，不能转码文件夹、管道或设备</translation>
    </message>
    <message>
        <source>The file name is not valid UTF-8 and cannot be read, please rename the file</source>
        <translation>文件名不是有效的 UTF-8 编码，无法读取，请重命名该文件</translation>
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
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>Keep every audio track and subtitle</source>
        <translation>保留所有音轨和字幕</translation>
    </message>
    <message>
        <source>Fit into</source>
        <translation>压缩到</translation>
    </message>
    <message>
        <source>Keep quality 99 %</source>
        <translation>保持 99% 质量</translation>
    </message>
</context>
<context>
    <name>ShowDeviceID</name>
    <message>
        <source>DeviceID</source>
        <translation>设备ID</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Copied to the clipboard</source>
        <translation>已复制到剪贴板</translation>
    </message>
</context>
<context>
    <name>SizeChoice</name>
    <message>
        <source>(1 MB = 1,000,000 bytes)</source>
        <translation>（1 MB = 1,000,000 字节）</translation>
    </message>
</context>
<context>
    <name>SizePlanText</name>
    <message>
        <source>no audio</source>
        <translation>无音频</translation>
    </message>
    <message>
        <source>audio %1 kbit/s</source>
        <translation>音频 %1 kbit/s</translation>
    </message>
    <message>
        <source>audio %1 x %2 kbit/s</source>
        <translation>音频 %1 × %2 kbit/s</translation>
    </message>
    <message>
        <source>%1 at %2 fps, video %3 kbit/s, %4</source>
        <translation>%1，%2 fps，视频 %3 kbit/s，%4</translation>
    </message>
    <message>
        <source>The input already fits: keep quality 99 %?</source>
        <translation>输入文件已经小于该大小：保持 99% 质量？</translation>
    </message>
    <message>
        <source>No size can be planned: the video&apos;s length is not known.</source>
        <translation>无法按大小规划：视频时长未知。</translation>
    </message>
    <message>
        <source>Too small: this video cannot be made smaller than %1 MB.</source>
        <translation>太小：此视频无法压缩到 %1 MB 以下。</translation>
    </message>
    <message>
        <source>This size buys %1.</source>
        <translation>该大小可得：%1。</translation>
    </message>
    <message>
        <source>Type a size in MB.</source>
        <translation>请输入大小（MB）。</translation>
    </message>
    <message>
        <source>at least %1 MB</source>
        <translation>至少 %1 MB</translation>
    </message>
    <message>
        <source>length unknown</source>
        <translation>时长未知</translation>
    </message>
</context>
<context>
    <name>TrackSummary</name>
    <message>
        <source>; </source>
        <translation>；</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>保留</translation>
    </message>
    <message>
        <source>all kept</source>
        <translation>全部保留</translation>
    </message>
    <message>
        <source>dropped in %1</source>
        <translation>%1 格式不保留</translation>
    </message>
    <message>
        <source>only the first is kept (%1 holds one)</source>
        <translation>只保留第一条（%1 只能容纳一条）</translation>
    </message>
    <message>
        <source>only number %1 is kept (%2 holds one)</source>
        <translation>只保留第 %1 条（%2 只能容纳一条）</translation>
    </message>
    <message>
        <source>only the first is kept</source>
        <translation>只保留第一条</translation>
    </message>
    <message>
        <source>only number %1 is kept</source>
        <translation>只保留第 %1 条</translation>
    </message>
    <message>
        <source>%1 kept, %2 dropped in %3</source>
        <translation>保留 %1 条，%2 条在 %3 格式中丢弃</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>1 audio track</source>
        <translation>1 条音轨</translation>
    </message>
    <message>
        <source>%1 audio tracks</source>
        <translation>%1 条音轨</translation>
    </message>
    <message>
        <source>1 subtitle</source>
        <translation>1 条字幕</translation>
    </message>
    <message>
        <source>%1 subtitles</source>
        <translation>%1 条字幕</translation>
    </message>
    <message>
        <source>1 more video stream</source>
        <translation>另 1 路视频流</translation>
    </message>
    <message>
        <source>%1 more video streams</source>
        <translation>另 %1 路视频流</translation>
    </message>
    <message>
        <source>dropped</source>
        <translation>丢弃</translation>
    </message>
    <message>
        <source>1 cover picture</source>
        <translation>1 张封面图片</translation>
    </message>
    <message>
        <source>%1 cover pictures</source>
        <translation>%1 张封面图片</translation>
    </message>
    <message>
        <source>1 data stream</source>
        <translation>1 路数据流</translation>
    </message>
    <message>
        <source>%1 data streams</source>
        <translation>%1 路数据流</translation>
    </message>
    <message>
        <source>1 attachment</source>
        <translation>1 个附件</translation>
    </message>
    <message>
        <source>%1 attachments</source>
        <translation>%1 个附件</translation>
    </message>
    <message>
        <source>1 other stream</source>
        <translation>1 路其他流</translation>
    </message>
    <message>
        <source>%1 other streams</source>
        <translation>%1 路其他流</translation>
    </message>
    <message>
        <source>%1 keeps no track languages or titles</source>
        <translation>%1 格式不保存轨道的语言和标题</translation>
    </message>
    <message>
        <source>%1 keeps no track languages</source>
        <translation>%1 格式不保存轨道的语言</translation>
    </message>
    <message>
        <source>%1 keeps no track titles</source>
        <translation>%1 格式不保存轨道的标题</translation>
    </message>
</context>
<context>
    <name>VersionExpiredDialog</name>
    <message>
        <source>Version expired</source>
        <translation>版本过期提醒</translation>
    </message>
    <message>
        <source>&lt;p&gt;This version of %1 has expired and can no longer be used.&lt;/p&gt;&lt;p&gt;Please download the latest version from the official website:&lt;br&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;&lt;p&gt;%1 is free. Download it only from the official website, so that you never get a modified copy.&lt;/p&gt;</source>
        <translation>&lt;p&gt;您使用的%1版本已过期，无法继续使用。&lt;/p&gt;&lt;p&gt;请到官方网站下载最新版本：&lt;br&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;&lt;p&gt;%1是免费软件，请只从官方网站下载，以免下载到被篡改的版本。&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Exit the program</source>
        <translation>退出软件</translation>
    </message>
</context>
<context>
    <name>WaitingLoadingFile</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Checking %1 of %2</source>
        <translation>正在检查第 %1 个，共 %2 个</translation>
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
    <message>
        <source>Output Dir</source>
        <translation>输出目录</translation>
    </message>
    <message>
        <source>Select an output dir</source>
        <translation>选择输出目录</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Transcode ongoing, please first stop the all transcoding</source>
        <translation>还有转码任务在进行，请先停止所有转码</translation>
    </message>
    <message>
        <source>Empty Recycle Bin</source>
        <translation>清空回收站</translation>
    </message>
    <message>
        <source>Are you sure to empty the recyle bin</source>
        <translation>确定要清空回收站吗</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>属性</translation>
    </message>
    <message>
        <source>Exit? if yes, all transcoding task will be terminated</source>
        <translation>确定退出吗？退出后所有转码任务都将被终止</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>添加文件夹</translation>
    </message>
    <message>
        <source>Add videos with the buttons above, or drop video files here.</source>
        <translation>用上方的按钮添加视频，或者把视频文件拖到这里。</translation>
    </message>
    <message>
        <source>There are no video files in this folder.</source>
        <translation>这个文件夹中没有视频文件。</translation>
    </message>
    <message>
        <source>no reason was recorded</source>
        <translation>没有记录原因</translation>
    </message>
    <message>
        <source>Kovadle could not save its list of jobs, so changes may be missing at the next start. Free some disk space or check the folder&apos;s permissions.</source>
        <translation>Kovadle无法保存任务列表，下次启动时部分更改可能会丢失。请释放磁盘空间或检查文件夹权限。</translation>
    </message>
    <message>
        <source>Stopping the transcodes</source>
        <translation>正在停止转码任务</translation>
    </message>
    <message>
        <source>Pause all</source>
        <translation>全部暂停</translation>
    </message>
    <message>
        <source>Pause the running jobs to free the processor, or resume them; while a job is paused, no waiting job starts</source>
        <translation>暂停正在转码的任务以释放处理器，或让它们继续；有任务暂停时，排队的任务不会开始</translation>
    </message>
    <message>
        <source>Resume all</source>
        <translation>全部继续</translation>
    </message>
</context>
</TS>

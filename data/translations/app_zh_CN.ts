<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CTextCheckerEdit</name>
    <message>
        <location filename="../../src/spelling/ctextcheckeredit.cpp" line="+24"/>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Cut</source>
        <translation>剪切(&amp;T)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Paste</source>
        <translation>粘贴(&amp;P)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Add to dictionary</source>
        <translation>添加到词典</translation>
    </message>
</context>
<context>
    <name>ControlButton</name>
    <message>
        <location filename="../../src/player/controlbutton.cpp" line="+99"/>
        <source>play/pause</source>
        <translation>播放/暂停</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>forward</source>
        <translation>快进</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>backward</source>
        <translation>快退</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune start left</source>
        <translation>起点向前微调</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>set loop start</source>
        <translation>设置循环起点</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune start right</source>
        <translation>起点向后微调</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune end left</source>
        <translation>终点向前微调</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>set loop end</source>
        <translation>设置循环终点</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune end right</source>
        <translation>终点向后微调</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>cancel loop</source>
        <translation>取消循环</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>reset loop from begin to current start</source>
        <translation>循环改为从开头到当前起点</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>reset loop from current end to end</source>
        <translation>循环改为从当前终点到结尾</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>volume silent</source>
        <translation>静音</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>volume control</source>
        <translation>音量调节</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>editor</source>
        <translation>听写编辑器</translation>
    </message>
</context>
<context>
    <name>Media</name>
    <message>
        <location filename="../../src/media/media.cpp" line="+34"/>
        <source>Error opening %1:
Error while parsing header.</source>
        <translation>打开 %1 出错：
解析文件头时出错。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Error opening %1:
Unknown format.</source>
        <translation>打开 %1 出错：
未知格式。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error opening %1:
Incorrect numbered image sequence syntax.</source>
        <translation>打开 %1 出错：
编号图像序列的写法不正确。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error opening %1:
Memory allocation error.</source>
        <translation>打开 %1 出错：
内存分配错误。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Error opening %1:
I/O error. Usually that means that input file is truncated and/or corrupted.</source>
        <translation>打开 %1 出错：
输入/输出错误。通常表示输入文件不完整或已损坏。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Error opening %1:
No such file.</source>
        <translation>打开 %1 出错：
文件不存在。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error opening %1:
Couldn&apos;t open the file.</source>
        <translation>打开 %1 出错：
无法打开文件。</translation>
    </message>
    <message>
        <location line="+165"/>
        <source>Error opening %1:
Couldn&apos;t find any stream information in this file.</source>
        <translation>打开 %1 出错：
在此文件中找不到任何流信息。</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>Error opening %1:
Cannot allocate pictures buffer.</source>
        <translation>打开 %1 出错：
无法分配图像缓冲区。</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Error opening %1:
Cannot create a suitable conversion context to RGB.</source>
        <translation>打开 %1 出错：
无法创建转换为 RGB 的上下文。</translation>
    </message>
    <message>
        <location line="+118"/>
        <source>Error reading %1 !

Logs;
%2Decoding interupted. </source>
        <translation>读取 %1 出错！

日志：
%2解码中断。</translation>
    </message>
</context>
<context>
    <name>Vk</name>
    <message>
        <location filename="../../src/player/vk.cpp" line="+61"/>
        <location line="+110"/>
        <location line="+50"/>
        <source>Vorlyn Player</source>
        <translation>Vorlyn 播放器</translation>
    </message>
    <message>
        <location line="-91"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Full Screen</source>
        <translation>全屏</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Keep Aspect Ratio</source>
        <translation>保持宽高比</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Mi&amp;nimize</source>
        <translation>最小化(&amp;N)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Restore</source>
        <translation>还原(&amp;R)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Media (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv *.wma *.wmv)</source>
        <translation>媒体文件 (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv *.wma *.wmv)</translation>
    </message>
</context>
</TS>

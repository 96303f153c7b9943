<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CTextCheckerEdit</name>
    <message>
        <location filename="../../src/spelling/ctextcheckeredit.cpp" line="+28"/>
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
        <location filename="../../src/player/controlbutton.cpp" line="+105"/>
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
        <location line="+5"/>
        <source>volume control</source>
        <translation>音量调节</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>editor</source>
        <translation>听写编辑器</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1x</source>
        <translation>%1x</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <location line="+83"/>
        <source>speed: %1 slower, %2 faster, %3 back to 1x</source>
        <translation>播放速度：%1 减慢，%2 加快，%3 恢复 1x</translation>
    </message>
</context>
<context>
    <name>DiffDialog</name>
    <message>
        <location filename="../../src/diff/diffdialog.ui" line="+14"/>
        <source>对比听写与参考原文</source>
        <translation>对比听写与参考原文</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>导入A</source>
        <translation>导入A</translation>
    </message>
    <message>
        <location line="-14"/>
        <source>参考原文 — 对比文本A：
请输入或[Ctrl+V]粘贴或点击[导入A]按钮导入纯文本文件</source>
        <translation>参考原文 — 对比文本A：
请输入或[Ctrl+V]粘贴或点击[导入A]按钮导入纯文本文件</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>你的听写 — 对比文本B：
请输入或[Ctrl+V]粘贴或点击[导入B]按钮导入纯文本文件</source>
        <translation>你的听写 — 对比文本B：
请输入或[Ctrl+V]粘贴或点击[导入B]按钮导入纯文本文件</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>导入B</source>
        <translation>导入B</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>比较</source>
        <translation>比较</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>修改建议：</source>
        <translation>修改建议：</translation>
    </message>
    <message>
        <location filename="../../src/diff/diffdialog.cpp" line="+57"/>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <location filename="../../src/diff/diffdialog.ui" line="+19"/>
        <source>逐字母对比</source>
        <translation>逐字母对比</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>逐词对比</source>
        <translation>逐词对比</translation>
    </message>
    <message>
        <location filename="../../src/diff/diffdialog.cpp" line="+72"/>
        <source>Word accuracy: %1%</source>
        <translation>单词正确率：%1%</translation>
    </message>
</context>
<context>
    <name>DocumentFile</name>
    <message>
        <location filename="../../src/editor/documentfile.cpp" line="+47"/>
        <source>untitled.html</source>
        <translation>未命名.html</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1[*] - %2</source>
        <translation>%1[*] - %2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rich Text</source>
        <translation>富文本</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+34"/>
        <location line="+46"/>
        <source>Application</source>
        <translation>应用程序</translation>
    </message>
    <message>
        <location line="-79"/>
        <source>The document has been modified.
Do you want to save your changes?</source>
        <translation>文档已被修改。
是否保存更改？</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Open File...</source>
        <translation>打开文件...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>HTML-Files (*.htm *.html);;All Files (*)</source>
        <translation>HTML 文件 (*.htm *.html);;所有文件 (*)</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Cannot open %1.</source>
        <translation>无法打开 %1。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Documents can be saved as .html, .htm, .odt or .txt files.</source>
        <translation>文档只能保存为 .html、.htm、.odt 或 .txt 文件。</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Cannot save the document as %1:
%2</source>
        <translation>无法将文档保存为 %1：
%2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save as...</source>
        <translation>另存为...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rich text (*.rtf);;Text files (*.txt);;ODF files (*.odt);;HTML-Files (*.htm *.html);;All Files (*)</source>
        <translation>富文本 (*.rtf);;文本文件 (*.txt);;ODF 文件 (*.odt);;HTML 文件 (*.htm *.html);;所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>DrillBar</name>
    <message>
        <location filename="../../src/player/drillbar.cpp" line="+187"/>
        <source>%1: a hint, %2: the whole sentence</source>
        <translation>%1：提示，%2：整句</translation>
    </message>
    <message>
        <location line="-94"/>
        <source>Done: Alt+A again, Alt+N next sentence</source>
        <translation>完成：Alt+A 再听一遍，Alt+N 下一句</translation>
    </message>
    <message numerus="yes">
        <location line="+24"/>
        <source>Review, %n more due after this: write the sentence, then %1 checks it</source>
        <translation>
            <numerusform>复习：此后还有 %n 项到期。写下这句话，然后按 %1 检查</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>Review: %1 of %n item(s) recalled; %2 goes on</source>
        <translation>
            <numerusform>复习：%n 项中记住了 %1 项；按 %2 继续</numerusform>
        </translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Repetition %1</source>
        <translation>第 %1 遍</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repetition %1 of %2</source>
        <translation>第 %1 遍，共 %2 遍</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Type what you heard; the play key plays it again</source>
        <translation>写下你听到的内容；按播放键再听一遍</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Type what you heard: %1 s</source>
        <translation>写下你听到的内容：%1 秒</translation>
    </message>
</context>
<context>
    <name>DrillSettingsDialog</name>
    <message>
        <location filename="../../src/player/drillsettingsdialog.cpp" line="+78"/>
        <source>Drill Settings</source>
        <translation>听写练习设置</translation>
    </message>
</context>
<context>
    <name>DrillSettingsForm</name>
    <message>
        <location line="-53"/>
        <source>until I move on</source>
        <translation>直到我换下一句</translation>
    </message>
    <message>
        <location line="+1"/>
        <source> times</source>
        <translation> 遍</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play each sentence</source>
        <translation>每句播放</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>until I press the play key</source>
        <translation>直到我按播放键</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+25"/>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <location line="-23"/>
        <source>Pause to type</source>
        <translation>停顿书写</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>as the lesson</source>
        <translation>与课程相同</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>First time at</source>
        <translation>第一遍的速度</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>wait</source>
        <translation>等待</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>go on to the next sentence</source>
        <translation>继续下一句</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>After the last time</source>
        <translation>最后一遍之后</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Playing on after a pause goes back</source>
        <translation>暂停后继续播放时回退</translation>
    </message>
</context>
<context>
    <name>EditorLink</name>
    <message>
        <location filename="../../src/player/editorlink.cpp" line="+51"/>
        <source>Some files were not opened:</source>
        <translation>有些文件没有打开：</translation>
    </message>
    <message>
        <location line="+52"/>
        <location line="+17"/>
        <source>Check</source>
        <translation>检查</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>This sentence has no subtitle text to check against.</source>
        <translation>这个句子没有可以对照检查的字幕文本。</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>This lesson&apos;s sentences have no text to check against.</source>
        <translation>本课的句子没有可供核对的文本。</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Whole Transcript Check</source>
        <translation>核对全文</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>None of the lesson&apos;s sentences was found in the editor.</source>
        <translation>编辑器中没有找到本课的任何句子。</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n sentence(s) of %1 checked, mean accuracy %2%.</source>
        <translation>
            <numerusform>已核对 %n 句（共 %1 句），平均正确率 %2%。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1%  sentence %2 (%3): %4</source>
        <translation>%1%  第 %2 句（%3）：%4</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Weakest:</source>
        <translation>最弱的句子：</translation>
    </message>
</context>
<context>
    <name>FormatActions</name>
    <message>
        <location filename="../../src/editor/formatactions.cpp" line="+32"/>
        <location line="+70"/>
        <source>Format Actions</source>
        <translation>格式操作</translation>
    </message>
    <message>
        <location line="-55"/>
        <source>&amp;Bold</source>
        <translation>粗体(&amp;B)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Italic</source>
        <translation>斜体(&amp;I)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Underline</source>
        <translation>下划线(&amp;U)</translation>
    </message>
    <message>
        <location line="+19"/>
        <location line="+11"/>
        <source>&amp;Left</source>
        <translation>左对齐(&amp;L)</translation>
    </message>
    <message>
        <location line="-10"/>
        <location line="+7"/>
        <source>C&amp;enter</source>
        <translation>居中(&amp;E)</translation>
    </message>
    <message>
        <location line="-4"/>
        <location line="+3"/>
        <source>&amp;Right</source>
        <translation>右对齐(&amp;R)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Justify</source>
        <translation>两端对齐(&amp;J)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Color...</source>
        <translation>颜色(&amp;C)...</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bullet List (Disc)</source>
        <translation>项目符号列表（实心圆）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bullet List (Circle)</source>
        <translation>项目符号列表（空心圆）</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bullet List (Square)</source>
        <translation>项目符号列表（方块）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordered List (Decimal)</source>
        <translation>编号列表（数字）</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ordered List (Alpha lower)</source>
        <translation>编号列表（小写字母）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordered List (Alpha upper)</source>
        <translation>编号列表（大写字母）</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ordered List (Roman lower)</source>
        <translation>编号列表（小写罗马数字）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordered List (Roman upper)</source>
        <translation>编号列表（大写罗马数字）</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <location filename="../../src/player/helpwindow.cpp" line="+28"/>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>More on the home page: &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;</source>
        <translation>更多内容请见主页：&lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>The guide %1 is missing.</source>
        <translation>找不到指南 %1。</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>%1 (also in the editor)</source>
        <translation>%1（在编辑器中也可用）</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keys in the player window</source>
        <translation>播放器窗口中的按键</translation>
    </message>
</context>
<context>
    <name>KeyListDialog</name>
    <message>
        <location filename="../../src/player/keylistdialog.cpp" line="+13"/>
        <source>Keys</source>
        <translation>按键</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>In the player</source>
        <translation>在播放器中</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>In the editor</source>
        <translation>在编辑器中</translation>
    </message>
</context>
<context>
    <name>LessonController</name>
    <message>
        <location filename="../../src/lesson/lessonmemory.cpp" line="+99"/>
        <source>The score could not be kept: %1</source>
        <translation>无法保存得分：%1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>What the check missed could not be kept for review: %1</source>
        <translation>本次核对的错漏未能保存以供复习：%1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The check could not be logged for your progress: %1</source>
        <translation>无法把这次检查记入学习进度：%1</translation>
    </message>
    <message>
        <location filename="../../src/lesson/lessonsentences.cpp" line="+104"/>
        <source>There is no text to use as the lesson text.</source>
        <translation>没有可用作课文的文字。</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot keep the pasted text in %1: %2</source>
        <translation>无法将粘贴的文字保存到 %1：%2</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>%1 gives no sentences:</source>
        <translation>%1 中没有可用的句子：</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Some cues of %1 were left out:</source>
        <translation>%1 中有些字幕条目被略过：</translation>
    </message>
    <message>
        <location filename="../../src/lesson/lessonfixes.cpp" line="+76"/>
        <source>The loop is on no sentence whose marks could be kept.</source>
        <translation>循环不在任何句子上，无法保留其标记。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Only sentences of subtitles or of a lesson text can keep marks.</source>
        <translation>只有字幕或课文的句子才能保留标记。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>These marks leave sentence %1 no room between the sentences around it.</source>
        <translation>这些标记使第 %1 句在其前后句子之间没有余地。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The marks could not be kept: %1</source>
        <translation>无法保留标记：%1</translation>
    </message>
</context>
<context>
    <name>LessonDialogs</name>
    <message>
        <location filename="../../src/player/lessondialogs.cpp" line="+40"/>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Media (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv *.wma *.wmv)</source>
        <translation>媒体文件 (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv *.wma *.wmv)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Subtitles</source>
        <translation>字幕</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Lesson Text: %1</source>
        <translation>课文：%1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Load Subtitles...</source>
        <translation>加载字幕...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lesson Text...</source>
        <translation>课文...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Paste Lesson Text</source>
        <translation>粘贴课文</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Save Sentences as Subtitles...</source>
        <translation>将句子另存为字幕...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Load Translation...</source>
        <translation>加载译文...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Load Subtitles</source>
        <translation>加载字幕</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+51"/>
        <source>Subtitles (*.srt *.vtt *.ass *.ssa);;All Files (*)</source>
        <translation>字幕 (*.srt *.vtt *.ass *.ssa);;所有文件 (*)</translation>
    </message>
    <message>
        <location line="-43"/>
        <source>Lesson Text</source>
        <translation>课文</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Transcripts (*.txt *.md *.html *.htm *.pdf);;All Files (*)</source>
        <translation>课文文本 (*.txt *.md *.html *.htm *.pdf);;所有文件 (*)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save Sentences as Subtitles</source>
        <translation>将句子另存为字幕</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This lesson has no sentences to save yet.</source>
        <translation>这一课还没有可保存的句子。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>SRT Subtitles (*.srt)</source>
        <translation>SRT 字幕 (*.srt)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>WebVTT Subtitles (*.vtt)</source>
        <translation>WebVTT 字幕 (*.vtt)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sentences with Word Times, JSON (*.json)</source>
        <translation>带单词时间的句子，JSON (*.json)</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Load Translation</source>
        <translation>加载译文</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lesson Summary: %1</source>
        <translation>课程小结：%1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Forget This Lesson</source>
        <translation>忘记本课</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forget where you were in %1, its loop and the scores of its sentences?</source>
        <translation>忘记 %1 的播放位置、循环区间和各句的得分吗？</translation>
    </message>
</context>
<context>
    <name>LessonPanel</name>
    <message>
        <location filename="../../src/player/lessonpanel.cpp" line="+60"/>
        <source>The length of this file is unknown.</source>
        <translation>此文件的长度未知。</translation>
    </message>
</context>
<context>
    <name>LessonSummary</name>
    <message>
        <location filename="../../src/player/lessonsummary.cpp" line="+36"/>
        <source>Accuracy</source>
        <translation>准确率</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sentence</source>
        <translation>句子</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>Lesson Summary</source>
        <translation>课程小结</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The best accuracy of each sentence, in the lesson&apos;s order</source>
        <translation>每个句子的最佳准确率，按课程顺序排列</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Sentences checked: %1 of %2 (%3%)</source>
        <translation>已检查的句子：%1 / %2（%3%）</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Mean best accuracy: %1%</source>
        <translation>平均最佳准确率：%1%</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No sentence has been checked yet.</source>
        <translation>还没有检查过任何句子。</translation>
    </message>
</context>
<context>
    <name>Media</name>
    <message>
        <location filename="../../src/media/media.cpp" line="+31"/>
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
        <location line="+186"/>
        <source>Error opening %1:
Couldn&apos;t find any stream information in this file.</source>
        <translation>打开 %1 出错：
在此文件中找不到任何流信息。</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Error opening %1:
Cannot allocate pictures buffer.</source>
        <translation>打开 %1 出错：
无法分配图像缓冲区。</translation>
    </message>
    <message>
        <location line="-17"/>
        <source>Error opening %1:
Cannot create a suitable conversion context to RGB.</source>
        <translation>打开 %1 出错：
无法创建转换为 RGB 的上下文。</translation>
    </message>
    <message>
        <location line="+133"/>
        <source>Error reading %1 !

Logs;
%2Decoding interupted. </source>
        <translation>读取 %1 出错！

日志：
%2解码中断。</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The lesson file %1 was removed or changed while it played.</source>
        <translation>课程文件 %1 在播放时被删除或更改。</translation>
    </message>
    <message>
        <location line="-142"/>
        <source>Error opening %1:
The file has no sound or picture this program can play.</source>
        <translation>打开 %1 出错：
此文件没有本程序能播放的声音或图像。</translation>
    </message>
</context>
<context>
    <name>PhoneticDialog</name>
    <message>
        <location filename="../../src/phonetic/phoneticdialog.ui" line="+26"/>
        <source>vorlynplayer 听音查词 V1.2</source>
        <translation>vorlynplayer 听音查词 V1.2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>模糊查词</source>
        <translation>模糊查词</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>特殊音标符号</source>
        <translation>特殊音标符号</translation>
    </message>
    <message>
        <location line="+349"/>
        <source>听音查词</source>
        <translation>听音查词</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Say the chosen word aloud (Alt+H)</source>
        <translation>朗读选中的单词 (Alt+H)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Hear</source>
        <translation>听发音(&amp;H)</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>使用说明</source>
        <translation>使用说明</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>
  输入音标后，软件会根据读音，搜索出单词！

  特殊音标点击按钮，其它用键盘输入。

  如输入[igzɑ:mpl]即可查得example</source>
        <translation>
  输入音标后，软件会根据读音，搜索出单词！

  特殊音标点击按钮，其它用键盘输入。

  如输入[igzɑ:mpl]即可查得example</translation>
    </message>
    <message>
        <location filename="../../src/phonetic/phoneticdialog.cpp" line="+138"/>
        <source>Type the sounds with the letters b d e f g h i j k l m n o p r s t u v w z, a for ɑ, : for a long vowel (ː) and &apos; for stress (ˈ); click the keys for the other symbols. For example, igza:mpl finds example.</source>
        <translation>用字母 b d e f g h i j k l m n o p r s t u v w z 输入读音，a 表示 ɑ，: 表示长音（ː），&apos; 表示重音（ˈ）；其它音标请点击按钮。例如输入 igza:mpl 可查得 example。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The dictionary &quot;%1&quot; cannot be read: %2</source>
        <translation>无法读取词典“%1”：%2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;%1&quot; is not a search pattern the dialog can read.</source>
        <translation>“%1”不是可用的查词表达式。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No word matches &quot;%1&quot;.</source>
        <translation>没有与“%1”匹配的单词。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&quot;%1&quot; cannot be read as a pronunciation.</source>
        <translation>无法把“%1”识别为音标。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No word sounds like &quot;%1&quot;.</source>
        <translation>没有读音与“%1”相符的单词。</translation>
    </message>
    <message>
        <location line="-40"/>
        <source>Sounds close:</source>
        <translation>读音相近：</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Not what you typed, but it sounds close to it</source>
        <translation>与输入的音标不完全相同，但读音相近</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Read as: %1</source>
        <translation>识别为：%1</translation>
    </message>
</context>
<context>
    <name>PlayerKeys</name>
    <message>
        <location filename="../../src/player/playerkeys.cpp" line="+29"/>
        <source>Move the loop&apos;s start earlier</source>
        <translation>循环起点提前</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move the loop&apos;s start later</source>
        <translation>循环起点推后</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move the loop&apos;s end earlier</source>
        <translation>循环终点提前</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move the loop&apos;s end later</source>
        <translation>循环终点推后</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play or pause</source>
        <translation>播放或暂停</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the stretch before</source>
        <translation>循环前一段</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start the loop here</source>
        <translation>从此处开始循环</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End the loop here</source>
        <translation>在此处结束循环</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the stretch after</source>
        <translation>循环后一段</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Slower</source>
        <translation>减慢</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Faster</source>
        <translation>加快</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Normal speed</source>
        <translation>正常速度</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the sentence here</source>
        <translation>循环当前句子</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Skip back</source>
        <translation>后退</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Skip forward</source>
        <translation>前进</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drill on or off</source>
        <translation>开始或结束听写练习</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drill: play the sentence again</source>
        <translation>听写练习：再播放一遍</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Drill: next sentence</source>
        <translation>听写练习：下一句</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Drill: show a hint</source>
        <translation>听写练习：显示提示</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drill: show the sentence</source>
        <translation>听写练习：显示整句</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Drill: show or hide the translation</source>
        <translation>听写：显示或隐藏译文</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check what I wrote</source>
        <translation>检查我写的内容</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check the whole transcript</source>
        <translation>核对整篇听写</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Review what I missed, or end the review</source>
        <translation>复习我错过的内容，或结束复习</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open a lesson</source>
        <translation>打开课程</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Leave full screen</source>
        <translation>退出全屏</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Stop and close the lesson</source>
        <translation>停止并关闭课程</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the whole lesson</source>
        <translation>循环整个课程</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show or hide the editor</source>
        <translation>显示或隐藏编辑器</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <location filename="../../src/player/preferencesdialog.cpp" line="+26"/>
        <source>Preferences</source>
        <translation>首选项</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>For lessons opened for the first time. A lesson studied before keeps its own.</source>
        <translation>用于第一次打开的课程。学过的课程保留它自己的设置。</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Higher brings what you missed back sooner and more often.</source>
        <translation>越高，错过的内容就回来得越早、越频繁。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Review what I missed when my chance of recalling it falls to</source>
        <translation>当我记住它的可能性降到此值时复习错过的内容</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Drill</source>
        <translation>听写练习</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+132"/>
        <source>Keys</source>
        <translation>按键</translation>
    </message>
    <message>
        <location line="-114"/>
        <source>As the system</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Interface language</source>
        <translation>界面语言</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Takes effect at the next start.</source>
        <translation>下次启动时生效。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>American English (en_US)</source>
        <translation>美式英语 (en_US)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>British English (en_GB)</source>
        <translation>英式英语 (en_GB)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Spelling dictionary</source>
        <translation>拼写词典</translation>
    </message>
    <message>
        <location line="+7"/>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A nudge moves a loop mark by</source>
        <translation>微调循环标记的步长</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Click a field and press the key, a foot pedal&apos;s too.</source>
        <translation>单击一个输入框，然后按下按键（脚踏板的按键也可以）。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Key</source>
        <translation>按键</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Alternate key</source>
        <translation>备用按键</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Restore Default Keys</source>
        <translation>恢复默认按键</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>%1 is already the key of “%2”.</source>
        <translation>%1 已经是“%2”的按键。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 is the editor&apos;s key for “%2”: pressed there, it would not reach the player.</source>
        <translation>%1 是编辑器“%2”的按键：在编辑器中按下时不会传给播放器。</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <location filename="../../src/player/progresswindow.cpp" line="+161"/>
        <source>Today</source>
        <translation>今天</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>d MMM</source>
        <extracomment>how a day is named under a bar of the progress charts (QDate format)</extracomment>
        <translation>M月d日</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Progress</source>
        <translation>学习进度</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>No sentence has been checked in the last %n day(s). Check what you wrote against a sentence, and your progress shows here.</source>
        <translation>
            <numerusform>最近 %n 天没有检查过句子。把你写下的内容与句子对照检查后，进度就会显示在这里。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>Nothing is due for review in the next %n day(s).</source>
        <translation>
            <numerusform>接下来 %n 天没有需要复习的内容。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Mean accuracy of the checks by day</source>
        <translation>每天检查的平均正确率</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sentences checked by day</source>
        <translation>每天检查的句子数</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Review items due by day</source>
        <translation>每天到期的复习项</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Words missed most</source>
        <translation>最常错的单词</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Click a word to look up its pronunciation.</source>
        <translation>点击单词即可查询它的发音。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No word has been missed yet.</source>
        <translation>还没有错过任何单词。</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Look up the pronunciation of “%1”</source>
        <translation>查询“%1”的发音</translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>Missed %n time(s)</source>
        <translation>
            <numerusform>错过 %n 次</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecentLessonsMenu</name>
    <message>
        <location filename="../../src/player/recentlessons.cpp" line="+14"/>
        <source>Recent Lessons</source>
        <translation>最近的课程</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Clear</source>
        <translation>清空列表</translation>
    </message>
</context>
<context>
    <name>ReviewExport</name>
    <message>
        <location filename="../../src/player/reviewexport.cpp" line="+15"/>
        <source>Export Review Items</source>
        <translation>导出复习条目</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>There are no review items yet: a check that finds mistakes keeps what was missed for review.</source>
        <translation>还没有复习条目：核对发现错误时，会把听错的内容留作复习。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Flashcards as Tab-Separated Text (*.txt)</source>
        <translation>抽认卡，制表符分隔的文本 (*.txt)</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Cutting the sound clips of the flashcards...</source>
        <translation>正在剪切抽认卡的声音片段...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message numerus="yes">
        <location line="+40"/>
        <source>%n review item(s) were left out: their lesson file is missing, has changed since the check, or has no sound.</source>
        <translation>
            <numerusform>有 %n 个复习条目被略过：其课程文件已不存在、在核对后已改变，或没有声音。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Wrote %n flashcard(s) to %1, their sound clips beside it.</source>
        <translation>
            <numerusform>已将 %n 张抽认卡写入 %1，声音片段在其旁边。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The flashcards were not written. %1</source>
        <translation>抽认卡未写出。%1</translation>
    </message>
</context>
<context>
    <name>ReviewPrompt</name>
    <message>
        <location filename="../../src/player/reviewprompt.cpp" line="+85"/>
        <source>Review</source>
        <translation>复习</translation>
    </message>
    <message>
        <location line="-54"/>
        <source>End Review</source>
        <translation>结束复习</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Review (%n due)...</source>
        <translation>
            <numerusform>复习（%n 项到期）...</numerusform>
        </translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Nothing was reviewed.</source>
        <translation>没有复习任何内容。</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n item(s) reviewed, %1 recalled on the first try.</source>
        <translation>
            <numerusform>复习了 %n 项，其中 %1 项一次就记住了。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Passed over, their items still due: lessons that cannot be found:</source>
        <translation>已跳过（其复习项仍到期）：找不到的课程：</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Passed over, their items still due: %n sentence(s) no longer in their lesson.</source>
        <translation>
            <numerusform>已跳过（其复习项仍到期）：%n 个句子已不在其课程中。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Next due: %1.</source>
        <translation>下次到期：%1。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing is waiting for review.</source>
        <translation>没有等待复习的内容。</translation>
    </message>
</context>
<context>
    <name>SentenceDock</name>
    <message>
        <location filename="../../src/player/sentencedock.cpp" line="+10"/>
        <source>Sentences</source>
        <translation>句子</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sentence List</source>
        <translation>句子列表</translation>
    </message>
</context>
<context>
    <name>SentenceList</name>
    <message>
        <location filename="../../src/player/sentencelist.cpp" line="+48"/>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Length (s)</source>
        <translation>时长（秒）</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message>
        <location line="+202"/>
        <source>Click a sentence to loop it, or its circle to show its text; %1 loops the sentence under the playhead</source>
        <translation>单击句子即循环播放该句，单击它的圆点可显示文本；%1 键循环播放当前播放位置所在的句子</translation>
    </message>
    <message>
        <location line="-193"/>
        <location line="+168"/>
        <source>Finding the sentences</source>
        <translation>正在查找句子</translation>
    </message>
    <message>
        <location line="-151"/>
        <source>Show All Sentence Texts</source>
        <translation>显示全部句子文本</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Subtitle lines left out: %1</source>
        <translation>略去的字幕行：%1</translation>
    </message>
    <message>
        <location line="+98"/>
        <source>Placing the lesson text in the sound</source>
        <translation>正在将课文对齐到声音</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Loop This Sentence</source>
        <translation>循环播放此句</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Hide Its Text</source>
        <translation>隐藏此句文本</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Show Its Text</source>
        <translation>显示此句文本</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Not heard in the sound: its place is a guess between its neighbours.</source>
        <translation>在声音中未听到：其位置是根据前后句子推测的。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Much other sound around it: its place may be off.</source>
        <translation>周围有很多其他声音：其位置可能不准。</translation>
    </message>
    <message>
        <location line="-150"/>
        <source>%1% on %2</source>
        <translation>%1%（%2）</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Best: %1; last: %2</source>
        <translation>最佳：%1；最近：%2</translation>
    </message>
</context>
<context>
    <name>SpellCheckDialog</name>
    <message>
        <location filename="../../src/spelling/spellcheckdialog.ui" line="+14"/>
        <source>Spell Checker</source>
        <translation>拼写检查</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>unknown word:</source>
        <translation>未知单词：</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>TextLabel</source>
        <translation>文本标签</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&lt;&lt; add to dictionary</source>
        <translation>&lt;&lt; 加入词典</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>replace with:</source>
        <translation>替换为：</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>replace once</source>
        <translation>替换一次</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>replace all</source>
        <translation>全部替换</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>ignore once</source>
        <translation>忽略一次</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ignore all</source>
        <translation>全部忽略</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SpellCheckRun</name>
    <message>
        <location filename="../../src/editor/spellcheckrun.cpp" line="+87"/>
        <source>Finished</source>
        <translation>完成</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The spell check has finished.</source>
        <translation>拼写检查已完成。</translation>
    </message>
</context>
<context>
    <name>StudySession</name>
    <message>
        <location filename="../../src/app/studysession.cpp" line="+35"/>
        <source>Vorlyn Player</source>
        <translation>Vorlyn 播放器</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Hear a word</source>
        <translation>听单词发音</translation>
    </message>
</context>
<context>
    <name>TextEdit</name>
    <message>
        <location filename="../../src/editor/textedit.cpp" line="+113"/>
        <source>File Actions</source>
        <translation>文件操作</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;New</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Open...</source>
        <translation>打开(&amp;O)...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Print Preview...</source>
        <translation>打印预览...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Export PDF...</source>
        <translation>导出 PDF(&amp;E)...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Edit Actions</source>
        <translation>编辑操作</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cu&amp;t</source>
        <translation>剪切(&amp;T)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Paste</source>
        <translation>粘贴(&amp;P)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Tenvale Actions</source>
        <translation>Tenvale 操作</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;SpellCheck</source>
        <translation>拼写检查(&amp;S)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;PhoneticLookup</source>
        <translation>听音查词(&amp;P)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;DiffText</source>
        <translation>文本比较(&amp;D)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>American English (en_US)</source>
        <translation>美式英语 (en_US)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>British English (en_GB)</source>
        <translation>英式英语 (en_GB)</translation>
    </message>
    <message>
        <location line="+144"/>
        <source>Print Document</source>
        <translation>打印文档</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <location filename="../../src/player/trayicon.cpp" line="+19"/>
        <source>Mi&amp;nimize</source>
        <translation>最小化(&amp;N)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Restore</source>
        <translation>还原(&amp;R)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Vorlyn Player</source>
        <translation>Vorlyn 播放器</translation>
    </message>
</context>
<context>
    <name>Vk</name>
    <message>
        <location filename="../../src/player/vk.cpp" line="+72"/>
        <location line="+7"/>
        <location line="+25"/>
        <location line="+102"/>
        <source>Vorlyn Player</source>
        <translation>Vorlyn 播放器</translation>
    </message>
    <message>
        <location line="-65"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Full Screen</source>
        <translation>全屏</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Keep Aspect Ratio</source>
        <translation>保持宽高比</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <location filename="../../src/player/vkmenu.cpp" line="+28"/>
        <source>Keep These Marks for the Sentence</source>
        <translation>为该句保留这些标记</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Check Whole Transcript</source>
        <translation>核对全文</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lesson Summary...</source>
        <translation>课程小结...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Progress...</source>
        <translation>学习进度...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forget This Lesson...</source>
        <translation>忘记本课...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Export Review Items...</source>
        <translation>导出复习条目...</translation>
    </message>
    <message>
        <location filename="../../src/player/vk.cpp" line="+35"/>
        <source>%1 - Vorlyn Player</source>
        <translation>%1 - Vorlyn 播放器</translation>
    </message>
    <message>
        <location filename="../../src/player/filekind.cpp" line="+67"/>
        <source>%1: only one lesson opens at a time.</source>
        <translation>%1：一次只能打开一个课程。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1: only one document opens at a time.</source>
        <translation>%1：一次只能打开一个文档。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1: there is no such file, or it cannot be read.</source>
        <translation>%1：文件不存在，或者无法读取。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: neither a lesson (sound or video) nor a document.</source>
        <translation>%1：既不是课程（音频或视频），也不是文档。</translation>
    </message>
    <message>
        <location filename="../../src/player/vk.cpp" line="-57"/>
        <location line="+211"/>
        <location line="+1"/>
        <source>Drill</source>
        <translation>听写练习</translation>
    </message>
    <message>
        <location line="-202"/>
        <source>Drill Settings...</source>
        <translation>听写练习设置...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Preferences...</source>
        <translation>首选项...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keys...</source>
        <translation>按键...</translation>
    </message>
    <message>
        <location line="+184"/>
        <source>(no key)</source>
        <translation>（无按键）</translation>
    </message>
</context>
<context>
    <name>WaveformStrip</name>
    <message>
        <location filename="../../src/player/waveformstrip.cpp" line="+255"/>
        <source>Drag a loop mark to move it, turn the wheel to zoom; %1 loops the sentence under the playhead</source>
        <translation>拖动循环标记可移动它，转动滚轮可缩放；%1 键循环播放当前播放位置所在的句子</translation>
    </message>
</context>
<context>
    <name>WordCheckDialog</name>
    <message>
        <location filename="../../src/diff/wordcheckdialog.cpp" line="+14"/>
        <source>Word check</source>
        <translation>逐词核对</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Word accuracy: %1%</source>
        <translation>单词正确率：%1%</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Letter accuracy: %1%</source>
        <translation>字母正确率：%1%</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 misspelt</source>
        <translation>拼错 %1 个</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 of %2 words right, %3 wrong, %4, %5 split or joined, %6 missing, %7 extra</source>
        <extracomment>%4 is the number of misspelt words, as &quot;%1 misspelt&quot; says it, in its own colour</extracomment>
        <translation>%2 个单词对了 %1 个，错 %3 个，%4，分写或连写 %5 处，漏 %6 个，多 %7 个</translation>
    </message>
</context>
<context>
    <name>cards::Card</name>
    <message>
        <location filename="../../src/cards/cardtext.cpp" line="+81"/>
        <source>Write down what you hear.</source>
        <translation>写下你听到的内容。</translation>
    </message>
</context>
<context>
    <name>cards::ClipCutter</name>
    <message>
        <location filename="../../src/cards/clipcutter.cpp" line="+305"/>
        <source>Cannot write the sound clip %1: %2</source>
        <translation>无法写入声音片段 %1：%2</translation>
    </message>
</context>
<context>
    <name>cards::DeckExport</name>
    <message>
        <location filename="../../src/cards/deckexport.cpp" line="+49"/>
        <source>Cannot write into the folder %1: %2</source>
        <translation>无法写入文件夹 %1：%2</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>None of the review items has its lesson file at hand.</source>
        <translation>没有一个复习条目的课程文件可用。</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+22"/>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Cannot write %1.</source>
        <translation>无法写入 %1。</translation>
    </message>
</context>
<context>
    <name>lesson::LessonStore</name>
    <message>
        <location filename="../../src/lesson/lessonstore.cpp" line="+205"/>
        <source>The lesson memory %1 cannot be used (%2): lessons will not be remembered.</source>
        <translation>无法使用课程记录 %1（%2）：将不会记住课程。</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>it was written by a newer version of the program</source>
        <translation>它是由更新版本的程序写入的</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>The lesson memory could not be read (%1). It was moved to %2, and a new one was begun.</source>
        <translation>无法读取课程记录（%1）。它已被移至 %2，并已新建一个。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The new one cannot be made either (%1).</source>
        <translation>新的课程记录也无法建立（%1）。</translation>
    </message>
</context>
<context>
    <name>lesson::LessonText</name>
    <message>
        <location filename="../../src/lesson/lessontext.cpp" line="+66"/>
        <source>The PDF %1 is damaged or not a PDF; its text cannot be read.</source>
        <translation>PDF 文件 %1 已损坏或不是 PDF 文件，无法读取其中的文字。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The PDF %1 is locked with a password; its text cannot be read.</source>
        <translation>PDF 文件 %1 有密码保护，无法读取其中的文字。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The PDF %1 has no text layer: its pages are only images. Choose a PDF whose text can be selected, or a text file.</source>
        <translation>PDF 文件 %1 没有文字层：它的页面只是图片。请选择文字可以选中的 PDF 文件，或者一个文本文件。</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>Cannot open the lesson text %1.</source>
        <translation>无法打开课文 %1。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Cannot read the lesson text %1.</source>
        <translation>无法读取课文 %1。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The lesson text %1 is over 20 MB, too long for a lesson.</source>
        <translation>课文 %1 超过 20 MB，作为一课的课文太长了。</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>The lesson text %1 has no text.</source>
        <translation>课文 %1 里没有文字。</translation>
    </message>
</context>
<context>
    <name>lesson::LessonTranslation</name>
    <message>
        <location filename="../../src/lesson/lessontranslation.cpp" line="+39"/>
        <source>The translation could not be loaded. %1</source>
        <translation>无法加载译文。%1</translation>
    </message>
</context>
<context>
    <name>lesson::ReviewSession</name>
    <message>
        <location filename="../../src/lesson/reviewsession.cpp" line="+95"/>
        <source>%1 cannot be found, or is no longer the file it was: its review items stay due.</source>
        <translation>找不到 %1，或它已不是原来的文件：其复习项仍保持到期。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 does not open: its review items stay due.</source>
        <translation>无法打开 %1：其复习项仍保持到期。</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>The sentence &quot;%1&quot; is no longer among the sentences of %2: its review items stay due.</source>
        <translation>句子“%1”已不在 %2 的句子中：其复习项仍保持到期。</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The review could not be kept: %1</source>
        <translation>无法保存这次复习：%1</translation>
    </message>
</context>
<context>
    <name>lesson::Sentences</name>
    <message>
        <location filename="../../src/lesson/sentences.cpp" line="+119"/>
        <source>The cue at %1 cannot be decoded; it was left out.</source>
        <translation>%1 处的字幕无法解码，已略去。</translation>
    </message>
    <message>
        <location line="+159"/>
        <source>Cannot open the subtitle file %1.</source>
        <translation>无法打开字幕文件 %1。</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>%1 is not a subtitle file this program can read.</source>
        <translation>%1 不是本程序能读取的字幕文件。</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>A cue after %1 has times that cannot be read; it was left out.</source>
        <translation>%1 之后的一条字幕时间无法读取，已略去。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cues with times that cannot be read were left out: %1.</source>
        <translation>时间无法读取的字幕已略去：%1 条。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Cannot open %1.</source>
        <translation>无法打开 %1。</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>The cue at %1 has no text; it was left out.</source>
        <translation>%1 处的字幕没有文字，已略去。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The cue at %1 has no length; it was left out.</source>
        <translation>%1 处的字幕没有时长，已略去。</translation>
    </message>
    <message>
        <location filename="../../src/lesson/speechanalyser.cpp" line="+98"/>
        <source>Cannot find the sentences of %1: it has no sound this program can read.</source>
        <translation>无法找出 %1 的句子：它没有本程序能读取的声音。</translation>
    </message>
    <message>
        <location filename="../../src/lesson/sentences.cpp" line="+7"/>
        <source>The cue at %1 ends before the lesson begins; it was left out.</source>
        <translation>%1 处的字幕在课程开始之前就已结束，已略去。</translation>
    </message>
</context>
<context>
    <name>lesson::SubtitleWriter</name>
    <message>
        <location filename="../../src/lesson/subtitlewriter.cpp" line="+127"/>
        <source>Sentences can be saved as .srt, .vtt or .json files, not as %1.</source>
        <translation>句子只能保存为 .srt、.vtt 或 .json 文件，不能保存为 %1。</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot save %1:
%2</source>
        <translation>无法保存 %1：
%2</translation>
    </message>
</context>
<context>
    <name>lesson::TextAlignment</name>
    <message>
        <location filename="../../src/lesson/textalignment.cpp" line="+192"/>
        <source>The lesson text has no sentences to listen for.</source>
        <translation>课文中没有可供对齐的句子。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The speech recogniser&apos;s English model is not installed (%1): the lesson text cannot be placed in the sound.</source>
        <translation>语音识别器的英语模型未安装（%1）：无法将课文对齐到声音。</translation>
    </message>
    <message>
        <location line="+112"/>
        <source>Only %1 of the %2 sentences of the lesson text were heard in the lesson: is it the text of this recording?</source>
        <translation>课文的 %2 个句子中只有 %1 个在课程中被听到：这是这段录音的课文吗？</translation>
    </message>
    <message>
        <location line="-47"/>
        <source>The sentence &quot;%1&quot; was not heard, and there is no room for it between its neighbours; it was left out.</source>
        <translation>句子“%1”没有被听到，且在前后句子之间没有它的位置；已略去。</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>%1 has no sound this program can read.</source>
        <translation>%1 没有本程序能读取的声音。</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../../src/app/main.cpp" line="+85"/>
        <source>Usage: vorlynplayer --align LESSON TEXT --output FILE
FILE ends in .srt, .vtt, or .json (with the words&apos; times).
</source>
        <translation>用法：vorlynplayer --align 课程 课文 --output 文件
文件以 .srt、.vtt 或 .json（含每个词的时间）结尾。
</translation>
    </message>
</context>
<context>
    <name>speech::Synthesizer</name>
    <message>
        <location filename="../../src/speech/synthesizer.cpp" line="+73"/>
        <source>There is no word to hear.</source>
        <translation>没有可以朗读的单词。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Only a word or a short phrase can be heard, not &quot;%1…&quot;.</source>
        <translation>只能朗读一个单词或一个短语，不能朗读“%1…”。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&quot;%1&quot; has nothing to say: it has no letters.</source>
        <translation>“%1”中没有字母，无法朗读。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The speech synthesizer cannot start: its data (Debian&apos;s package espeak-ng-data) is missing.</source>
        <translation>语音合成器无法启动：缺少它的数据（Debian 软件包 espeak-ng-data）。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The speech synthesizer has no voice %1.</source>
        <translation>语音合成器没有 %1 语音。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The speech synthesizer made no sound for &quot;%1&quot;.</source>
        <translation>语音合成器没有为“%1”生成任何声音。</translation>
    </message>
</context>
<context>
    <name>speech::WordSpeaker</name>
    <message>
        <location filename="../../src/speech/wordspeaker.cpp" line="+54"/>
        <source>There is no sound output to say &quot;%1&quot; on.</source>
        <translation>没有可用的声音输出来朗读“%1”。</translation>
    </message>
</context>
</TS>

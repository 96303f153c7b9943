<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CTextCheckerEdit</name>
    <message>
        <location filename="../../src/spelling/ctextcheckeredit.cpp" line="+28"/>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Cut</source>
        <translation>&amp;Cut</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Add to dictionary</source>
        <translation>Add to dictionary</translation>
    </message>
</context>
<context>
    <name>ControlButton</name>
    <message>
        <location filename="../../src/player/controlbutton.cpp" line="+105"/>
        <source>play/pause</source>
        <translation>play/pause</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>stop</source>
        <translation>stop</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>forward</source>
        <translation>forward</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>backward</source>
        <translation>backward</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune start left</source>
        <translation>sharp tune start left</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>set loop start</source>
        <translation>set loop start</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune start right</source>
        <translation>sharp tune start right</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune end left</source>
        <translation>sharp tune end left</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>set loop end</source>
        <translation>set loop end</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>sharp tune end right</source>
        <translation>sharp tune end right</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>cancel loop</source>
        <translation>cancel loop</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>reset loop from begin to current start</source>
        <translation>reset loop from begin to current start</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>reset loop from current end to end</source>
        <translation>reset loop from current end to end</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>volume silent</source>
        <translation>volume silent</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>volume control</source>
        <translation>volume control</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>editor</source>
        <translation>editor</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1x</source>
        <translation>%1x</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location line="+83"/>
        <source>speed: %1 slower, %2 faster, %3 back to 1x</source>
        <translation>speed: %1 slower, %2 faster, %3 back to 1x</translation>
    </message>
</context>
<context>
    <name>DiffDialog</name>
    <message>
        <location filename="../../src/diff/diffdialog.ui" line="+14"/>
        <source>对比听写与参考原文</source>
        <translation>Compare your dictation with the reference</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>导入A</source>
        <translation>Import A</translation>
    </message>
    <message>
        <location line="-14"/>
        <source>参考原文 — 对比文本A：
请输入或[Ctrl+V]粘贴或点击[导入A]按钮导入纯文本文件</source>
        <translation>Reference text — Comparison text A:
Type it, paste it with [Ctrl+V] or click [Import A] to import a plain-text file</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>你的听写 — 对比文本B：
请输入或[Ctrl+V]粘贴或点击[导入B]按钮导入纯文本文件</source>
        <translation>Your dictation — Comparison text B:
Type it, paste it with [Ctrl+V] or click [Import B] to import a plain-text file</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>导入B</source>
        <translation>Import B</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>比较</source>
        <translation>Compare</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>修改建议：</source>
        <translation>Suggested changes:</translation>
    </message>
    <message>
        <location filename="../../src/diff/diffdialog.cpp" line="+57"/>
        <source>Open File</source>
        <translation>Open File</translation>
    </message>
    <message>
        <location filename="../../src/diff/diffdialog.ui" line="+19"/>
        <source>逐字母对比</source>
        <translation>Letter by letter</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>逐词对比</source>
        <translation>Word by word</translation>
    </message>
    <message>
        <location filename="../../src/diff/diffdialog.cpp" line="+72"/>
        <source>Word accuracy: %1%</source>
        <translation>Word accuracy: %1%</translation>
    </message>
</context>
<context>
    <name>DocumentFile</name>
    <message>
        <location filename="../../src/editor/documentfile.cpp" line="+47"/>
        <source>untitled.html</source>
        <translation>untitled.html</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1[*] - %2</source>
        <translation>%1[*] - %2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rich Text</source>
        <translation>Rich Text</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+34"/>
        <location line="+46"/>
        <source>Application</source>
        <translation>Application</translation>
    </message>
    <message>
        <location line="-79"/>
        <source>The document has been modified.
Do you want to save your changes?</source>
        <translation>The document has been modified.
Do you want to save your changes?</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Open File...</source>
        <translation>Open File...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>HTML-Files (*.htm *.html);;All Files (*)</source>
        <translation>HTML-Files (*.htm *.html);;All Files (*)</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Cannot open %1.</source>
        <translation>Cannot open %1.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Documents can be saved as .html, .htm, .odt or .txt files.</source>
        <translation>Documents can be saved as .html, .htm, .odt or .txt files.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Cannot save the document as %1:
%2</source>
        <translation>Cannot save the document as %1:
%2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save as...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rich text (*.rtf);;Text files (*.txt);;ODF files (*.odt);;HTML-Files (*.htm *.html);;All Files (*)</source>
        <translation>Rich text (*.rtf);;Text files (*.txt);;ODF files (*.odt);;HTML-Files (*.htm *.html);;All Files (*)</translation>
    </message>
</context>
<context>
    <name>DrillBar</name>
    <message>
        <location filename="../../src/player/drillbar.cpp" line="+187"/>
        <source>%1: a hint, %2: the whole sentence</source>
        <translation>%1: a hint, %2: the whole sentence</translation>
    </message>
    <message>
        <location line="-94"/>
        <source>Done: Alt+A again, Alt+N next sentence</source>
        <translation>Done: Alt+A again, Alt+N next sentence</translation>
    </message>
    <message numerus="yes">
        <location line="+24"/>
        <source>Review, %n more due after this: write the sentence, then %1 checks it</source>
        <translation>
            <numerusform>Review, %n more due after this: write the sentence, then %1 checks it</numerusform>
            <numerusform>Review, %n more due after this: write the sentence, then %1 checks it</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>Review: %1 of %n item(s) recalled; %2 goes on</source>
        <translation>
            <numerusform>Review: %1 of %n item recalled; %2 goes on</numerusform>
            <numerusform>Review: %1 of %n items recalled; %2 goes on</numerusform>
        </translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Repetition %1</source>
        <translation>Repetition %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repetition %1 of %2</source>
        <translation>Repetition %1 of %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Type what you heard; the play key plays it again</source>
        <translation>Type what you heard; the play key plays it again</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Type what you heard: %1 s</source>
        <translation>Type what you heard: %1 s</translation>
    </message>
</context>
<context>
    <name>DrillSettingsDialog</name>
    <message>
        <location filename="../../src/player/drillsettingsdialog.cpp" line="+78"/>
        <source>Drill Settings</source>
        <translation>Drill Settings</translation>
    </message>
</context>
<context>
    <name>DrillSettingsForm</name>
    <message>
        <location line="-53"/>
        <source>until I move on</source>
        <translation>until I move on</translation>
    </message>
    <message>
        <location line="+1"/>
        <source> times</source>
        <translation> times</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play each sentence</source>
        <translation>Play each sentence</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>until I press the play key</source>
        <translation>until I press the play key</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+25"/>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <location line="-23"/>
        <source>Pause to type</source>
        <translation>Pause to type</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>as the lesson</source>
        <translation>as the lesson</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>First time at</source>
        <translation>First time at</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>wait</source>
        <translation>wait</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>go on to the next sentence</source>
        <translation>go on to the next sentence</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>After the last time</source>
        <translation>After the last time</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Playing on after a pause goes back</source>
        <translation>Playing on after a pause goes back</translation>
    </message>
</context>
<context>
    <name>EditorLink</name>
    <message>
        <location filename="../../src/player/editorlink.cpp" line="+51"/>
        <source>Some files were not opened:</source>
        <translation>Some files were not opened:</translation>
    </message>
    <message>
        <location line="+52"/>
        <location line="+17"/>
        <source>Check</source>
        <translation>Check</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>This sentence has no subtitle text to check against.</source>
        <translation>This sentence has no subtitle text to check against.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>This lesson&apos;s sentences have no text to check against.</source>
        <translation>This lesson&apos;s sentences have no text to check against.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Whole Transcript Check</source>
        <translation>Whole Transcript Check</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>None of the lesson&apos;s sentences was found in the editor.</source>
        <translation>None of the lesson&apos;s sentences was found in the editor.</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n sentence(s) of %1 checked, mean accuracy %2%.</source>
        <translation>
            <numerusform>%n sentence of %1 checked, mean accuracy %2%.</numerusform>
            <numerusform>%n sentences of %1 checked, mean accuracy %2%.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1%  sentence %2 (%3): %4</source>
        <translation>%1%  sentence %2 (%3): %4</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Weakest:</source>
        <translation>Weakest:</translation>
    </message>
</context>
<context>
    <name>FormatActions</name>
    <message>
        <location filename="../../src/editor/formatactions.cpp" line="+32"/>
        <location line="+70"/>
        <source>Format Actions</source>
        <translation>Format Actions</translation>
    </message>
    <message>
        <location line="-55"/>
        <source>&amp;Bold</source>
        <translation>&amp;Bold</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Italic</source>
        <translation>&amp;Italic</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Underline</source>
        <translation>&amp;Underline</translation>
    </message>
    <message>
        <location line="+19"/>
        <location line="+11"/>
        <source>&amp;Left</source>
        <translation>&amp;Left</translation>
    </message>
    <message>
        <location line="-10"/>
        <location line="+7"/>
        <source>C&amp;enter</source>
        <translation>C&amp;enter</translation>
    </message>
    <message>
        <location line="-4"/>
        <location line="+3"/>
        <source>&amp;Right</source>
        <translation>&amp;Right</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Justify</source>
        <translation>&amp;Justify</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Color...</source>
        <translation>&amp;Color...</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bullet List (Disc)</source>
        <translation>Bullet List (Disc)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bullet List (Circle)</source>
        <translation>Bullet List (Circle)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bullet List (Square)</source>
        <translation>Bullet List (Square)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordered List (Decimal)</source>
        <translation>Ordered List (Decimal)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ordered List (Alpha lower)</source>
        <translation>Ordered List (Alpha lower)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordered List (Alpha upper)</source>
        <translation>Ordered List (Alpha upper)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ordered List (Roman lower)</source>
        <translation>Ordered List (Roman lower)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ordered List (Roman upper)</source>
        <translation>Ordered List (Roman upper)</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <location filename="../../src/player/helpwindow.cpp" line="+28"/>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>More on the home page: &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;</source>
        <translation>More on the home page: &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>The guide %1 is missing.</source>
        <translation>The guide %1 is missing.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>%1 (also in the editor)</source>
        <translation>%1 (also in the editor)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keys in the player window</source>
        <translation>Keys in the player window</translation>
    </message>
</context>
<context>
    <name>KeyListDialog</name>
    <message>
        <location filename="../../src/player/keylistdialog.cpp" line="+13"/>
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Command</source>
        <translation>Command</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>In the player</source>
        <translation>In the player</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>In the editor</source>
        <translation>In the editor</translation>
    </message>
</context>
<context>
    <name>LessonController</name>
    <message>
        <location filename="../../src/lesson/lessonmemory.cpp" line="+99"/>
        <source>The score could not be kept: %1</source>
        <translation>The score could not be kept: %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>What the check missed could not be kept for review: %1</source>
        <translation>What the check missed could not be kept for review: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The check could not be logged for your progress: %1</source>
        <translation>The check could not be logged for your progress: %1</translation>
    </message>
    <message>
        <location filename="../../src/lesson/lessonsentences.cpp" line="+104"/>
        <source>There is no text to use as the lesson text.</source>
        <translation>There is no text to use as the lesson text.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot keep the pasted text in %1: %2</source>
        <translation>Cannot keep the pasted text in %1: %2</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>%1 gives no sentences:</source>
        <translation>%1 gives no sentences:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Some cues of %1 were left out:</source>
        <translation>Some cues of %1 were left out:</translation>
    </message>
    <message>
        <location filename="../../src/lesson/lessonfixes.cpp" line="+76"/>
        <source>The loop is on no sentence whose marks could be kept.</source>
        <translation>The loop is on no sentence whose marks could be kept.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Only sentences of subtitles or of a lesson text can keep marks.</source>
        <translation>Only sentences of subtitles or of a lesson text can keep marks.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>These marks leave sentence %1 no room between the sentences around it.</source>
        <translation>These marks leave sentence %1 no room between the sentences around it.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The marks could not be kept: %1</source>
        <translation>The marks could not be kept: %1</translation>
    </message>
</context>
<context>
    <name>LessonDialogs</name>
    <message>
        <location filename="../../src/player/lessondialogs.cpp" line="+40"/>
        <source>Open File</source>
        <translation>Open File</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Media (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv *.wma *.wmv)</source>
        <translation>Media (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv *.wma *.wmv)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Subtitles</source>
        <translation>Subtitles</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Lesson Text: %1</source>
        <translation>Lesson Text: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Load Subtitles...</source>
        <translation>Load Subtitles...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lesson Text...</source>
        <translation>Lesson Text...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Paste Lesson Text</source>
        <translation>Paste Lesson Text</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Save Sentences as Subtitles...</source>
        <translation>Save Sentences as Subtitles...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Load Translation...</source>
        <translation>Load Translation...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Load Subtitles</source>
        <translation>Load Subtitles</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+51"/>
        <source>Subtitles (*.srt *.vtt *.ass *.ssa);;All Files (*)</source>
        <translation>Subtitles (*.srt *.vtt *.ass *.ssa);;All Files (*)</translation>
    </message>
    <message>
        <location line="-43"/>
        <source>Lesson Text</source>
        <translation>Lesson Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Transcripts (*.txt *.md *.html *.htm *.pdf);;All Files (*)</source>
        <translation>Transcripts (*.txt *.md *.html *.htm *.pdf);;All Files (*)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save Sentences as Subtitles</source>
        <translation>Save Sentences as Subtitles</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This lesson has no sentences to save yet.</source>
        <translation>This lesson has no sentences to save yet.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>SRT Subtitles (*.srt)</source>
        <translation>SRT Subtitles (*.srt)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>WebVTT Subtitles (*.vtt)</source>
        <translation>WebVTT Subtitles (*.vtt)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sentences with Word Times, JSON (*.json)</source>
        <translation>Sentences with Word Times, JSON (*.json)</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Load Translation</source>
        <translation>Load Translation</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lesson Summary: %1</source>
        <translation>Lesson Summary: %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Forget This Lesson</source>
        <translation>Forget This Lesson</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forget where you were in %1, its loop and the scores of its sentences?</source>
        <translation>Forget where you were in %1, its loop and the scores of its sentences?</translation>
    </message>
</context>
<context>
    <name>LessonPanel</name>
    <message>
        <location filename="../../src/player/lessonpanel.cpp" line="+60"/>
        <source>The length of this file is unknown.</source>
        <translation>The length of this file is unknown.</translation>
    </message>
</context>
<context>
    <name>LessonSummary</name>
    <message>
        <location filename="../../src/player/lessonsummary.cpp" line="+36"/>
        <source>Accuracy</source>
        <translation>Accuracy</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sentence</source>
        <translation>Sentence</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>Lesson Summary</source>
        <translation>Lesson Summary</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The best accuracy of each sentence, in the lesson&apos;s order</source>
        <translation>The best accuracy of each sentence, in the lesson&apos;s order</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Sentences checked: %1 of %2 (%3%)</source>
        <translation>Sentences checked: %1 of %2 (%3%)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Mean best accuracy: %1%</source>
        <translation>Mean best accuracy: %1%</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No sentence has been checked yet.</source>
        <translation>No sentence has been checked yet.</translation>
    </message>
</context>
<context>
    <name>Media</name>
    <message>
        <location filename="../../src/media/media.cpp" line="+31"/>
        <source>Error opening %1:
Error while parsing header.</source>
        <translation>Error opening %1:
Error while parsing header.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Error opening %1:
Unknown format.</source>
        <translation>Error opening %1:
Unknown format.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error opening %1:
Incorrect numbered image sequence syntax.</source>
        <translation>Error opening %1:
Incorrect numbered image sequence syntax.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error opening %1:
Memory allocation error.</source>
        <translation>Error opening %1:
Memory allocation error.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Error opening %1:
I/O error. Usually that means that input file is truncated and/or corrupted.</source>
        <translation>Error opening %1:
I/O error. Usually that means that input file is truncated and/or corrupted.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Error opening %1:
No such file.</source>
        <translation>Error opening %1:
No such file.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error opening %1:
Couldn&apos;t open the file.</source>
        <translation>Error opening %1:
Couldn&apos;t open the file.</translation>
    </message>
    <message>
        <location line="+186"/>
        <source>Error opening %1:
Couldn&apos;t find any stream information in this file.</source>
        <translation>Error opening %1:
Couldn&apos;t find any stream information in this file.</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Error opening %1:
Cannot allocate pictures buffer.</source>
        <translation>Error opening %1:
Cannot allocate pictures buffer.</translation>
    </message>
    <message>
        <location line="-17"/>
        <source>Error opening %1:
Cannot create a suitable conversion context to RGB.</source>
        <translation>Error opening %1:
Cannot create a suitable conversion context to RGB.</translation>
    </message>
    <message>
        <location line="+133"/>
        <source>Error reading %1 !

Logs;
%2Decoding interupted. </source>
        <translation>Error reading %1 !

Logs;
%2Decoding interupted. </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The lesson file %1 was removed or changed while it played.</source>
        <translation>The lesson file %1 was removed or changed while it played.</translation>
    </message>
    <message>
        <location line="-142"/>
        <source>Error opening %1:
The file has no sound or picture this program can play.</source>
        <translation>Error opening %1:
The file has no sound or picture this program can play.</translation>
    </message>
</context>
<context>
    <name>PhoneticDialog</name>
    <message>
        <location filename="../../src/phonetic/phoneticdialog.ui" line="+26"/>
        <source>vorlynplayer 听音查词 V1.2</source>
        <translation>vorlynplayer Word Lookup by Sound V1.2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>模糊查词</source>
        <translation>Fuzzy search</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>特殊音标符号</source>
        <translation>Special phonetic symbols</translation>
    </message>
    <message>
        <location line="+349"/>
        <source>听音查词</source>
        <translation>Search by sound</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Say the chosen word aloud (Alt+H)</source>
        <translation>Say the chosen word aloud (Alt+H)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Hear</source>
        <translation>&amp;Hear</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>使用说明</source>
        <translation>How to use</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>
  输入音标后，软件会根据读音，搜索出单词！

  特殊音标点击按钮，其它用键盘输入。

  如输入[igzɑ:mpl]即可查得example</source>
        <translation>
  Type what you hear to find the word.

  Click the keys for special symbols.

  Typing [igzɑ:mpl] finds example</translation>
    </message>
    <message>
        <location filename="../../src/phonetic/phoneticdialog.cpp" line="+138"/>
        <source>Type the sounds with the letters b d e f g h i j k l m n o p r s t u v w z, a for ɑ, : for a long vowel (ː) and &apos; for stress (ˈ); click the keys for the other symbols. For example, igza:mpl finds example.</source>
        <translation>Type the sounds with the letters b d e f g h i j k l m n o p r s t u v w z, a for ɑ, : for a long vowel (ː) and &apos; for stress (ˈ); click the keys for the other symbols. For example, igza:mpl finds example.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The dictionary &quot;%1&quot; cannot be read: %2</source>
        <translation>The dictionary &quot;%1&quot; cannot be read: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&quot;%1&quot; is not a search pattern the dialog can read.</source>
        <translation>&quot;%1&quot; is not a search pattern the dialog can read.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No word matches &quot;%1&quot;.</source>
        <translation>No word matches &quot;%1&quot;.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&quot;%1&quot; cannot be read as a pronunciation.</source>
        <translation>&quot;%1&quot; cannot be read as a pronunciation.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No word sounds like &quot;%1&quot;.</source>
        <translation>No word sounds like &quot;%1&quot;.</translation>
    </message>
    <message>
        <location line="-40"/>
        <source>Sounds close:</source>
        <translation>Sounds close:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Not what you typed, but it sounds close to it</source>
        <translation>Not what you typed, but it sounds close to it</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Read as: %1</source>
        <translation>Read as: %1</translation>
    </message>
</context>
<context>
    <name>PlayerKeys</name>
    <message>
        <location filename="../../src/player/playerkeys.cpp" line="+29"/>
        <source>Move the loop&apos;s start earlier</source>
        <translation>Move the loop&apos;s start earlier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move the loop&apos;s start later</source>
        <translation>Move the loop&apos;s start later</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move the loop&apos;s end earlier</source>
        <translation>Move the loop&apos;s end earlier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Move the loop&apos;s end later</source>
        <translation>Move the loop&apos;s end later</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Play or pause</source>
        <translation>Play or pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the stretch before</source>
        <translation>Loop the stretch before</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start the loop here</source>
        <translation>Start the loop here</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End the loop here</source>
        <translation>End the loop here</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the stretch after</source>
        <translation>Loop the stretch after</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Slower</source>
        <translation>Slower</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Faster</source>
        <translation>Faster</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Normal speed</source>
        <translation>Normal speed</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the sentence here</source>
        <translation>Loop the sentence here</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Skip back</source>
        <translation>Skip back</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Skip forward</source>
        <translation>Skip forward</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drill on or off</source>
        <translation>Drill on or off</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drill: play the sentence again</source>
        <translation>Drill: play the sentence again</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Drill: next sentence</source>
        <translation>Drill: next sentence</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Drill: show a hint</source>
        <translation>Drill: show a hint</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Drill: show the sentence</source>
        <translation>Drill: show the sentence</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Drill: show or hide the translation</source>
        <translation>Drill: show or hide the translation</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check what I wrote</source>
        <translation>Check what I wrote</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check the whole transcript</source>
        <translation>Check the whole transcript</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Review what I missed, or end the review</source>
        <translation>Review what I missed, or end the review</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open a lesson</source>
        <translation>Open a lesson</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Leave full screen</source>
        <translation>Leave full screen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Stop and close the lesson</source>
        <translation>Stop and close the lesson</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Loop the whole lesson</source>
        <translation>Loop the whole lesson</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show or hide the editor</source>
        <translation>Show or hide the editor</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <location filename="../../src/player/preferencesdialog.cpp" line="+26"/>
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>For lessons opened for the first time. A lesson studied before keeps its own.</source>
        <translation>For lessons opened for the first time. A lesson studied before keeps its own.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Higher brings what you missed back sooner and more often.</source>
        <translation>Higher brings what you missed back sooner and more often.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Review what I missed when my chance of recalling it falls to</source>
        <translation>Review what I missed when my chance of recalling it falls to</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Drill</source>
        <translation>Drill</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+132"/>
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message>
        <location line="-114"/>
        <source>As the system</source>
        <translation>As the system</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Interface language</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Takes effect at the next start.</source>
        <translation>Takes effect at the next start.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>American English (en_US)</source>
        <translation>American English (en_US)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>British English (en_GB)</source>
        <translation>British English (en_GB)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Spelling dictionary</source>
        <translation>Spelling dictionary</translation>
    </message>
    <message>
        <location line="+7"/>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A nudge moves a loop mark by</source>
        <translation>A nudge moves a loop mark by</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Click a field and press the key, a foot pedal&apos;s too.</source>
        <translation>Click a field and press the key, a foot pedal&apos;s too.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Command</source>
        <translation>Command</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Key</source>
        <translation>Key</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Alternate key</source>
        <translation>Alternate key</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Restore Default Keys</source>
        <translation>Restore Default Keys</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>%1 is already the key of “%2”.</source>
        <translation>%1 is already the key of “%2”.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 is the editor&apos;s key for “%2”: pressed there, it would not reach the player.</source>
        <translation>%1 is the editor&apos;s key for “%2”: pressed there, it would not reach the player.</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <location filename="../../src/player/progresswindow.cpp" line="+161"/>
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>d MMM</source>
        <extracomment>how a day is named under a bar of the progress charts (QDate format)</extracomment>
        <translation>d MMM</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>No sentence has been checked in the last %n day(s). Check what you wrote against a sentence, and your progress shows here.</source>
        <translation>
            <numerusform>No sentence has been checked in the last day. Check what you wrote against a sentence, and your progress shows here.</numerusform>
            <numerusform>No sentence has been checked in the last %n days. Check what you wrote against a sentence, and your progress shows here.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>Nothing is due for review in the next %n day(s).</source>
        <translation>
            <numerusform>Nothing is due for review in the next day.</numerusform>
            <numerusform>Nothing is due for review in the next %n days.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Mean accuracy of the checks by day</source>
        <translation>Mean accuracy of the checks by day</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sentences checked by day</source>
        <translation>Sentences checked by day</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Review items due by day</source>
        <translation>Review items due by day</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Words missed most</source>
        <translation>Words missed most</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Click a word to look up its pronunciation.</source>
        <translation>Click a word to look up its pronunciation.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No word has been missed yet.</source>
        <translation>No word has been missed yet.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Look up the pronunciation of “%1”</source>
        <translation>Look up the pronunciation of “%1”</translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>Missed %n time(s)</source>
        <translation>
            <numerusform>Missed once</numerusform>
            <numerusform>Missed %n times</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecentLessonsMenu</name>
    <message>
        <location filename="../../src/player/recentlessons.cpp" line="+14"/>
        <source>Recent Lessons</source>
        <translation>Recent Lessons</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>ReviewExport</name>
    <message>
        <location filename="../../src/player/reviewexport.cpp" line="+15"/>
        <source>Export Review Items</source>
        <translation>Export Review Items</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>There are no review items yet: a check that finds mistakes keeps what was missed for review.</source>
        <translation>There are no review items yet: a check that finds mistakes keeps what was missed for review.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Flashcards as Tab-Separated Text (*.txt)</source>
        <translation>Flashcards as Tab-Separated Text (*.txt)</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Cutting the sound clips of the flashcards...</source>
        <translation>Cutting the sound clips of the flashcards...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <location line="+40"/>
        <source>%n review item(s) were left out: their lesson file is missing, has changed since the check, or has no sound.</source>
        <translation>
            <numerusform>%n review item was left out: its lesson file is missing, has changed since the check, or has no sound.</numerusform>
            <numerusform>%n review items were left out: their lesson file is missing, has changed since the check, or has no sound.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Wrote %n flashcard(s) to %1, their sound clips beside it.</source>
        <translation>
            <numerusform>Wrote %n flashcard to %1, its sound clip beside it.</numerusform>
            <numerusform>Wrote %n flashcards to %1, their sound clips beside it.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The flashcards were not written. %1</source>
        <translation>The flashcards were not written. %1</translation>
    </message>
</context>
<context>
    <name>ReviewPrompt</name>
    <message>
        <location filename="../../src/player/reviewprompt.cpp" line="+85"/>
        <source>Review</source>
        <translation>Review</translation>
    </message>
    <message>
        <location line="-54"/>
        <source>End Review</source>
        <translation>End Review</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Review (%n due)...</source>
        <translation>
            <numerusform>Review (%n due)...</numerusform>
            <numerusform>Review (%n due)...</numerusform>
        </translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Nothing was reviewed.</source>
        <translation>Nothing was reviewed.</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n item(s) reviewed, %1 recalled on the first try.</source>
        <translation>
            <numerusform>%n item reviewed, %1 recalled on the first try.</numerusform>
            <numerusform>%n items reviewed, %1 recalled on the first try.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Passed over, their items still due: lessons that cannot be found:</source>
        <translation>Passed over, their items still due: lessons that cannot be found:</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Passed over, their items still due: %n sentence(s) no longer in their lesson.</source>
        <translation>
            <numerusform>Passed over, its items still due: %n sentence no longer in its lesson.</numerusform>
            <numerusform>Passed over, their items still due: %n sentences no longer in their lesson.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Next due: %1.</source>
        <translation>Next due: %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing is waiting for review.</source>
        <translation>Nothing is waiting for review.</translation>
    </message>
</context>
<context>
    <name>SentenceDock</name>
    <message>
        <location filename="../../src/player/sentencedock.cpp" line="+10"/>
        <source>Sentences</source>
        <translation>Sentences</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sentence List</source>
        <translation>Sentence List</translation>
    </message>
</context>
<context>
    <name>SentenceList</name>
    <message>
        <location filename="../../src/player/sentencelist.cpp" line="+48"/>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Length (s)</source>
        <translation>Length (s)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+202"/>
        <source>Click a sentence to loop it, or its circle to show its text; %1 loops the sentence under the playhead</source>
        <translation>Click a sentence to loop it, or its circle to show its text; %1 loops the sentence under the playhead</translation>
    </message>
    <message>
        <location line="-193"/>
        <location line="+168"/>
        <source>Finding the sentences</source>
        <translation>Finding the sentences</translation>
    </message>
    <message>
        <location line="-151"/>
        <source>Show All Sentence Texts</source>
        <translation>Show All Sentence Texts</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Subtitle lines left out: %1</source>
        <translation>Subtitle lines left out: %1</translation>
    </message>
    <message>
        <location line="+98"/>
        <source>Placing the lesson text in the sound</source>
        <translation>Placing the lesson text in the sound</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Loop This Sentence</source>
        <translation>Loop This Sentence</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Hide Its Text</source>
        <translation>Hide Its Text</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Show Its Text</source>
        <translation>Show Its Text</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Not heard in the sound: its place is a guess between its neighbours.</source>
        <translation>Not heard in the sound: its place is a guess between its neighbours.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Much other sound around it: its place may be off.</source>
        <translation>Much other sound around it: its place may be off.</translation>
    </message>
    <message>
        <location line="-150"/>
        <source>%1% on %2</source>
        <translation>%1% on %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Best: %1; last: %2</source>
        <translation>Best: %1; last: %2</translation>
    </message>
</context>
<context>
    <name>SpellCheckDialog</name>
    <message>
        <location filename="../../src/spelling/spellcheckdialog.ui" line="+14"/>
        <source>Spell Checker</source>
        <translation>Spell Checker</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>unknown word:</source>
        <translation>unknown word:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&lt;&lt; add to dictionary</source>
        <translation>&lt;&lt; add to dictionary</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>replace with:</source>
        <translation>replace with:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>replace once</source>
        <translation>replace once</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>replace all</source>
        <translation>replace all</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>ignore once</source>
        <translation>ignore once</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ignore all</source>
        <translation>ignore all</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
</context>
<context>
    <name>SpellCheckRun</name>
    <message>
        <location filename="../../src/editor/spellcheckrun.cpp" line="+87"/>
        <source>Finished</source>
        <translation>Finished</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The spell check has finished.</source>
        <translation>The spell check has finished.</translation>
    </message>
</context>
<context>
    <name>StudySession</name>
    <message>
        <location filename="../../src/app/studysession.cpp" line="+35"/>
        <source>Vorlyn Player</source>
        <translation>Vorlyn Player</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Hear a word</source>
        <translation>Hear a word</translation>
    </message>
</context>
<context>
    <name>TextEdit</name>
    <message>
        <location filename="../../src/editor/textedit.cpp" line="+113"/>
        <source>File Actions</source>
        <translation>File Actions</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;New</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Open...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Save &amp;As...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Print...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Print Preview...</source>
        <translation>Print Preview...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Export PDF...</source>
        <translation>&amp;Export PDF...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Edit Actions</source>
        <translation>Edit Actions</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cu&amp;t</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Tenvale Actions</source>
        <translation>Tenvale Actions</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;SpellCheck</source>
        <translation>&amp;SpellCheck</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;PhoneticLookup</source>
        <translation>&amp;PhoneticLookup</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;DiffText</source>
        <translation>&amp;DiffText</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>American English (en_US)</source>
        <translation>American English (en_US)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>British English (en_GB)</source>
        <translation>British English (en_GB)</translation>
    </message>
    <message>
        <location line="+144"/>
        <source>Print Document</source>
        <translation>Print Document</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <location filename="../../src/player/trayicon.cpp" line="+19"/>
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimize</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Restore</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Vorlyn Player</source>
        <translation>Vorlyn Player</translation>
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
        <translation>Vorlyn Player</translation>
    </message>
    <message>
        <location line="-65"/>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Full Screen</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Keep Aspect Ratio</source>
        <translation>Keep Aspect Ratio</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <location filename="../../src/player/vkmenu.cpp" line="+28"/>
        <source>Keep These Marks for the Sentence</source>
        <translation>Keep These Marks for the Sentence</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Check Whole Transcript</source>
        <translation>Check Whole Transcript</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lesson Summary...</source>
        <translation>Lesson Summary...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Progress...</source>
        <translation>Progress...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forget This Lesson...</source>
        <translation>Forget This Lesson...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Export Review Items...</source>
        <translation>Export Review Items...</translation>
    </message>
    <message>
        <location filename="../../src/player/vk.cpp" line="+35"/>
        <source>%1 - Vorlyn Player</source>
        <translation>%1 - Vorlyn Player</translation>
    </message>
    <message>
        <location filename="../../src/player/filekind.cpp" line="+67"/>
        <source>%1: only one lesson opens at a time.</source>
        <translation>%1: only one lesson opens at a time.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1: only one document opens at a time.</source>
        <translation>%1: only one document opens at a time.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1: there is no such file, or it cannot be read.</source>
        <translation>%1: there is no such file, or it cannot be read.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: neither a lesson (sound or video) nor a document.</source>
        <translation>%1: neither a lesson (sound or video) nor a document.</translation>
    </message>
    <message>
        <location filename="../../src/player/vk.cpp" line="-57"/>
        <location line="+211"/>
        <location line="+1"/>
        <source>Drill</source>
        <translation>Drill</translation>
    </message>
    <message>
        <location line="-202"/>
        <source>Drill Settings...</source>
        <translation>Drill Settings...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Preferences...</source>
        <translation>Preferences...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keys...</source>
        <translation>Keys...</translation>
    </message>
    <message>
        <location line="+184"/>
        <source>(no key)</source>
        <translation>(no key)</translation>
    </message>
</context>
<context>
    <name>WaveformStrip</name>
    <message>
        <location filename="../../src/player/waveformstrip.cpp" line="+255"/>
        <source>Drag a loop mark to move it, turn the wheel to zoom; %1 loops the sentence under the playhead</source>
        <translation>Drag a loop mark to move it, turn the wheel to zoom; %1 loops the sentence under the playhead</translation>
    </message>
</context>
<context>
    <name>WordCheckDialog</name>
    <message>
        <location filename="../../src/diff/wordcheckdialog.cpp" line="+14"/>
        <source>Word check</source>
        <translation>Word check</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Word accuracy: %1%</source>
        <translation>Word accuracy: %1%</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Letter accuracy: %1%</source>
        <translation>Letter accuracy: %1%</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 misspelt</source>
        <translation>%1 misspelt</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 of %2 words right, %3 wrong, %4, %5 split or joined, %6 missing, %7 extra</source>
        <extracomment>%4 is the number of misspelt words, as &quot;%1 misspelt&quot; says it, in its own colour</extracomment>
        <translation>%1 of %2 words right, %3 wrong, %4, %5 split or joined, %6 missing, %7 extra</translation>
    </message>
</context>
<context>
    <name>cards::Card</name>
    <message>
        <location filename="../../src/cards/cardtext.cpp" line="+81"/>
        <source>Write down what you hear.</source>
        <translation>Write down what you hear.</translation>
    </message>
</context>
<context>
    <name>cards::ClipCutter</name>
    <message>
        <location filename="../../src/cards/clipcutter.cpp" line="+305"/>
        <source>Cannot write the sound clip %1: %2</source>
        <translation>Cannot write the sound clip %1: %2</translation>
    </message>
</context>
<context>
    <name>cards::DeckExport</name>
    <message>
        <location filename="../../src/cards/deckexport.cpp" line="+49"/>
        <source>Cannot write into the folder %1: %2</source>
        <translation>Cannot write into the folder %1: %2</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>None of the review items has its lesson file at hand.</source>
        <translation>None of the review items has its lesson file at hand.</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+22"/>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Cannot write %1.</source>
        <translation>Cannot write %1.</translation>
    </message>
</context>
<context>
    <name>lesson::LessonStore</name>
    <message>
        <location filename="../../src/lesson/lessonstore.cpp" line="+205"/>
        <source>The lesson memory %1 cannot be used (%2): lessons will not be remembered.</source>
        <translation>The lesson memory %1 cannot be used (%2): lessons will not be remembered.</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>it was written by a newer version of the program</source>
        <translation>it was written by a newer version of the program</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>The lesson memory could not be read (%1). It was moved to %2, and a new one was begun.</source>
        <translation>The lesson memory could not be read (%1). It was moved to %2, and a new one was begun.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The new one cannot be made either (%1).</source>
        <translation>The new one cannot be made either (%1).</translation>
    </message>
</context>
<context>
    <name>lesson::LessonText</name>
    <message>
        <location filename="../../src/lesson/lessontext.cpp" line="+66"/>
        <source>The PDF %1 is damaged or not a PDF; its text cannot be read.</source>
        <translation>The PDF %1 is damaged or not a PDF; its text cannot be read.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The PDF %1 is locked with a password; its text cannot be read.</source>
        <translation>The PDF %1 is locked with a password; its text cannot be read.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The PDF %1 has no text layer: its pages are only images. Choose a PDF whose text can be selected, or a text file.</source>
        <translation>The PDF %1 has no text layer: its pages are only images. Choose a PDF whose text can be selected, or a text file.</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>Cannot open the lesson text %1.</source>
        <translation>Cannot open the lesson text %1.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Cannot read the lesson text %1.</source>
        <translation>Cannot read the lesson text %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The lesson text %1 is over 20 MB, too long for a lesson.</source>
        <translation>The lesson text %1 is over 20 MB, too long for a lesson.</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>The lesson text %1 has no text.</source>
        <translation>The lesson text %1 has no text.</translation>
    </message>
</context>
<context>
    <name>lesson::LessonTranslation</name>
    <message>
        <location filename="../../src/lesson/lessontranslation.cpp" line="+39"/>
        <source>The translation could not be loaded. %1</source>
        <translation>The translation could not be loaded. %1</translation>
    </message>
</context>
<context>
    <name>lesson::ReviewSession</name>
    <message>
        <location filename="../../src/lesson/reviewsession.cpp" line="+95"/>
        <source>%1 cannot be found, or is no longer the file it was: its review items stay due.</source>
        <translation>%1 cannot be found, or is no longer the file it was: its review items stay due.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 does not open: its review items stay due.</source>
        <translation>%1 does not open: its review items stay due.</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>The sentence &quot;%1&quot; is no longer among the sentences of %2: its review items stay due.</source>
        <translation>The sentence &quot;%1&quot; is no longer among the sentences of %2: its review items stay due.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The review could not be kept: %1</source>
        <translation>The review could not be kept: %1</translation>
    </message>
</context>
<context>
    <name>lesson::Sentences</name>
    <message>
        <location filename="../../src/lesson/sentences.cpp" line="+119"/>
        <source>The cue at %1 cannot be decoded; it was left out.</source>
        <translation>The cue at %1 cannot be decoded; it was left out.</translation>
    </message>
    <message>
        <location line="+159"/>
        <source>Cannot open the subtitle file %1.</source>
        <translation>Cannot open the subtitle file %1.</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>%1 is not a subtitle file this program can read.</source>
        <translation>%1 is not a subtitle file this program can read.</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>A cue after %1 has times that cannot be read; it was left out.</source>
        <translation>A cue after %1 has times that cannot be read; it was left out.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cues with times that cannot be read were left out: %1.</source>
        <translation>Cues with times that cannot be read were left out: %1.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Cannot open %1.</source>
        <translation>Cannot open %1.</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>The cue at %1 has no text; it was left out.</source>
        <translation>The cue at %1 has no text; it was left out.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The cue at %1 has no length; it was left out.</source>
        <translation>The cue at %1 has no length; it was left out.</translation>
    </message>
    <message>
        <location filename="../../src/lesson/speechanalyser.cpp" line="+98"/>
        <source>Cannot find the sentences of %1: it has no sound this program can read.</source>
        <translation>Cannot find the sentences of %1: it has no sound this program can read.</translation>
    </message>
    <message>
        <location filename="../../src/lesson/sentences.cpp" line="+7"/>
        <source>The cue at %1 ends before the lesson begins; it was left out.</source>
        <translation>The cue at %1 ends before the lesson begins; it was left out.</translation>
    </message>
</context>
<context>
    <name>lesson::SubtitleWriter</name>
    <message>
        <location filename="../../src/lesson/subtitlewriter.cpp" line="+127"/>
        <source>Sentences can be saved as .srt, .vtt or .json files, not as %1.</source>
        <translation>Sentences can be saved as .srt, .vtt or .json files, not as %1.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot save %1:
%2</source>
        <translation>Cannot save %1:
%2</translation>
    </message>
</context>
<context>
    <name>lesson::TextAlignment</name>
    <message>
        <location filename="../../src/lesson/textalignment.cpp" line="+192"/>
        <source>The lesson text has no sentences to listen for.</source>
        <translation>The lesson text has no sentences to listen for.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The speech recogniser&apos;s English model is not installed (%1): the lesson text cannot be placed in the sound.</source>
        <translation>The speech recogniser&apos;s English model is not installed (%1): the lesson text cannot be placed in the sound.</translation>
    </message>
    <message>
        <location line="+112"/>
        <source>Only %1 of the %2 sentences of the lesson text were heard in the lesson: is it the text of this recording?</source>
        <translation>Only %1 of the %2 sentences of the lesson text were heard in the lesson: is it the text of this recording?</translation>
    </message>
    <message>
        <location line="-47"/>
        <source>The sentence &quot;%1&quot; was not heard, and there is no room for it between its neighbours; it was left out.</source>
        <translation>The sentence &quot;%1&quot; was not heard, and there is no room for it between its neighbours; it was left out.</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>%1 has no sound this program can read.</source>
        <translation>%1 has no sound this program can read.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../../src/app/main.cpp" line="+85"/>
        <source>Usage: vorlynplayer --align LESSON TEXT --output FILE
FILE ends in .srt, .vtt, or .json (with the words&apos; times).
</source>
        <translation>Usage: vorlynplayer --align LESSON TEXT --output FILE
FILE ends in .srt, .vtt, or .json (with the words&apos; times).
</translation>
    </message>
</context>
<context>
    <name>speech::Synthesizer</name>
    <message>
        <location filename="../../src/speech/synthesizer.cpp" line="+73"/>
        <source>There is no word to hear.</source>
        <translation>There is no word to hear.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Only a word or a short phrase can be heard, not &quot;%1…&quot;.</source>
        <translation>Only a word or a short phrase can be heard, not &quot;%1…&quot;.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&quot;%1&quot; has nothing to say: it has no letters.</source>
        <translation>&quot;%1&quot; has nothing to say: it has no letters.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The speech synthesizer cannot start: its data (Debian&apos;s package espeak-ng-data) is missing.</source>
        <translation>The speech synthesizer cannot start: its data (Debian&apos;s package espeak-ng-data) is missing.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The speech synthesizer has no voice %1.</source>
        <translation>The speech synthesizer has no voice %1.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The speech synthesizer made no sound for &quot;%1&quot;.</source>
        <translation>The speech synthesizer made no sound for &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>speech::WordSpeaker</name>
    <message>
        <location filename="../../src/speech/wordspeaker.cpp" line="+54"/>
        <source>There is no sound output to say &quot;%1&quot; on.</source>
        <translation>There is no sound output to say &quot;%1&quot; on.</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>PhoneticDialog</name>
    <message>
        <location filename="../../src/phonetic/phoneticdialog.cpp" line="+80"/>
        <source>vorlynplayer 听音查词 V1.2</source>
        <translation>vorlynplayer Word Lookup by Sound V1.2</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>模糊查词</source>
        <translation>Fuzzy search</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>特殊音标符号</source>
        <translation>Special phonetic symbols</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>听音查词</source>
        <translation>Search by sound</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>使用说明</source>
        <translation>How to use</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>
  输入音标后，软件会根据读音，搜索出单词！

  特殊音标点击按钮，其它用键盘输入。

  如输入[igzɑ:mpl]即可查得example</source>
        <translation>
  Type what you hear to find the word.

  Click the keys for special symbols.

  Typing [igzɑ:mpl] finds example</translation>
    </message>
</context>
</TS>

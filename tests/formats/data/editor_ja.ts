<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>EditorWindow</name>
    <message>
        <location filename="editor.ui" line="116"/>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <location filename="editor.ui" line="145"/>
        <source>Cu&amp;t</source>
        <translation>切り取り(&amp;T)</translation>
    </message>
    <message>
        <location filename="editor.ui" line="150"/>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <location filename="editor.ui" line="155"/>
        <source>&amp;Paste</source>
        <translation>貼り付け(&amp;C)</translation>
    </message>
</context>
</TS>

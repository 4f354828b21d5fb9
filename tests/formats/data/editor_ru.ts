<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>EditorWindow</name>
    <message>
        <location filename="editor.ui" line="116"/>
        <source>&amp;Edit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <location filename="editor.ui" line="145"/>
        <source>Cu&amp;t</source>
        <translation>&amp;Вырезать</translation>
    </message>
    <message>
        <location filename="editor.ui" line="150"/>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <location filename="editor.ui" line="155"/>
        <source>&amp;Paste</source>
        <translation>&amp;Вставить</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NotePad</name>
    <message>
        <location filename="notepad.ui" line="11"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="20"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="31"/>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="36"/>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="41"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="46"/>
        <source>Cu&amp;t</source>
        <translation>Aus&amp;schneiden</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="51"/>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="56"/>
        <source>&amp;Paste</source>
        <translation>Ein&amp;setzen</translation>
    </message>
    <message>
        <location filename="notepad.ui" line="6"/>
        <source>Note Pad</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

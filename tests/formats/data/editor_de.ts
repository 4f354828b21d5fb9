<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>EditorWindow</name>
    <message>
        <location filename="editor.ui" line="6"/>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
    <message>
        <location filename="editor.ui" line="13"/>
        <source>&amp;Find:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <location filename="editor.ui" line="27"/>
        <source>Press &amp;Enter to search</source>
        <translation>&amp;Eingabe drücken, um zu suchen</translation>
    </message>
    <message>
        <location filename="editor.ui" line="35"/>
        <source>&amp;General</source>
        <translation>&amp;Allgemein</translation>
    </message>
    <message>
        <location filename="editor.ui" line="41"/>
        <source>&amp;Wrap lines</source>
        <translation type="unfinished">&amp;Zeilen umbrechen</translation>
    </message>
    <message>
        <location filename="editor.ui" line="56"/>
        <source>F&amp;onts</source>
        <translation>&amp;Schriften</translation>
    </message>
    <message>
        <location filename="editor.ui" line="63"/>
        <source>&amp;Choose...</source>
        <translation><![CDATA[&Wählen...]]></translation>
    </message>
    <message>
        <location filename="editor.ui" line="70"/>
        <source>Fish &amp;&amp; &amp;Chips</source>
        <translation>Fisch &amp;&amp; &amp;Pommes</translation>
    </message>
    <message>
        <location filename="editor.ui" line="81"/>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <location filename="editor.ui" line="100"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="editor.ui" line="105"/>
        <source>&amp;Recent files</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <location filename="editor.ui" line="116"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location filename="editor.ui" line="129"/>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <location filename="editor.ui" line="135"/>
        <source>&amp;Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="editor.ui" line="140"/>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <location filename="editor.ui" line="145"/>
        <source>Cu&amp;t</source>
        <translation>Aus&amp;schneiden</translation>
    </message>
    <message>
        <location filename="editor.ui" line="150"/>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <location filename="editor.ui" line="155"/>
        <source>&amp;Paste</source>
        <translation>Ein&amp;setzen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="vanished">&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="obsolete">&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>SearchPanel</name>
    <message>
        <source>&amp;Next</source>
        <comment>search forwards</comment>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Whole words</source>
        <translation>&amp;Wörter</translation>
    </message>
    <message numerus="yes">
        <source>%n match(es)</source>
        <translation>
            <numerusform>%n Treffer</numerusform>
            <numerusform>%n Treffer</numerusform>
        </translation>
    </message>
</context>
</TS>

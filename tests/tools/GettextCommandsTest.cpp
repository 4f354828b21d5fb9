// check and fix on GtkBuilder files and gettext catalogues through the batch tool's entry
// function: "_" in every message and edit, translated menus checked as wholes, and catalogues
// mended in their msgstr texts only.
#include "CliRun.h"
#include "PoCharset.h"
#include "ScratchFolderTest.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// GTK 4: a menu whose Edit items share "C", and a dialog with a button without a key.
constexpr const char* ToolBuilder =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<interface>\n"
    "  <menu id=\"menubar\">\n"
    "    <submenu>\n"
    "      <attribute name=\"label\" translatable=\"yes\">_Edit</attribute>\n"
    "      <section>\n"
    "        <item>\n"
    "          <attribute name=\"label\" translatable=\"yes\">_Cut</attribute>\n"
    "        </item>\n"
    "      </section>\n"
    "      <section>\n"
    "        <item>\n"
    "          <attribute name=\"label\" translatable=\"yes\">_Copy</attribute>\n"
    "        </item>\n"
    "      </section>\n"
    "    </submenu>\n"
    "  </menu>\n"
    "  <object class=\"GtkDialog\" id=\"find\">\n"
    "    <child>\n"
    "      <object class=\"GtkButton\">\n"
    "        <property name=\"label\" translatable=\"yes\">Find</property>\n"
    "        <property name=\"use-underline\">True</property>\n"
    "      </object>\n"
    "    </child>\n"
    "  </object>\n"
    "</interface>\n";

class GettextCommandsTest : public TScratchFolderTest
{
protected:
    std::string CopyGtkFixture(const std::string& name, const std::string& as = {}) const
    {
        return Write(as.empty() ? name : as,
                     ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/" + name));
    }
};

TEST_F(GettextCommandsTest, BuilderFilesAreCheckedAndMendedWithTheirOwnMarker)
{
    const std::string file = Write("tool.ui", ToolBuilder);
    TRun run = RunTool({"check", Q(file)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, file +
                           ":13:54: error: key 'C' is used on lines 8, 13 "
                           "[menu \"menubar\" > \"_Edit\"]\n" +
                           file + ":21:51: warning: \"Find\" has no key [dialog \"find\"]\n");

    // A button with use-underline asks for a key.
    run = RunTool({"fix", Q(file)});
    EXPECT_EQ(run, (TRun{0, file + ": 2 captions changed\n", ""}));
    std::string expected = ToolBuilder;
    expected.replace(expected.find(">_Copy<"), 7, ">C_opy<");
    expected.replace(expected.find(">Find<"), 6, ">_Find<");
    EXPECT_EQ(ReadBytes(file), expected);
    EXPECT_EQ(RunTool({"check", Q(file)}), (TRun{0, "", ""}));
    EXPECT_EQ(RunTool({"fix", Q(file)}), (TRun{0, "", ""}));
    EXPECT_EQ(ReadBytes(file), expected);
}

TEST_F(GettextCommandsTest, AFolderSendsEachInterfaceFileToItsOwnReader)
{
    Write("gtk/tool.ui", ToolBuilder);
    Write("qt/tool.ui", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<ui version=\"4.0\">\n"
                        " <class>Tool</class>\n"
                        " <widget class=\"QDialog\" name=\"Tool\">\n"
                        "  <widget class=\"QPushButton\" name=\"a\">\n"
                        "   <property name=\"text\"><string>_Cut &amp;Copy</string></property>\n"
                        "  </widget>\n"
                        "  <widget class=\"QPushButton\" name=\"b\">\n"
                        "   <property name=\"text\"><string>&amp;Close</string></property>\n"
                        "  </widget>\n"
                        " </widget>\n"
                        "</ui>\n");
    const TRun run = RunTool({"check", Q(FDir.path().toStdString())});
    EXPECT_EQ(run.Status, 1);
    // "_" means nothing to Qt, "&" nothing to GTK.
    EXPECT_NE(run.Out.find("gtk/tool.ui:13:54: error: key 'C' is used on lines 8, 13"),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("qt/tool.ui:9:34: error: key 'C' is used on lines 6, 9"),
              std::string::npos)
        << run.Out;
}

TEST_F(GettextCommandsTest, MalformedFilesAreNamedWithTheirLineAndLeftAlone)
{
    std::string broken = ToolBuilder;
    broken.replace(broken.find("</section>"), 10, "</sektion>");
    const std::string file = Write("broken.ui", broken);
    for (const char* command : {"check", "fix"}) {
        const TRun run = RunTool({command, Q(file)});
        EXPECT_EQ(run.Status, 2) << command;
        EXPECT_EQ(run.Err.rfind(file + ":10:", 0), 0u) << run.Err;
    }
    EXPECT_EQ(ReadBytes(file), broken);

    const std::string catalogue = Write("broken.po", "msgid \"_Cut\"\nmsgstr \"_Ausschneiden\n");
    const TRun run = RunTool({"fix", Q(catalogue)});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, catalogue + ":2: end-of-line within string\n");
}

// Russian, each message alone: plural forms each, fuzzy and obsolete entries passed over.
constexpr const char* RussianAlone =
    "msgid \"\"\n"
    "msgstr \"\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\"Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && "
    "(n%100<10 || n%100>=20) ? 1 : 2);\\n\"\n"
    "\n"
    "#: src/files.c:10\n"
    "msgid \"_Delete %d file\"\n"
    "msgid_plural \"_Delete %d files\"\n"
    "msgstr[0] \"_Удалить %d файл\"\n"
    "msgstr[1] \"Удалить %d файла\"\n"
    "msgstr[2] \"_Удалить %d _файлов\"\n"
    "\n"
    "#: src/files.c:20\n"
    "msgid \"Size\"\n"
    "msgstr \"_Размер\"\n"
    "\n"
    "#, fuzzy\n"
    "msgid \"_Open\"\n"
    "msgstr \"Открыть\"\n"
    "\n"
    "#~ msgid \"_Old\"\n"
    "#~ msgstr \"Старый\"\n";

TEST_F(GettextCommandsTest, ACatalogueAloneIsCheckedStringByString)
{
    const std::string file = Write("ru.po", RussianAlone);
    TRun run = RunTool({"check", Q(file)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out,
              file +
                  ":10:12: warning: \"Удалить %d файла\" has no key [msgid \"_Delete %d files\" "
                  "[1]]\n" +
                  file +
                  ":11:12: error: 2 markers in \"_Удалить %d _файлов\", which takes one "
                  "[msgid \"_Delete %d files\" [2]]\n" +
                  file +
                  ":10:12: warning: translation has no key, but its source \"_Delete %d "
                  "files\" has one\n" +
                  file +
                  ":15:9: warning: translation has a key, but its source \"Size\" has "
                  "none\n");
    // Machine-readable output names what the per-string checkers would call each finding.
    const std::string json = RunTool({"check", "--format", "json", Q(file)}).Out;
    for (const char* rule :
         {"\"no-key\"", "\"several-markers\"", "\"source-key-missing\"", "\"key-not-in-source\""})
        EXPECT_NE(json.find(std::string("\"rule\": ") + rule), std::string::npos) << json;

    run = RunTool({"fix", Q(file)});
    EXPECT_EQ(run, (TRun{0, file + ": 2 captions changed\n", ""}));
    std::string expected = RussianAlone;
    expected.replace(expected.find("\"Удалить %d файла\""), 1, "\"_");
    expected.replace(expected.find("%d _файлов"), 4, "%d ");
    EXPECT_EQ(ReadBytes(file), expected);
    // A key the source lacks is left to the translator.
    run = RunTool({"check", "--strict", Q(file)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, file + ":15:9: warning: translation has a key, but its source \"Size\" "
                              "has none\n");
    EXPECT_EQ(RunTool({"fix", Q(file)}), (TRun{0, "", ""}));
}

TEST_F(GettextCommandsTest, WithTheBuilderFilesEachTranslatedMenuIsOneScope)
{
    for (const char* name : {"editor.ui", "prefs.ui"})
        CopyGtkFixture(name, std::string("data/") + name);
    const std::string de = CopyGtkFixture("de.po");
    const std::string ru = CopyGtkFixture("ru.po");
    const std::string ja = CopyGtkFixture("ja.po");
    const QString builder = FDir.filePath("data");
    TRun run = RunTool({"check", "--builder", builder, Q(de), Q(ru), Q(ja)});
    EXPECT_EQ(run.Status, 1);
    // Scopes are named by the builder files' paths as found under the folder given.
    const std::string at = builder.toStdString() + '/';
    const std::vector<std::string> expected{
        de + ":27:9: error: key 'E' is used on lines 19, 27 [" + at +
            "editor.ui: menu "
            "\"app-menu\"]",
        de + ":64:11: error: key 'D' is taken by an enclosing scope [" + at +
            "editor.ui: template \"EditorWindow\" > \"_Text\"]",
        de + ":73:9: warning: \"Suchen\" has no key [" + at +
            "editor.ui: template \"EditorWindow\" > \"_Search & Replace\"]",
        de + ":104:9: error: key 'N' is taken by an enclosing scope [" + at +
            "prefs.ui: dialog \"prefs_dialog\" > \"_General\"]",
        de + ":73:9: warning: translation has no key, but its source \"_Find\" has one",
        ru + ":14:9: error: key 'Н' is used on lines 10, 14, 26 [" + at +
            "editor.ui: menu \"app-menu\"]",
        ru + ":26:9: error: key 'Н' is used on lines 10, 14, 26 [" + at +
            "editor.ui: menu \"app-menu\"]",
        ru + ":30:9: warning: \"Выход\" has no key [" + at + "editor.ui: menu \"app-menu\"]",
        ru + ":18:9: warning: translation has a key, but its source \"Documents\" has none",
        ru + ":30:9: warning: translation has no key, but its source \"_Quit\" has one",
        ja + ":17:16: error: key 'P' is used on lines 13, 17 [" + at +
            "editor.ui: menu \"app-menu\"]"};
    std::string joined;
    for (const std::string& line : expected)
        joined += line + '\n';
    EXPECT_EQ(run.Out, joined);

    // Only msgstr texts change: the wrapped one in its first line, the fuzzy entry (whose
    // "_Wrap lines" keeps its "W") and the header not at all, and nothing is marked fuzzy.
    run = RunTool({"fix", "--builder", builder, Q(de), Q(ru), Q(ja)});
    EXPECT_EQ(run, (TRun{0,
                         de + ": 4 captions changed\n" + ru + ": 3 captions changed\n" + ja +
                             ": 1 caption changed\n",
                         ""}));
    const auto mended = [](std::string name,
                           const std::vector<std::pair<std::string, std::string>>& changes) {
        std::string bytes = ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/" + name);
        for (const auto& [from, to] : changes) {
            EXPECT_NE(bytes.find(from), std::string::npos) << from;
            bytes.replace(bytes.find(from), from.size(), to);
        }
        return bytes;
    };
    EXPECT_EQ(ReadBytes(de), mended("de.po", {{"\"_Exportieren\"", "\"E_xportieren\""},
                                              {"\"__init__-_Dateien \"", "\"___init__-Dateien \""},
                                              {"msgstr \"Suchen\"", "msgstr \"S_uchen\""},
                                              {"msgstr \"_Name:\"", "msgstr \"Na_me:\""}}));
    EXPECT_EQ(ReadBytes(ru), mended("ru.po", {{"\"_Настройки\"", "\"Н_астройки\""},
                                              {"\"_Недавние\"", "\"Н_едавние\""},
                                              {"\"Выход\"", "\"_Выход\""}}));
    // A Japanese suffix takes the key of its source ("_Export") when the menu leaves it free.
    EXPECT_EQ(ReadBytes(ja),
              mended("ja.po", {{"(_P)\"\n\n#: data/editor.ui:35", "(_E)\"\n\n#: "
                                                                  "data/editor.ui:35"}}));

    run = RunTool({"check", "--builder", builder, Q(de), Q(ru), Q(ja)});
    EXPECT_EQ(run, (TRun{0,
                         ru + ":18:9: warning: translation has a key, but its source "
                              "\"Documents\" has none\n",
                         ""}));
    EXPECT_EQ(RunTool({"fix", "--builder", builder, Q(de), Q(ru), Q(ja)}), (TRun{0, "", ""}));

    const TRun missing = RunTool({"check", "--builder", FDir.filePath("none"), Q(de)});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("no such folder of builder files"), std::string::npos);
    EXPECT_EQ(RunTool({"--builder", builder, "x.lst"}).Status, 2);
}

// Two dialogs that share "_Close", and an "_Open" that no catalogue translates.
constexpr const char* SharedBuilder =
    "<interface>\n"
    "  <object class=\"GtkDialog\" id=\"save\">\n"
    "    <child><object class=\"GtkButton\">\n"
    "      <property name=\"label\" translatable=\"yes\">_Save</property>\n"
    "      <property name=\"use-underline\">True</property></object></child>\n"
    "    <child><object class=\"GtkButton\">\n"
    "      <property name=\"label\" translatable=\"yes\">_Close</property>\n"
    "      <property name=\"use-underline\">True</property></object></child>\n"
    "  </object>\n"
    "  <object class=\"GtkDialog\" id=\"open\">\n"
    "    <child><object class=\"GtkButton\">\n"
    "      <property name=\"label\" translatable=\"yes\">_Open</property>\n"
    "      <property name=\"use-underline\">True</property></object></child>\n"
    "    <child><object class=\"GtkButton\">\n"
    "      <property name=\"label\" translatable=\"yes\">O_ptions</property>\n"
    "      <property name=\"use-underline\">True</property></object></child>\n"
    "    <child><object class=\"GtkButton\">\n"
    "      <property name=\"label\" translatable=\"yes\">_Close</property>\n"
    "      <property name=\"use-underline\">True</property></object></child>\n"
    "  </object>\n"
    "</interface>\n";

constexpr const char* SharedGerman = "#: ui/shared.ui:4\n"
                                     "msgid \"_Save\"\n"
                                     "msgstr \"_Speichern\"\n"
                                     "\n"
                                     "#: ui/shared.ui:15\n"
                                     "msgid \"O_ptions\"\n"
                                     "msgstr \"_Optionen\"\n"
                                     "\n"
                                     "#: ui/shared.ui:7 ui/shared.ui:18\n"
                                     "msgid \"_Close\"\n"
                                     "msgstr \"_Schließen\"\n";

TEST_F(GettextCommandsTest, ATranslationTwoDialogsShareIsMendedOnce)
{
    Write("ui/shared.ui", SharedBuilder);
    const std::string file = Write("de.po", SharedGerman);
    const QString builder = FDir.filePath("ui");
    TRun run = RunTool({"check", "--builder", builder, Q(file)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, file + ":11:9: error: key 'S' is used on lines 3, 11 [" +
                           builder.toStdString() + "/shared.ui: dialog \"save\"]\n" + file +
                           ":7:9: error: key 'O' is taken by \"_Open\" [" + builder.toStdString() +
                           "/shared.ui: dialog \"open\"]\n");

    run = RunTool({"fix", "--builder", builder, Q(file)});
    EXPECT_EQ(run, (TRun{0, file + ": 2 captions changed\n", ""}));
    EXPECT_EQ(RunTool({"check", "--builder", builder, Q(file)}), (TRun{0, "", ""}));
}

TEST_F(GettextCommandsTest, CataloguesInOtherCharsetsAreMendedInThem)
{
    // ISO-8859-1, each message alone: "Ü" takes the marker, and a second one goes.
    const std::string german = CopyGtkFixture("de.latin1.po");
    TRun run = RunTool({"fix", Q(german)});
    EXPECT_EQ(run, (TRun{0, german + ": 2 captions changed\n", ""}));
    std::string expected = ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/de.latin1.po");
    const std::string about = "msgstr \"\xDC";
    expected.replace(expected.find(about), about.size(), "msgstr \"_\xDC");
    const std::string close = "\"_Schlie_\xDF";
    expected.replace(expected.find(close), close.size(), "\"_Schlie\xDF");
    EXPECT_EQ(ReadBytes(german), expected);

    // KOI8-R, in the menus of the builder files: the same mending as in UTF-8, in KOI8-R.
    for (const char* name : {"editor.ui", "prefs.ui"})
        CopyGtkFixture(name, std::string("data/") + name);
    const std::string russian = CopyGtkFixture("ru.koi8-r.po");
    const QString builder = FDir.filePath("data");
    run = RunTool({"check", "--builder", builder, Q(russian)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find(russian + ":14:9: error: key 'Н' is used on lines 10, 14, 26 ["),
              std::string::npos)
        << run.Out;
    run = RunTool({"fix", "--builder", builder, "--diff", Q(russian)});
    EXPECT_NE(run.Out.find("+msgstr \"Н_астройки\"\n"), std::string::npos) << run.Out;
    run = RunTool({"fix", "--builder", builder, Q(russian)});
    EXPECT_EQ(run, (TRun{0, russian + ": 3 captions changed\n", ""}));

    std::string utf8 = ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/ru.po");
    const auto change = [&](const std::string& from, const std::string& to) {
        ASSERT_NE(utf8.find(from), std::string::npos) << from;
        utf8.replace(utf8.find(from), from.size(), to);
    };
    change("editor, written", "editor in KOI8-R, written");
    change("charset=utf-8", "charset=KOI8-R");
    change("\"_Настройки\"", "\"Н_астройки\"");
    change("\"_Недавние\"", "\"Н_едавние\"");
    change("msgstr \"Выход\"", "msgstr \"_Выход\"");
    TPoCharsetProblem problem{};
    const std::optional<RPoCharset> koi8 = FindPoCharset("KOI8-R", problem);
    ASSERT_TRUE(koi8);
    EXPECT_EQ(ReadBytes(russian), EncodeInPoCharset(utf8, koi8->Tag));
}

} // namespace

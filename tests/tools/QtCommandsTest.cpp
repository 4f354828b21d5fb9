// check and fix on Designer forms and Linguist translations through the batch tool's entry
// function: findings with their places and scopes, and fixes that change nothing but markers.
#include "CliRun.h"
#include "ScratchFolderTest.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A dialog with a menu bar whose Edit menu uses "C" twice.
constexpr const char* ToolForm = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                 "<ui version=\"4.0\">\r\n"
                                 " <class>Tool</class>\r\n"
                                 " <widget class=\"QMainWindow\" name=\"Tool\">\r\n"
                                 "  <widget class=\"QMenuBar\" name=\"bar\">\r\n"
                                 "   <widget class=\"QMenu\" name=\"menuEdit\">\r\n"
                                 "    <property name=\"title\">\r\n"
                                 "     <string>&amp;Edit</string>\r\n"
                                 "    </property>\r\n"
                                 "    <addaction name=\"cut\"/>\r\n"
                                 "    <addaction name=\"separator\"/>\r\n"
                                 "    <addaction name=\"copy\"/>\r\n"
                                 "   </widget>\r\n"
                                 "   <addaction name=\"menuEdit\"/>\r\n"
                                 "  </widget>\r\n"
                                 "  <action name=\"cut\">\r\n"
                                 "   <property name=\"text\">\r\n"
                                 "    <string>&amp;Cut</string>\r\n"
                                 "   </property>\r\n"
                                 "  </action>\r\n"
                                 "  <action name=\"copy\">\r\n"
                                 "   <property name=\"text\">\r\n"
                                 "    <string>&#x26;Copy</string>\r\n"
                                 "   </property>\r\n"
                                 "  </action>\r\n"
                                 " </widget>\r\n"
                                 "</ui>\r\n";

class QtCommandsTest : public TScratchFolderTest
{
protected:
    std::string CopyFixture(const std::string& name) const
    {
        return Write(name, ReadBytes(std::string(QUARNEL_FORMATS_DATA) + '/' + name));
    }

    // The lines of a file that hold a source, which a fix must never change.
    static std::vector<std::string> SourceLines(const std::string& bytes)
    {
        std::vector<std::string> lines;
        for (std::size_t at = bytes.find("<source>"); at != std::string::npos;
             at = bytes.find("<source>", at + 1))
            lines.push_back(bytes.substr(at, bytes.find('\n', at) - at));
        return lines;
    }
};

TEST_F(QtCommandsTest, FormsAreCheckedAndMendedInTheirMenus)
{
    const std::string form = Write("tool.ui", ToolForm);
    TRun run = RunTool({"check", Q(form)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, form + ":23:13: error: key 'C' is used on lines 18, 23 "
                              "[menu bar > \"&Edit\"]\n");

    run = RunTool({"fix", Q(form)});
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::string expected = ToolForm;
    expected.replace(expected.find("&#x26;Copy"), 10, "C&amp;opy");
    EXPECT_EQ(ReadBytes(form), expected);

    EXPECT_EQ(RunTool({"check", Q(form)}), (TRun{0, "", ""}));
    EXPECT_EQ(RunTool({"fix", Q(form)}), (TRun{0, "", ""}));
    EXPECT_EQ(ReadBytes(form), expected);
}

TEST_F(QtCommandsTest, TranslationsAreMendedInTheirTranslationsOnly)
{
    for (const char* name : {"editor_de.ts", "editor_ru.ts", "editor_ja.ts"}) {
        const std::string file = CopyFixture(name);
        const std::string before = ReadBytes(file);
        const TRun check = RunTool({"check", Q(file)});
        EXPECT_EQ(check.Status, 1) << name;
        EXPECT_NE(check.Out.find("[context EditorWindow (whole context: no forms given)]"),
                  std::string::npos)
            << check.Out;

        const TRun fix = RunTool({"fix", Q(file)});
        EXPECT_EQ(fix.Status, 0) << name << fix.Err;
        const std::string after = ReadBytes(file);
        EXPECT_EQ(SourceLines(after), SourceLines(before)) << name;
        EXPECT_NE(after, before) << name;
        EXPECT_EQ(RunTool({"check", Q(file)}).Status, 0) << name;
        EXPECT_EQ(RunTool({"fix", Q(file)}), (TRun{0, "", ""})) << name;
    }
    // Russian: Paste leaves the key of Cut for the next letter that is free.
    const std::string russian = ReadBytes(FDir.filePath("editor_ru.ts").toStdString());
    std::string expected = ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/editor_ru.ts");
    const std::string paste = "&amp;Вставить";
    expected.replace(expected.find(paste), paste.size(), "В&amp;ставить");
    EXPECT_EQ(russian, expected);
    // Japanese: Paste's new suffix takes the key of its source, "&Paste", as it is free.
    const std::string japanese = ReadBytes(FDir.filePath("editor_ja.ts").toStdString());
    EXPECT_NE(japanese.find("<translation>貼り付け(&amp;P)</translation>"), std::string::npos)
        << japanese;
}

TEST_F(QtCommandsTest, WithTheFormsEachMenuOfEveryLanguageIsAScopeOfItsOwn)
{
    const QString forms = QStringLiteral(QUARNEL_FORMATS_DATA);
    for (const char* name : {"editor_de.ts", "editor_ru.ts", "editor_ja.ts"}) {
        const std::string file = CopyFixture(name);
        const std::string before = ReadBytes(file);
        const TRun check = RunTool({"check", "--forms", forms, Q(file)});
        EXPECT_EQ(check.Status, 1) << name;
        EXPECT_NE(check.Out.find("error: key '"), std::string::npos) << check.Out;
        EXPECT_NE(check.Out.find(" [EditorWindow: menu menubar > \"&Edit\"]\n"), std::string::npos)
            << check.Out;

        EXPECT_EQ(RunTool({"fix", "--forms", forms, Q(file)}).Status, 0) << name;
        const std::string after = ReadBytes(file);
        EXPECT_EQ(SourceLines(after), SourceLines(before)) << name;
        EXPECT_EQ(RunTool({"check", "--forms", forms, Q(file)}).Status, 0) << name;
    }
    // In German the Edit menu's Paste gives "S" back to Cut: one marker moves.
    const std::string german = ReadBytes(FDir.filePath("editor_de.ts").toStdString());
    EXPECT_NE(german.find("<translation>&amp;Einsetzen</translation>"), std::string::npos);

    // What per-string checkers report comes too, and how a context without a form was read.
    const TRun notes = RunTool({"check", "--forms", forms, Q(CopyFixture("editor_de.ts"))});
    EXPECT_NE(notes.Out.find(":74:22: warning: translation has no key, but its source \"&Quit\" "
                             "has one\n"),
              std::string::npos)
        << notes.Out;
    EXPECT_NE(notes.Out.find(":105:10: note: no form given has the class SearchPanel; its "
                             "messages are checked as one scope\n"),
              std::string::npos)
        << notes.Out;
    const TRun form = RunTool({"check", Q(CopyFixture("editor.ui"))});
    EXPECT_NE(form.Out.find(":26:16: warning: label hintLabel has no buddy, so its marker shows "
                            "as it stands\n"),
              std::string::npos)
        << form.Out;

    const TRun missing = RunTool({"check", "--forms", Q(FDir.filePath("none").toStdString()),
                                  Q(FDir.filePath("editor_de.ts").toStdString())});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("no such folder of forms"), std::string::npos);
    EXPECT_EQ(RunTool({"--forms", forms, "x.lst"}).Status, 2);
}

// A dialog whose Apply button and a check box of its tab page both use "A".
constexpr const char* PagedForm = "<ui version=\"4.0\">\n"
                                  " <class>Options</class>\n"
                                  " <widget class=\"QDialog\" name=\"Options\">\n"
                                  "  <widget class=\"QTabWidget\" name=\"tabs\">\n"
                                  "   <widget class=\"QWidget\" name=\"page\">\n"
                                  "    <attribute name=\"title\">\n"
                                  "     <string>&amp;General</string>\n"
                                  "    </attribute>\n"
                                  "    <widget class=\"QCheckBox\" name=\"autoSave\">\n"
                                  "     <property name=\"text\">\n"
                                  "      <string>&amp;Auto save</string>\n"
                                  "     </property>\n"
                                  "    </widget>\n"
                                  "   </widget>\n"
                                  "  </widget>\n"
                                  "  <widget class=\"QPushButton\" name=\"apply\">\n"
                                  "   <property name=\"text\">\n"
                                  "    <string>&amp;Apply</string>\n"
                                  "   </property>\n"
                                  "  </widget>\n"
                                  " </widget>\n"
                                  "</ui>\n";

TEST_F(QtCommandsTest, APageAvoidsTheKeysOfItsDialogAndIsMendedAroundThem)
{
    const std::string form = Write("options.ui", PagedForm);
    const TRun check = RunTool({"check", Q(form)});
    EXPECT_EQ(check.Status, 1);
    EXPECT_NE(check.Out.find(":11:15: error: key 'A' is taken by an enclosing scope"),
              std::string::npos)
        << check.Out;

    EXPECT_EQ(RunTool({"fix", Q(form)}).Status, 0);
    std::string expected = PagedForm;
    expected.replace(expected.find("&amp;Auto"), 9, "A&amp;uto");
    EXPECT_EQ(ReadBytes(form), expected);
    EXPECT_EQ(RunTool({"check", Q(form)}), (TRun{0, "", ""}));

    // Under the guidelines the check box takes the start of its other word instead.
    const std::string guided = Write("guided.ui", PagedForm);
    EXPECT_EQ(RunTool({"fix", "--prefer", "guidelines", Q(guided)}).Status, 0);
    expected = PagedForm;
    expected.replace(expected.find("&amp;Auto save"), 14, "Auto &amp;save");
    EXPECT_EQ(ReadBytes(guided), expected);
    EXPECT_EQ(RunTool({"check", Q(guided)}), (TRun{0, "", ""}));
}

// A main window whose Save action stands in the File and the Share menu, both times after a
// caption on "S", and in a View menu whose other two entries have only "A" and "V" between them.
std::string SharedActionForm(bool withView)
{
    const auto action = [](const char* name, const char* text) {
        return std::string("  <action name=\"") + name + "\">\n   <property name=\"text\">\n" +
               "    <string>" + text + "</string>\n   </property>\n  </action>\n";
    };
    const auto menu = [](const char* name, const char* title, const char* first,
                         const char* second) {
        return std::string("   <widget class=\"QMenu\" name=\"") + name + "\">\n" +
               "    <property name=\"title\">\n     <string>" + title +
               "</string>\n    </property>\n" + "    <addaction name=\"" + first + "\"/>\n" +
               "    <addaction name=\"" + second + "\"/>\n    <addaction name=\"save\"/>\n" +
               "   </widget>\n";
    };
    std::string form = "<ui version=\"4.0\">\n <class>Notes</class>\n"
                       " <widget class=\"QMainWindow\" name=\"Notes\">\n"
                       "  <widget class=\"QMenuBar\" name=\"bar\">\n";
    form += menu("menuFile", "&amp;File", "sort", "separator");
    form += menu("menuShare", "S&amp;hare", "send", "separator");
    if (withView)
        form += menu("menuView", "&amp;View", "av", "va");
    form += "   <addaction name=\"menuFile\"/>\n   <addaction name=\"menuShare\"/>\n";
    if (withView)
        form += "   <addaction name=\"menuView\"/>\n";
    form += "  </widget>\n";
    form += action("sort", "&amp;Sort") + action("send", "&amp;Send") + action("save", "&amp;Save");
    if (withView)
        form += action("av", "&amp;Av") + action("va", "&amp;Va");
    return form + " </widget>\n</ui>\n";
}

TEST_F(QtCommandsTest, AnActionInTwoMenusIsMendedOnceForBoth)
{
    const std::string form = Write("notes.ui", SharedActionForm(false));
    const TRun check = RunTool({"check", Q(form)});
    EXPECT_NE(check.Out.find("[menu bar > \"&File\"]"), std::string::npos) << check.Out;
    EXPECT_NE(check.Out.find("[menu bar > \"S&hare\"]"), std::string::npos) << check.Out;

    const TRun fix = RunTool({"fix", Q(form)});
    EXPECT_EQ(fix, (TRun{0, form + ": 1 caption changed\n", ""}));
    std::string expected = SharedActionForm(false);
    expected.replace(expected.find("&amp;Save"), 9, "S&amp;ave");
    EXPECT_EQ(ReadBytes(form), expected);
    EXPECT_EQ(RunTool({"check", Q(form)}), (TRun{0, "", ""}));
}

TEST_F(QtCommandsTest, AMenuThatCannotKeepWhatAnotherGaveASharedActionIsNamedAndLeftAlone)
{
    const std::string form = Write("notes.ui", SharedActionForm(true));
    const TRun fix = RunTool({"fix", Q(form)});
    EXPECT_EQ(fix.Status, 1);
    EXPECT_EQ(fix.Out, form + ": 1 caption changed\n");
    EXPECT_EQ(fix.Err, form + ":45:13: error: no distinct key for every caption around \"S&ave\" "
                              "as menu bar > \"&File\" has it; left as it is "
                              "[menu bar > \"&View\"]\n");
    // File and Share are mended; View keeps its own markers.
    std::string expected = SharedActionForm(true);
    expected.replace(expected.find("&amp;Save"), 9, "S&amp;ave");
    EXPECT_EQ(ReadBytes(form), expected);
}

TEST_F(QtCommandsTest, MalformedXmlIsReportedInQtsWordsAndNothingIsWritten)
{
    std::string broken = ToolForm;
    broken.replace(broken.find("</action>"), 9, "</actoin>");
    const std::string file = Write("broken.ui", broken);
    const TRun check = RunTool({"check", Q(file)});
    EXPECT_EQ(check.Status, 2);
    EXPECT_EQ(check.Err, file + ":20:11: Opening and ending tag mismatch.\n");
    EXPECT_EQ(RunTool({"fix", Q(file)}).Status, 2);
    EXPECT_EQ(ReadBytes(file), broken);
}

TEST_F(QtCommandsTest, FoldersHoldFormsAndTranslationsButNotTypeScript)
{
    const std::string form = Write("tool.ui", ToolForm);
    CopyFixture("editor_ja.ts");
    Write("main.ts", "let menu: string = \"&Edit\";\n");
    const TRun run = RunTool({"check", FDir.path()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "");
    EXPECT_NE(run.Out.find("editor_ja.ts:24:"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("tool.ui:23:"), std::string::npos) << run.Out;
}

} // namespace

// check and fix on GtkBuilder files and gettext catalogues through the batch tool's entry
// function: "_" in every message and edit, translated menus checked as wholes, and catalogues
// mended in their msgstr texts only.
#include "CliRun.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
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

class GettextCommandsTest : public testing::Test
{
protected:
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = FDir.filePath(QString::fromStdString(name)).toStdString();
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
        WriteBytes(path, bytes);
        return path;
    }
    std::string CopyGtkFixture(const std::string& name, const std::string& as = {}) const
    {
        return Write(as.empty() ? name : as,
                     ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/" + name));
    }
    static QString Q(const std::string& path) { return QString::fromStdString(path); }

    QTemporaryDir FDir;
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

} // namespace

// check's findings printed as text, JSON and SARIF: the text exactly as before, and the other
// two read back by Qt's JSON parser, whatever bytes the captions hold.
#include "FindingReport.h"

#include "CliRun.h"
#include "TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

QJsonDocument Parsed(const std::string& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << text;
    return document;
}

const std::vector<RCheckFinding> Findings = {
    {"res/app de.rc", 12, 7, "menu MAIN > \"&Edit\"", "duplicate-key",
     "key 'S' is used on lines 9, 12", TSeverity::Error},
    {"res/app de.rc", 3, 1, {}, "file-note", "read as code page 1252", TSeverity::Note},
    // A caption list: bytes that are not UTF-8, a quote, a tab and a backslash.
    {"menu.lst",
     2,
     0,
     {},
     "marker-at-end",
     "marker at the end of \"Ab\xE9\t\\\" marks nothing",
     TSeverity::Error},
};

TEST(FindingReport, TextIsTheLinesCheckAlwaysPrinted)
{
    EXPECT_EQ(FindingsAsText(Findings),
              "res/app de.rc:12:7: error: key 'S' is used on lines 9, 12 [menu MAIN > \"&Edit\"]\n"
              "res/app de.rc:3:1: note: read as code page 1252\n"
              "menu.lst:2: marker at the end of \"Ab\xE9\t\\\" marks nothing\n");
    EXPECT_EQ(FindingsAsText({}), "");
}

TEST(FindingReport, JsonHoldsOneObjectPerFindingInValidUnicode)
{
    const QJsonArray array = Parsed(FindingsAsJson(Findings)).array();
    ASSERT_EQ(array.size(), 3);
    const QJsonObject first = array[0].toObject();
    EXPECT_EQ(first["file"].toString(), "res/app de.rc");
    EXPECT_EQ(first["line"].toInt(), 12);
    EXPECT_EQ(first["column"].toInt(), 7);
    EXPECT_EQ(first["scope"].toString(), "menu MAIN > \"&Edit\"");
    EXPECT_EQ(first["rule"].toString(), "duplicate-key");
    EXPECT_EQ(first["severity"].toString(), "error");
    EXPECT_TRUE(array[1].toObject()["scope"].isNull());
    EXPECT_EQ(array[1].toObject()["severity"].toString(), "note");
    const QJsonObject list = array[2].toObject();
    EXPECT_TRUE(list["column"].isNull());
    // The invalid byte shows as its Latin-1 character, as the window shows it.
    EXPECT_EQ(list["message"].toString(),
              QString::fromUtf8("marker at the end of \"Ab\u00E9\t\\\" marks nothing"));
    EXPECT_EQ(Parsed(FindingsAsJson({})).array().size(), 0);
}

TEST(FindingReport, SarifListsEveryRuleAndPointsEachResultAtIt)
{
    const QJsonObject log = Parsed(FindingsAsSarif(Findings)).object();
    EXPECT_EQ(log["version"].toString(), "2.1.0");
    const QJsonArray runs = log["runs"].toArray();
    ASSERT_EQ(runs.size(), 1);
    const QJsonObject driver = runs[0].toObject()["tool"].toObject()["driver"].toObject();
    EXPECT_EQ(driver["name"].toString(), "quarnel-cli");
    const QJsonArray rules = driver["rules"].toArray();
    std::set<QString> ids;
    for (const QJsonValue rule : rules)
        ids.insert(rule.toObject()["id"].toString());
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(rules.size())) << "rule ids are unique";

    const QJsonArray results = runs[0].toObject()["results"].toArray();
    ASSERT_EQ(results.size(), 3);
    for (const QJsonValue value : results) {
        const QJsonObject result = value.toObject();
        const int index = result["ruleIndex"].toInt(-1);
        ASSERT_GE(index, 0);
        EXPECT_EQ(rules[index].toObject()["id"], result["ruleId"]);
    }
    const QJsonObject first = results[0].toObject();
    EXPECT_EQ(first["level"].toString(), "error");
    const QJsonObject location = first["locations"][0].toObject();
    const QJsonObject physical = location["physicalLocation"].toObject();
    EXPECT_EQ(physical["artifactLocation"]["uri"].toString(), "res/app%20de.rc");
    EXPECT_EQ(physical["region"]["startLine"].toInt(), 12);
    EXPECT_EQ(physical["region"]["startColumn"].toInt(), 7);
    EXPECT_EQ(location["logicalLocations"][0]["name"].toString(), "menu MAIN > \"&Edit\"");
    // A caption list counts lines only.
    EXPECT_FALSE(results[2]["locations"][0]["physicalLocation"]["region"].toObject().contains(
        "startColumn"));
    EXPECT_EQ(results[1]["level"].toString(), "note");
    EXPECT_TRUE(Parsed(FindingsAsSarif({})).object()["runs"][0]["results"].toArray().isEmpty());
}

TEST(FindingReport, CheckPrintsEveryFileInOneDocumentAndTextStaysTheDefault)
{
    QTemporaryDir dir;
    const std::string list = dir.filePath("menu.lst").toStdString();
    WriteBytes(list, "&Open\r\n&Other\r\n");
    const std::string form = dir.filePath("tool.ui").toStdString();
    WriteBytes(form, "<ui version=\"4.0\">\n <class>Tool</class>\n"
                     " <widget class=\"QDialog\" name=\"Tool\">\n"
                     "  <widget class=\"QLabel\" name=\"hint\">\n"
                     "   <property name=\"text\">\n    <string>&amp;Hint</string>\n"
                     "   </property>\n  </widget>\n </widget>\n</ui>\n");
    const QString listArg = QString::fromStdString(list);
    const QString formArg = QString::fromStdString(form);

    const TRun text = RunTool({"check", listArg, formArg});
    EXPECT_EQ(RunTool({"check", "--format", "text", listArg, formArg}), text);
    EXPECT_EQ(text.Out, list + ":2: key 'O' is also used on line 1\n" + form +
                            ":6:13: warning: label hint has no buddy, so its marker shows as it "
                            "stands\n");

    const TRun json = RunTool({"check", "--format=json", listArg, formArg});
    EXPECT_EQ(json.Status, text.Status);
    const QJsonArray array = Parsed(json.Out).array();
    ASSERT_EQ(array.size(), 2);
    EXPECT_EQ(array[0]["rule"].toString(), "duplicate-key");
    EXPECT_EQ(array[1]["rule"].toString(), "label-without-buddy");
    EXPECT_EQ(array[1]["severity"].toString(), "warning");

    const TRun sarif = RunTool({"--check", "--format", "sarif", listArg});
    EXPECT_EQ(sarif.Status, 1);
    EXPECT_EQ(Parsed(sarif.Out)["runs"][0]["results"].toArray().size(), 1);

    // Unreadable files still go to standard error, beside a document that stays valid.
    const TRun missing = RunTool({"check", "--format", "json", dir.filePath("none.ui")});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err, "");
    EXPECT_EQ(Parsed(missing.Out).array().size(), 0);

    for (const QStringList& bad :
         {QStringList{"check", "--format", "xml", listArg}, QStringList{"check", "--format", "tsv"},
          QStringList{"fix", "--format", "json", listArg}, QStringList{"--format", "json"}}) {
        const TRun run = RunTool(bad, "File\n");
        EXPECT_EQ(run.Status, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(run.Out, "") << bad.join(' ').toStdString();
    }
}

} // namespace

#include "UQuarnelApps.h"

#include "ProcessGuards.h"
#include "ProfileFile.h"

#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

TEST(quarnelapps_IniFileName, WindirNamesTheFolder)
{
    {
        const TEnvVar windir("windir", "/srv/shared");
        EXPECT_EQ(ComputeIniFileName(), "/srv/shared/QuarnelApps.ini");
    }
    {
        const TEnvVar windir("windir", "/srv/shared/");
        EXPECT_EQ(ComputeIniFileName(), "/srv/shared/QuarnelApps.ini");
    }
}

TEST(quarnelapps_IniFileName, WithoutWindirTheConfigFolderIsUsedAndCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string config = dir.filePath("not/yet/there").toStdString();
    const TEnvVar windir("windir", std::nullopt);
    {
        const TEnvVar xdg("XDG_CONFIG_HOME", config);
        EXPECT_EQ(ComputeIniFileName(), config + "/QuarnelApps.ini");
        EXPECT_TRUE(std::filesystem::is_directory(config));
    }
    {
        // An empty windir places nothing: the file would land at the root.
        const TEnvVar emptyWindir("windir", "");
        const TEnvVar xdg("XDG_CONFIG_HOME", config + "/");
        EXPECT_EQ(ComputeIniFileName(), config + "/QuarnelApps.ini");
    }
    {
        const TEnvVar home("HOME", dir.path().toStdString());
        const TEnvVar xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(ComputeIniFileName(), dir.path().toStdString() + "/.config/QuarnelApps.ini");
        EXPECT_TRUE(std::filesystem::is_directory(dir.path().toStdString() + "/.config"));
    }
    {
        const TEnvVar home("HOME", dir.path().toStdString());
        const TEnvVar xdg("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(ComputeIniFileName(), dir.path().toStdString() + "/.config/QuarnelApps.ini");
    }
}

TEST(quarnelapps_Title, WithoutVersionKeepsTextBeforeTheLastBlank)
{
    EXPECT_EQ(TitleWithoutVersion("Quarnel 1.0"), "Quarnel");
    EXPECT_EQ(TitleWithoutVersion("A B C 2.1"), "A B C");
    EXPECT_EQ(TitleWithoutVersion("Single"), "Single");
    EXPECT_EQ(TitleWithoutVersion("Tabbed\t1.0"), "Tabbed\t1.0");
    EXPECT_EQ(TitleWithoutVersion("Trailing "), "Trailing");
    EXPECT_EQ(TitleWithoutVersion(""), "");
}

TEST(quarnelapps_ProfileInteger, AcceptsDecimalAndHexadecimal)
{
    EXPECT_EQ(ParseProfileInteger("126"), 126);
    EXPECT_EQ(ParseProfileInteger("0x7E"), 126);
    EXPECT_EQ(ParseProfileInteger("0X7e"), 126);
    EXPECT_EQ(ParseProfileInteger("$7e"), 126);
    EXPECT_EQ(ParseProfileInteger("x7E"), 126);
    EXPECT_EQ(ParseProfileInteger("X7E"), 126);
    EXPECT_EQ(ParseProfileInteger("  -5"), -5);
    EXPECT_EQ(ParseProfileInteger("+3"), 3);
    EXPECT_EQ(ParseProfileInteger("-$10"), -16);
    EXPECT_EQ(ParseProfileInteger("294"), 294);
    EXPECT_EQ(ParseProfileInteger("007"), 7);
    EXPECT_EQ(ParseProfileInteger("0"), 0);
    EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseProfileInteger("0x7FFFFFFF"), 2147483647);
}

TEST(quarnelapps_ProfileInteger, RejectsEverythingElse)
{
    const char* const rejected[] = {"",
                                    "   ",
                                    "abc",
                                    "12abc",
                                    "12 ",
                                    "-",
                                    "+-1",
                                    "0x",
                                    "$",
                                    "x",
                                    "7E",
                                    "0x7G",
                                    "1.5",
                                    "\t5",
                                    "- 5",
                                    "2147483648",
                                    "-2147483649",
                                    "0x80000000",
                                    "99999999999999999999"};
    for (const char* text : rejected) {
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << "'" << text << "'";
    }
}

TEST(quarnelapps_ProfileInteger, ReadFallsBackToTheDefault)
{
    const auto profile = TProfileFile::Parse("[Quarnel Settings]\r\n"
                                             "AccCode=0x7E\r\n"
                                             "Bad=12abc\r\n"
                                             "Empty=\r\n"
                                             "Quoted=\"294\"\r\n");
    EXPECT_EQ(ReadProfileInteger(profile, "Quarnel Settings", "AccCode", 38), 126);
    EXPECT_EQ(ReadProfileInteger(profile, "Quarnel Settings", "Bad", 38), 38);
    EXPECT_EQ(ReadProfileInteger(profile, "Quarnel Settings", "Empty", 38), 38);
    EXPECT_EQ(ReadProfileInteger(profile, "Quarnel Settings", "Missing", 38), 38);
    EXPECT_EQ(ReadProfileInteger(profile, "Quarnel Settings", "Quoted", 38), 294);
    EXPECT_EQ(ReadProfileInteger(profile, "Quarnel View", "AccCode", -1), -1);
}

TEST(quarnelapps_SettingsNames, ColumnKeysCarryTheDecimalIndex)
{
    EXPECT_EQ(ColumnKey(0), "Column0");
    EXPECT_EQ(ColumnKey(12), "Column12");
}

TEST(quarnelapps_About, MessageUsesCarriageReturnsOnly)
{
    const std::string expectedHead = "Quarnel 1.0\r\rAn easy way to determine accelerator keys.\r\r"
                                     "Web site: https://quarnel.example.org\r"
                                     "E-mail: quarnel@quarnel.example.org\r\r";
    const std::string single =
        AboutMessage("Quarnel 1.0", "An easy way to determine accelerator keys.", 2003, 0);
    EXPECT_EQ(single, expectedHead + "Copyright (c) 2003 The Quarnel developers");
    const std::string range =
        AboutMessage("Quarnel 1.0", "An easy way to determine accelerator keys.", 2003, 2005);
    EXPECT_EQ(range, expectedHead + "Copyright (c) 2003-2005 The Quarnel developers");
    EXPECT_EQ(range.find('\n'), std::string::npos);
    EXPECT_NE(AboutMessage("T", "D", 65535, 1).find("65535-1"), std::string::npos);
}

// Writes to the settings profile that the fuzzer showed to go astray.
#include "ProfileFile.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

const std::string Shared = "[Quarnel Window]\r\n"
                           "Left=192\r\n"
                           "[Other Tool]\r\n"
                           "Mode=2\r\n";

// A name with blanks around it used to be stored with them, where no lookup could find it
// again, and every further write added another copy of the section.
TEST(hardening_ProfileFile, NamesWithBlanksAroundThemAreStoredWithout)
{
    TProfileFile profile = TProfileFile::Parse(Shared);
    profile.WriteString(" Quarnel Settings\t", " AccCode ", "126");
    EXPECT_EQ(profile.ReadString(" Quarnel Settings\t", " AccCode "), "126");
    EXPECT_EQ(profile.ReadString("Quarnel Settings", "AccCode"), "126");

    profile.WriteString("Quarnel Settings ", "AccCode", "38");
    profile.WriteString("Quarnel Window", "\tTop", "107");
    EXPECT_EQ(profile.ToBytes(), Shared.substr(0, Shared.find("[Other")) + "Top=107\r\n" +
                                     Shared.substr(Shared.find("[Other")) +
                                     "[Quarnel Settings]\r\nAccCode=38\r\n");

    const TProfileFile reloaded = TProfileFile::Parse(profile.ToBytes());
    EXPECT_EQ(reloaded.ReadString("quarnel settings", " ACCCODE"), "38");
    EXPECT_EQ(reloaded.ReadString("Quarnel Window", "Top"), "107");
}

// A key beginning with "[" used to be written as a line that every reader takes for a section
// header, splitting the section and hiding the keys after it.
TEST(hardening_ProfileFile, KeysThatWouldOpenASectionAreRefused)
{
    TProfileFile profile = TProfileFile::Parse(Shared);
    for (const char* key : {"[Other Tool]", " [x", "["}) {
        EXPECT_THROW(profile.WriteString("Quarnel Window", key, "1"), std::invalid_argument) << key;
    }
    EXPECT_EQ(profile.ToBytes(), Shared);

    // Brackets elsewhere are ordinary text.
    profile.WriteString("Quarnel Window", "Col[0]", "[Other Tool]");
    const TProfileFile reloaded = TProfileFile::Parse(profile.ToBytes());
    EXPECT_EQ(reloaded.ReadString("Quarnel Window", "Col[0]"), "[Other Tool]");
    EXPECT_EQ(reloaded.ReadString("Quarnel Window", "Left"), "192");
    EXPECT_EQ(reloaded.ReadString("Other Tool", "Mode"), "2");
}

} // namespace

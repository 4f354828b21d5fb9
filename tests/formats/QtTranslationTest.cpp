// Reading Linguist translations in the scopes of their forms: the same duplicate found in a
// German, a Russian and a Japanese file, mended by writing only the translation's marker.
#include "QtTranslation.h"

#include "QtFormSet.h"
#include "Scope.h"
#include "ScopeDump.h"
#include "TestFiles.h"
#include "UnicodeKeyRule.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Data(const std::string& name)
{
    return ReadBytes(std::string(QUARNEL_FORMATS_DATA) + '/' + name);
}

class QtTranslationTest : public ::testing::Test
{
protected:
    const RQtForm Form = ReadQtForm(Data("editor.ui"), "editor.ui");
    const TFormsByClass Forms = {{Form.ClassName, &Form}};
    const TQtTranslationFormat Format{Forms};

    // The scope of the Edit menu, and the findings there under the Unicode rule.
    static std::size_t EditMenu(const RCaptionFile& file)
    {
        for (std::size_t s = 0; s < file.Scopes.size(); ++s)
            if (file.Scopes[s].Name == "EditorWindow: menu menubar > \"&Edit\"")
                return s;
        throw std::runtime_error("no Edit menu");
    }
    static std::vector<RScopeFinding> Findings(const RCaptionScope& scope)
    {
        RScope plain;
        for (const RFileCaption& caption : scope.Captions)
            plain.Captions.push_back(caption.Text);
        std::vector<RScopeFinding> conflicts;
        for (RScopeFinding& finding : CheckScope(plain, UnicodeKeyRule(), '&'))
            if (finding.Kind != TFindingKind::NoMarker)
                conflicts.push_back(std::move(finding));
        return conflicts;
    }
};

TEST_F(QtTranslationTest, TakesTheScopesOfTheFormForFinishedTranslationsOnly)
{
    const RQtTranslation german = ReadQtTranslation(Data("editor_de.ts"), "editor_de.ts");
    EXPECT_EQ(german.Language, "de_DE");
    ASSERT_EQ(german.Contexts.size(), 2u);
    EXPECT_EQ(german.Contexts[1].Messages[0].Comment, "search forwards");

    const RTranslationScopes scopes = ScopeTranslation(german, Forms);
    // The page whose one string is unfinished has nothing left to check.
    EXPECT_EQ(DumpScopes(scopes.File),
              "EditorWindow: form EditorWindow: [&Suchen:] [&Eingabe drücken, um zu suchen]- "
              "[&Allgemein]? [&Schriften]? [&Optionen]?\n"
              "EditorWindow: page tabs > \"F&onts\": [&Wählen...]? [Fisch && &Pommes]?\n"
              "EditorWindow: menu bar menubar: [&Datei] [&Bearbeiten]\n"
              "EditorWindow: menu menubar > \"&File\": [Ö&ffnen...] [&Zuletzt geöffnet] "
              "[Beenden]\n"
              "EditorWindow: menu menubar > \"&File\" > \"&Recent files\": [&Leeren]\n"
              "EditorWindow: menu menubar > \"&Edit\": [Aus&schneiden] [&Kopieren] "
              "[Ein&setzen]\n"
              "context SearchPanel (whole context: no form of that class): [&Weiter] [&Zurück] "
              "[&Wörter]\n");
    EXPECT_EQ(scopes.File.Scopes[1].Enclosing, std::vector<std::size_t>{0});

    const std::string bytes = Data("editor_de.ts");
    for (const RCaptionScope& scope : scopes.File.Scopes)
        ExpectPlacesMatchUtf8Source(bytes, scope);

    ASSERT_EQ(scopes.File.Notes.size(), 2u);
    EXPECT_EQ(scopes.File.Notes[0].Message,
              "translation has no key, but its source \"&Quit\" has one");
    EXPECT_EQ(scopes.File.Notes[0].Place.Offset, bytes.find("Beenden"));
    EXPECT_EQ(scopes.File.Notes[1].Message,
              "no form given has the class SearchPanel; its messages are checked as one scope");
}

TEST_F(QtTranslationTest, ChecksEachContextAsOneScopeWithoutForms)
{
    const RQtTranslation german = ReadQtTranslation(Data("editor_de.ts"), "editor_de.ts");
    const RTranslationScopes scopes = ScopeTranslation(german, {});
    ASSERT_EQ(scopes.File.Scopes.size(), 2u);
    EXPECT_EQ(scopes.File.Scopes[0].Name, "context EditorWindow (whole context: no forms given)");
    // Every finished translation whose source has a key, the one that lost it included.
    EXPECT_EQ(scopes.File.Scopes[0].Captions.size(), 16u);
    EXPECT_EQ(Findings(scopes.File.Scopes[1]).size(), 1u); // Weiter and Wörter
}

TEST_F(QtTranslationTest, FindsTheSameDuplicateInEveryLanguage)
{
    for (const char* name : {"editor_de.ts", "editor_ru.ts", "editor_ja.ts"}) {
        const RCaptionFile file = Format.Read(Data(name), name);
        const std::vector<RScopeFinding> findings = Findings(file.Scopes[EditMenu(file)]);
        ASSERT_EQ(findings.size(), 1u) << name;
        EXPECT_EQ(findings[0].Kind, TFindingKind::DuplicateKey) << name;
        EXPECT_EQ(findings[0].Caption, 2u) << name; // Paste, on the key of Cut or Copy
    }
}

TEST_F(QtTranslationTest, SuffixScriptsPreferTheSourcesKey)
{
    // Paste, "&Paste" in the source, is the Edit menu's third entry in every language.
    const std::vector<std::pair<const char*, char>> cases = {
        {"editor_ja.ts", 'P'}, {"editor_de.ts", 0}, {"editor_ru.ts", 0}};
    for (const auto& [name, suffix] : cases) {
        const RCaptionFile file = Format.Read(Data(name), name);
        EXPECT_EQ(file.Scopes[EditMenu(file)].Captions[2].PreferredSuffix, suffix) << name;
    }
    std::string chinese = Data("editor_ja.ts");
    chinese.replace(chinese.find("ja_JP"), 5, "zh-Hant");
    EXPECT_EQ(Format.Read(chinese, "zh.ts").Scopes[0].Captions[0].PreferredSuffix, 'E');
    chinese.replace(chinese.find("zh-Hant"), 7, "zha");
    EXPECT_EQ(Format.Read(chinese, "zha.ts").Scopes[0].Captions[0].PreferredSuffix, 0);
}

TEST_F(QtTranslationTest, MendsOnlyTheTranslationsMarkerAndEveryOtherByteStays)
{
    struct RCase
    {
        const char* Name;
        std::vector<RTextEdit> Edits; // of the Paste entry
        std::string From, To;         // its bytes in the file before and after
    };
    const std::vector<RCase> cases = {
        {"editor_de.ts", {{0, 0, "&"}, {3, 1, ""}}, "Ein&amp;setzen", "&amp;Einsetzen"},
        {"editor_ru.ts", {{0, 1, ""}, {3, 0, "&"}}, "&amp;Вставить", "В&amp;ставить"},
        {"editor_ja.ts", {{14, 1, "P"}}, "貼り付け(&amp;C)", "貼り付け(&amp;P)"},
    };
    for (const RCase& mend : cases) {
        const std::string bytes = Data(mend.Name);
        const RCaptionFile file = Format.Read(bytes, mend.Name);
        const std::size_t menu = EditMenu(file);
        const std::string mended =
            RewriteCaptions(bytes, mend.Name, file, {{menu, 2, mend.Edits}}, Format);

        std::string expected = bytes;
        const std::size_t at = expected.find(mend.From);
        ASSERT_NE(at, std::string::npos) << mend.Name;
        expected.replace(at, mend.From.size(), mend.To);
        EXPECT_EQ(mended, expected) << mend.Name;

        const RCaptionFile reread = Format.Read(mended, mend.Name);
        EXPECT_TRUE(Findings(reread.Scopes[EditMenu(reread)]).empty()) << mend.Name;
        // A clean file is written back as it was.
        EXPECT_EQ(RewriteCaptions(mended, mend.Name, reread, {}, Format), mended) << mend.Name;
    }
}

TEST_F(QtTranslationTest, WritesIntoCdataAndReportsMalformedFiles)
{
    const std::string bytes = Data("editor_de.ts");
    const RCaptionFile file = Format.Read(bytes, "editor_de.ts");
    // Scope 1 is the fonts page: "&Wählen..." in CDATA takes its marker raw.
    const std::string mended =
        RewriteCaptions(bytes, "editor_de.ts", file, {{1, 0, {{0, 1, ""}, {2, 0, "&"}}}}, Format);
    std::string expected = bytes;
    expected.replace(expected.find("&Wählen"), 8, "W&ählen");
    EXPECT_EQ(mended, expected);

    std::string broken = bytes;
    broken.replace(broken.find("<source>&amp;Paste"), 18, "<source>&amp Paste");
    try {
        ReadQtTranslation(broken, "editor_de.ts");
        FAIL() << "no error";
    } catch (const EFormatError& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with("editor_de.ts:93:21: ")) << error.what();
    }
}

TEST(QtFormSet, FindsEveryFormOfAFolderByClass)
{
    const TQtFormSet forms(QUARNEL_FORMATS_DATA);
    ASSERT_EQ(forms.ByClass().size(), 1u);
    const RQtForm& form = *forms.ByClass().at("EditorWindow");
    EXPECT_EQ(form.File.Scopes.size(), 7u);
    EXPECT_THROW(TQtFormSet(std::string(QUARNEL_FORMATS_DATA) + "/none"), EFormatError);
}

} // namespace

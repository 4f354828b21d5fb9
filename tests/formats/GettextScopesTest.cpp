// Translated menus and dialogs: builder scopes filled from catalogues, and the duplicates
// within one translated menu that only a check across the whole scope can see.
#include "GettextScopes.h"

#include "Scope.h"
#include "TestFiles.h"
#include "UnicodeKeyRule.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string GtkData(const std::string& name)
{
    return ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/" + name);
}

std::vector<RBuilderSource> Builders()
{
    std::vector<RBuilderSource> builders;
    for (const char* name : {"editor.ui", "prefs.ui"})
        builders.push_back(RBuilderSource{std::string("data/") + name,
                                          ReadGtkBuilderStrings(GtkData(name), name)});
    return builders;
}

struct RTranslated
{
    RPoCatalogue Catalogue;
    RPoCaptionFile Captions;
    std::vector<RCatalogueScope> Scopes;
};

RTranslated Translate(const std::string& bytes, const std::vector<RBuilderSource>& builders)
{
    RTranslated translated;
    translated.Catalogue = ReadPoCatalogue(bytes, "test.po");
    translated.Captions = CatalogueCaptions(translated.Catalogue, GtkMarker);
    translated.Scopes = CatalogueScopes(translated.Catalogue, translated.Captions, builders);
    return translated;
}

const std::string& TextOf(const RTranslated& translated, std::size_t scope)
{
    return translated.Captions.File.Scopes[scope].Captions.front().Text;
}

// One line per scope: translations in brackets, untranslated captions in braces, then the
// scopes it avoids.
std::string Dump(const RTranslated& translated)
{
    std::string text;
    for (const RCatalogueScope& scope : translated.Scopes) {
        text += scope.Name + ':';
        for (const std::size_t s : scope.Translations)
            text += " [" + TextOf(translated, s) + ']';
        for (const std::string& untranslated : scope.Untranslated)
            text += " {" + untranslated + '}';
        for (const std::size_t outer : scope.Enclosing)
            text += " <" + std::to_string(outer) + '>';
        text += '\n';
    }
    return text;
}

// The keys already taken where a scope's translations stand: its untranslated captions and
// every caption of the scopes it avoids.
std::vector<TKey> TakenKeys(const RTranslated& translated, const RCatalogueScope& scope)
{
    std::vector<TKey> keys;
    const auto take = [&](const std::string& caption) {
        if (const auto key = ScanScopeMarkers(caption, UnicodeKeyRule(), GtkMarker).PinnedKey)
            keys.push_back(*key);
    };
    for (const std::string& untranslated : scope.Untranslated)
        take(untranslated);
    for (const std::size_t outer : scope.Enclosing) {
        for (const std::size_t s : translated.Scopes[outer].Translations)
            take(TextOf(translated, s));
        for (const std::string& untranslated : translated.Scopes[outer].Untranslated)
            take(untranslated);
    }
    return keys;
}

std::vector<std::string> Duplicates(const RTranslated& translated)
{
    std::vector<std::string> found;
    for (const RCatalogueScope& scope : translated.Scopes) {
        RScope engine{scope.Name, {}, TakenKeys(translated, scope)};
        for (const std::size_t s : scope.Translations)
            engine.Captions.push_back(TextOf(translated, s));
        for (const RScopeFinding& finding : CheckScope(engine, UnicodeKeyRule(), GtkMarker, 0))
            if (finding.Kind == TFindingKind::DuplicateKey)
                found.push_back(scope.Name + ": " + engine.Captions[finding.Caption] +
                                (finding.TakenOutside ? " (taken)" : ""));
    }
    return found;
}

TEST(GettextScopes, BuilderScopesHoldTheirTranslations)
{
    const RTranslated de = Translate(GtkData("de.po"), Builders());
    EXPECT_EQ(Dump(de),
              "data/editor.ui: menu \"app-menu\": [_Neues Fenster] [_Einstellungen] "
              "[_Exportieren] [_Zuletzt geöffnet] [_Beenden]\n"
              "data/editor.ui: menu \"app-menu\" > \"_Export\": [_PDF] [P_NG-Bild]\n"
              "data/editor.ui: menu \"app-menu\" > \"_Recent\": [_Liste leeren]\n"
              "data/editor.ui: template \"EditorWindow\": [_Text] [_Suchen und ersetzen] "
              "{_Debug}\n"
              "data/editor.ui: template \"EditorWindow\" > \"_Text\": "
              "[__init__-_Dateien anzeigen] {_Wrap lines} <3>\n"
              "data/editor.ui: template \"EditorWindow\" > \"_Search & Replace\": [Suchen] <3>\n"
              "data/prefs.ui: menu \"menubar\": [_Datei] [_Hilfe]\n"
              "data/prefs.ui: menu \"menubar\" > \"_File\": [Ö_ffnen…] [_Offline]\n"
              "data/prefs.ui: dialog \"prefs_dialog\" > \"_General\": [_Name:] [_Klein] [_Groß] "
              "<9>\n"
              "data/prefs.ui: dialog \"prefs_dialog\": [_Allgemein] [_Netzwerk] [_Schließen]\n"
              "data/prefs.ui: dialog \"prefs_dialog\" > \"_Network\": [_Details] "
              "[_Proxy verwenden] <9>\n");
}

TEST(GettextScopes, DuplicatesWithinATranslatedMenuInEveryLanguage)
{
    const std::vector<RBuilderSource> builders = Builders();
    EXPECT_EQ(Duplicates(Translate(GtkData("de.po"), builders)),
              (std::vector<std::string>{
                  "data/editor.ui: menu \"app-menu\": _Exportieren",
                  "data/editor.ui: template \"EditorWindow\" > \"_Text\": "
                  "__init__-_Dateien anzeigen (taken)",
                  "data/prefs.ui: dialog \"prefs_dialog\" > \"_General\": _Name: (taken)"}));
    EXPECT_EQ(Duplicates(Translate(GtkData("ru.po"), builders)),
              (std::vector<std::string>{"data/editor.ui: menu \"app-menu\": _Настройки",
                                        "data/editor.ui: menu \"app-menu\": _Недавние"}));
    EXPECT_EQ(Duplicates(Translate(GtkData("ja.po"), builders)),
              std::vector<std::string>{"data/editor.ui: menu \"app-menu\": エクスポート(_P)"});
}

TEST(GettextScopes, AMendedCatalogueChecksClean)
{
    const std::vector<RBuilderSource> builders = Builders();
    const std::string bytes = GtkData("de.po");
    const RTranslated de = Translate(bytes, builders);
    // "_Exportieren" to "E_xportieren", "__init__-_Dateien" to "__init__-Datei_en", "_Name:"
    // to "Na_me:".
    const auto scopeOf = [&](const std::string& text) {
        for (std::size_t s = 0; s < de.Captions.File.Scopes.size(); ++s)
            if (TextOf(de, s) == text)
                return s;
        throw std::runtime_error("no translation " + text);
    };
    const std::vector<RCaptionEdit> edits{
        {scopeOf("_Exportieren"), 0, {{0, 1, ""}, {2, 0, "_"}}},
        {scopeOf("__init__-_Dateien anzeigen"), 0, {{9, 1, ""}, {15, 0, "_"}}},
        {scopeOf("_Name:"), 0, {{0, 1, ""}, {3, 0, "_"}}}};
    const std::string mended =
        RewriteCaptions(bytes, "de.po", de.Captions.File, edits, TPoCatalogueFormat());
    EXPECT_TRUE(Duplicates(Translate(mended, builders)).empty());
    EXPECT_EQ(mended.size(), bytes.size());
}

TEST(GettextScopes, ReferencesChooseTheMessageAndContextsKeepMessagesApart)
{
    const std::vector<RBuilderSource> builders = Builders();
    const RTranslated translated = Translate("#: src/main.c:3\n"
                                             "msgid \"_Quit\"\nmsgstr \"_Sortir\"\n\n"
                                             "msgid \"_New Window\"\nmsgstr \"_Nouvelle\"\n\n"
                                             "#: data/editor.ui:20\n"
                                             "msgid \"_PDF\"\nmsgstr \"_Sans contexte\"\n\n"
                                             "#: ../data/editor.ui:23\nmsgctxt \"format\"\n"
                                             "msgid \"P_NG image\"\nmsgstr \"Image P_NG\"\n",
                                             builders);
    // "_Quit" is referenced from elsewhere only, "_New Window" from nowhere, which any file
    // may use; "_PDF" has a context in the builder file that the message lacks.
    EXPECT_EQ(Dump(translated).substr(0, Dump(translated).find("data/prefs.ui")),
              "data/editor.ui: menu \"app-menu\": [_Nouvelle] {_Preferences} {_Export} "
              "{_Recent} {_Quit}\n"
              "data/editor.ui: menu \"app-menu\" > \"_Export\": [Image P_NG] {_PDF}\n");
}

TEST(GettextScopes, ReferencesNameFilesFolderByFolder)
{
    EXPECT_TRUE(ReferenceNamesPath("src/window.ui", "src/window.ui"));
    EXPECT_TRUE(ReferenceNamesPath("src/window.ui", "/home/me/app/src/window.ui"));
    EXPECT_TRUE(ReferenceNamesPath("../src/./window.ui", "src/window.ui"));
    EXPECT_TRUE(ReferenceNamesPath("app/src/window.ui", "src/window.ui"));
    EXPECT_FALSE(ReferenceNamesPath("src/window.ui", "data/window.ui"));
    EXPECT_FALSE(ReferenceNamesPath("src/window.ui", "src/mywindow.ui"));
    EXPECT_FALSE(ReferenceNamesPath("", "src/window.ui"));
}

} // namespace

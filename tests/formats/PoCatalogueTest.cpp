// Reading gettext catalogues with every byte's place, compared with GNU gettext's own parser;
// their syntax errors; and rewriting only the msgstr bytes of a moved marker.
#include "PoCatalogue.h"

#include "ScopeDump.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifdef QUARNEL_HAVE_GETTEXTPO
#include <gettext-po.h>
#endif

namespace {

std::string GtkData(const std::string& name)
{
    return ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/" + name);
}

std::string ReadError(const std::string& text)
{
    try {
        ReadPoCatalogue(text, "bad.po");
    } catch (const EFormatError& error) {
        return error.what();
    }
    return "no error";
}

#ifdef QUARNEL_HAVE_GETTEXTPO
// A message as both readers give it, in one line.
std::string Describe(const RPoMessage& message)
{
    std::string text = message.Context ? "ctx=" + *message.Context + ' ' : std::string();
    text += "id=" + message.Id;
    if (message.IdPlural)
        text += " plural=" + *message.IdPlural;
    for (const RFileCaption& translation : message.Translations)
        text += " str=" + translation.Text;
    for (const RPoReference& reference : message.References)
        text += " at=" + reference.File + ':' + std::to_string(reference.Line);
    return text + (message.Fuzzy ? " fuzzy" : "");
}

void IgnoreError(int, po_message_t, const char*, size_t, size_t, int, const char*) {}
void IgnoreError2(int, po_message_t, const char*, size_t, size_t, int, const char*, po_message_t,
                  const char*, size_t, size_t, int, const char*)
{}

std::vector<std::string> ReadWithGettext(const std::string& path)
{
    const po_xerror_handler handler{IgnoreError, IgnoreError2};
    po_file_t file = po_file_read(path.c_str(), &handler);
    std::vector<std::string> messages;
    if (file == nullptr)
        return messages;
    po_message_iterator_t iterator = po_message_iterator(file, nullptr);
    while (po_message_t message = po_next_message(iterator)) {
        if (po_message_is_obsolete(message) ||
            (*po_message_msgid(message) == '\0' && po_message_msgctxt(message) == nullptr))
            continue;
        RPoMessage described;
        if (const char* context = po_message_msgctxt(message))
            described.Context = context;
        described.Id = po_message_msgid(message);
        if (const char* plural = po_message_msgid_plural(message)) {
            described.IdPlural = plural;
            for (int n = 0; const char* form = po_message_msgstr_plural(message, n); ++n)
                described.Translations.push_back(RFileCaption{form, {}});
        } else {
            described.Translations.push_back(RFileCaption{po_message_msgstr(message), {}});
        }
        for (int n = 0; po_filepos_t place = po_message_filepos(message, n); ++n) {
            const size_t line = po_filepos_start_line(place);
            described.References.push_back(RPoReference{
                po_filepos_file(place),
                line == static_cast<size_t>(-1) ? 0u : static_cast<std::uint32_t>(line)});
        }
        described.Fuzzy = po_message_is_fuzzy(message) != 0;
        messages.push_back(Describe(described));
    }
    po_message_iterator_free(iterator);
    po_file_free(file);
    return messages;
}
#endif

TEST(PoCatalogueReader, ReadsWhatGnuGettextReads)
{
#ifndef QUARNEL_HAVE_GETTEXTPO
    GTEST_SKIP() << "libgettextpo-dev is not installed";
#else
    const std::string tricky = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                               "\n#: a.c:1 b.ui:22 c.ui\n#, fuzzy, c-format\n"
                               "msgctxt \"m\\x41\\101\"\nmsgid \"tab\\there\" \"\\\\\"\n"
                               "msgstr\t\"\" \"x\"\n"
                               "   \"y\\a\\x4a\"\n#~ msgid \"gone\"\n#~ msgstr \"weg\"\n";
    for (const char* name : {"de.po", "ru.po", "ja.po", ""}) {
        const std::string bytes = *name ? GtkData(name) : tricky;
        QTemporaryDir dir;
        const std::string path = dir.filePath("copy.po").toStdString();
        WriteBytes(path, bytes);
        std::vector<std::string> ours;
        for (const RPoMessage& message : ReadPoCatalogue(bytes, "copy.po").Messages)
            ours.push_back(Describe(message));
        EXPECT_EQ(ours, ReadWithGettext(path)) << name;
        EXPECT_GT(ours.size(), 0u);
    }
#endif
}

TEST(PoCatalogueReader, MultiLineStringsAndEscapesHaveThePlaceOfEveryByte)
{
    const std::string bytes = GtkData("de.po");
    const RPoCatalogue catalogue = ReadPoCatalogue(bytes, "de.po");
    EXPECT_EQ(catalogue.Charset, "UTF-8");
    RCaptionScope scope;
    for (const RPoMessage& message : catalogue.Messages)
        for (const RFileCaption& translation : message.Translations)
            if (!translation.Text.empty())
                scope.Captions.push_back(translation);
    ExpectPlacesMatchUtf8Source(bytes, scope);

    const auto find = [&](const std::string& id) -> const RPoMessage& {
        for (const RPoMessage& message : catalogue.Messages)
            if (message.Id == id)
                return message;
        throw std::runtime_error("no message " + id);
    };
    const RPoMessage& files = find("Show __init__ _files");
    const RFileCaption& split = files.Translations.at(0);
    EXPECT_EQ(split.Text, "__init__-_Dateien anzeigen");
    const std::size_t second = bytes.find("\"anzeigen\"") + 1;
    EXPECT_EQ(split.Places[18].Offset, second);
    EXPECT_EQ(split.Places[18].Column, 2u);
    EXPECT_EQ(split.Places[17].Offset, bytes.find(" \"\n\"anzeigen"));
    EXPECT_EQ(split.Places.back().Offset, second + 8);
    EXPECT_EQ(files.Line, 62u);

    const RFileCaption& hello = find("Say \"_Hello\"\n").Translations.at(0);
    const std::size_t literal = bytes.find("\"Sag \\\"_Hallo") + 1;
    EXPECT_EQ(hello.Text, "Sag \"_Hallo\"\n");
    EXPECT_EQ(hello.Places[4].Offset, literal + 4);
    EXPECT_EQ(hello.Places[5].Offset, literal + 6);
    EXPECT_EQ(hello.Places[12].Offset, literal + 14);
    EXPECT_EQ(hello.Places.back().Offset, literal + 16);

    const RPoMessage& plural = find("%d file");
    ASSERT_EQ(plural.Translations.size(), 2u);
    EXPECT_EQ(plural.SourceOf(1), "%d files");
    EXPECT_TRUE(find("_Wrap lines").Fuzzy);
    for (const RPoMessage& message : catalogue.Messages)
        EXPECT_NE(message.Id, "_Old") << "obsolete entries are passed over";
}

TEST(PoCatalogueReader, CrLfLineEndsReadAsLineFeeds)
{
    std::string crlf;
    for (const char c : GtkData("ru.po")) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    const RPoCatalogue lf = ReadPoCatalogue(GtkData("ru.po"), "ru.po");
    const RPoCatalogue read = ReadPoCatalogue(crlf, "ru.po");
    ASSERT_EQ(read.Messages.size(), lf.Messages.size());
    for (std::size_t m = 0; m < lf.Messages.size(); ++m) {
        EXPECT_EQ(read.Messages[m].Id, lf.Messages[m].Id);
        EXPECT_EQ(read.Messages[m].Line, lf.Messages[m].Line);
        ASSERT_EQ(read.Messages[m].Translations.size(), lf.Messages[m].Translations.size());
        for (std::size_t f = 0; f < lf.Messages[m].Translations.size(); ++f)
            EXPECT_EQ(read.Messages[m].Translations[f].Text, lf.Messages[m].Translations[f].Text);
    }
    EXPECT_EQ(read.Charset, "utf-8");
}

TEST(PoCatalogueReader, CaptionsAreTheTranslationsOfMessagesThatAreNotFuzzy)
{
    const RPoCaptionFile ru = CatalogueCaptions(ReadPoCatalogue(GtkData("ru.po"), "ru.po"), '_');
    EXPECT_EQ(DumpScopes(ru.File), "msgid \"_New Window\": [_Новое окно]\n"
                                   "msgid \"_Preferences\": [_Настройки]\n"
                                   "msgid \"Documents\": [_Документы]?\n"
                                   "msgid \"_Export\": [_Экспорт]\n"
                                   "msgid \"_Recent\": [_Недавние]\n"
                                   "msgid \"_Quit\": [Выход]\n"
                                   "msgid \"%d file\" [0]: [%d файл]-\n"
                                   "msgid \"%d files\" [1]: [%d файла]-\n"
                                   "msgid \"%d files\" [2]: [%d файлов]-\n"
                                   "msgid \"_File\": [_Файл]\n"
                                   "msgid \"_Help\": [_Справка]\n");
    EXPECT_EQ(ru.Forms[7], (RPoForm{6, 1}));

    const RPoCatalogue de = ReadPoCatalogue(GtkData("de.po"), "de.po");
    const std::string dump = DumpScopes(CatalogueCaptions(de, '_').File);
    EXPECT_EQ(dump.find("_Wrap lines"), std::string::npos);
    EXPECT_NE(dump.find("msgctxt \"format\" msgid \"P_NG image\": [P_NG-Bild]\n"),
              std::string::npos);
}

TEST(PoCatalogueReader, JapaneseChineseAndKoreanSuffixesPreferTheSourcesKey)
{
    const std::string catalogue = "msgid \"\"\nmsgstr \"\"\n\"Language: LANG\\n\"\n\n"
                                  "msgid \"_Export\"\nmsgstr \"X\"\n\n"
                                  "msgid \"Save _as\"\nmsgstr \"X\"\n\n"
                                  "msgid \"_Überall\"\nmsgstr \"X\"\n";
    const auto suffixes = [&](const std::string& language, const std::string& fileName) {
        std::string bytes = catalogue;
        bytes.replace(bytes.find("LANG"), 4, language);
        std::string letters;
        for (const RCaptionScope& scope :
             CatalogueCaptions(ReadPoCatalogue(bytes, fileName), '_').File.Scopes) {
            const char suffix = scope.Captions.front().PreferredSuffix;
            letters.push_back(suffix != 0 ? suffix : '-');
        }
        return letters;
    };
    EXPECT_EQ(suffixes("ja", "x.po"), "EA-");
    EXPECT_EQ(suffixes("zh_TW", "x.po"), "EA-");
    EXPECT_EQ(suffixes("ko-KR", "x.po"), "EA-");
    EXPECT_EQ(suffixes("de", "x.po"), "---");
    EXPECT_EQ(suffixes("jam", "x.po"), "---");
    // Without a Language field, a catalogue named as its language says it.
    EXPECT_EQ(suffixes("", "po/ja.po"), "EA-");
    EXPECT_EQ(suffixes("", "po/ja_JP.po"), "EA-");
    EXPECT_EQ(suffixes("", "po/de.po"), "---");
    EXPECT_EQ(suffixes("", "po/japanese.po"), "---");
}

TEST(PoCatalogueReader, ReportsWhatPerStringCheckersReport)
{
    const RPoCatalogue ru = ReadPoCatalogue(GtkData("ru.po"), "ru.po");
    const std::vector<RPoKeyMismatch> mismatches = KeyMismatches(ru, '_');
    ASSERT_EQ(mismatches.size(), 2u);
    EXPECT_EQ(ru.Messages[mismatches[0].Form.Message].Id, "Documents");
    EXPECT_FALSE(mismatches[0].SourceHasKey);
    EXPECT_EQ(ru.Messages[mismatches[1].Form.Message].Id, "_Quit");
    EXPECT_TRUE(mismatches[1].SourceHasKey);

    EXPECT_TRUE(HasKeyMarker("a_b", '_'));
    EXPECT_FALSE(HasKeyMarker("__init__", '_'));
    EXPECT_FALSE(HasKeyMarker("end_", '_'));
    EXPECT_TRUE(HasKeyMarker("__init__ _files", '_'));
}

TEST(PoCatalogueReader, SyntaxErrorsNameTheFileAndTheLine)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"\"\n", "bad.po:3: missing 'msgstr' section"},
        {"msgid \"a\"\n", "bad.po:2: missing 'msgstr' section"},
        {"msgstr \"a\"\n", "bad.po:1: msgstr without msgid"},
        {"msgid \"a\nmsgstr \"\"\n", "bad.po:1: end-of-line within string"},
        {"msgid \"a\" x\nmsgstr \"\"\n", "bad.po:1: text after the end of the string"},
        {"msgid \"\\q\"\nmsgstr \"\"\n", "bad.po:1: invalid control sequence"},
        {"msgid \"a\"\nmsgstr \"\"\nmsgfoo \"b\"\n", "bad.po:3: keyword \"msgfoo\" unknown"},
        {"\"a\"\n", "bad.po:1: a string continues no keyword"},
        {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr \"\"\n",
         "bad.po:3: a message with msgid_plural needs msgstr[0], msgstr[1]..."},
        {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr[1] \"\"\n",
         "bad.po:3: msgstr[1] out of order; expected msgstr[0]"},
        {"msgid \"a\"\nmsgstr[0] \"\"\n", "bad.po:2: msgstr[N] in a message without msgid_plural"},
        {"msgid \"a\"\nmsgstr \"\"\nmsgstr \"b\"\n", "bad.po:3: a second msgstr"},
        {"msgid \"a\"\nmsgstr\n", "bad.po:2: keyword \"msgstr\" without its string"},
        {"msgid \"a\"\nmsgstr \"\xC3\"\n", "bad.po:2: not valid UTF-8"},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=SHIFT_JIS\\n\"\n\n"
         "msgid \"a\"\nmsgstr \"\x83\\\"\n",
         "bad.po:1: the catalogue is in SHIFT_JIS, whose characters may hold the bytes of quotes "
         "and backslashes; convert it with msgconv --to-code=UTF-8"},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=X-MAC-CYRILLIC\\n\"\n",
         "bad.po:1: the catalogue names the charset X-MAC-CYRILLIC, which is not known here; "
         "convert it with msgconv --to-code=UTF-8"},
        {"msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=EUC-JP\\n\"\n\n"
         "msgid \"a\"\nmsgstr \"\xA4\"\n",
         "bad.po:6: not valid EUC-JP"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(ReadError(text), message) << text;
}

TEST(PoCatalogueReader, OtherCharsetsAreReadThroughIconvAndWrittenBackInThem)
{
    const std::string bytes = GtkData("de.latin1.po");
    const TPoCatalogueFormat format;
    const RCaptionFile file = format.Read(bytes, "de.po");
    ASSERT_EQ(file.Scopes.size(), 3u);
    const RFileCaption& about = file.Scopes[0].Captions.front();
    EXPECT_EQ(about.Text, "Über");
    // Places count characters on their line, and point at the file's own bytes.
    EXPECT_EQ(about.Start().Line, 9u);
    EXPECT_EQ(about.Start().Column, 9u);
    EXPECT_EQ(bytes.substr(about.Start().Offset, 4), "\xDC"
                                                     "ber");
    const RFileCaption& resize = file.Scopes[1].Captions.front();
    EXPECT_EQ(resize.Text, "Größe _ändern");
    // "ö" is two bytes of text from one byte of the file.
    EXPECT_EQ(resize.Places[3].Offset, resize.Places[2].Offset);
    EXPECT_EQ(resize.Places[4].Offset, resize.Places[2].Offset + 1);
    EXPECT_NE(format.DecodedText(bytes, "de.po").find("msgstr \"Größe _ändern\""),
              std::string::npos);

    // "_" before "Ü", and the marker of "Größe _ändern" moved before "ß".
    const std::vector<RCaptionEdit> edits{{0, 0, {{0, 0, "_"}}}, {1, 0, {{8, 1, ""}, {4, 0, "_"}}}};
    const std::string latin1About = "msgstr \"\xDC"
                                    "ber\"";
    const std::string latin1Resize = "msgstr \"Gr\xF6\xDF"
                                     "e _\xE4ndern\"";
    std::string expected = bytes;
    expected.replace(expected.find(latin1About), latin1About.size(),
                     "msgstr \"_\xDC"
                     "ber\"");
    expected.replace(expected.find(latin1Resize), latin1Resize.size(),
                     "msgstr \"Gr\xF6_\xDF"
                     "e \xE4ndern\"");
    EXPECT_EQ(RewriteCaptions(bytes, "de.po", file, edits, format), expected);
    // Nothing a fix inserts is outside the charset, but a text that is cannot be written.
    EXPECT_THROW(format.Encode(about, "Ж"), std::runtime_error);

    const RPoCatalogue russian = ReadPoCatalogue(GtkData("ru.koi8-r.po"), "ru.po");
    const RPoCatalogue utf8 = ReadPoCatalogue(GtkData("ru.po"), "ru.po");
    ASSERT_EQ(russian.Messages.size(), utf8.Messages.size());
    EXPECT_EQ(russian.Charset, "KOI8-R");
    for (std::size_t m = 0; m < utf8.Messages.size(); ++m)
        for (std::size_t f = 0; f < utf8.Messages[m].Translations.size(); ++f) {
            EXPECT_EQ(russian.Messages[m].Translations[f].Text,
                      utf8.Messages[m].Translations[f].Text);
            EXPECT_EQ(russian.Messages[m].Translations[f].Start().Column,
                      utf8.Messages[m].Translations[f].Start().Column);
        }
}

TEST(PoCatalogueWriter, ChangesOnlyMsgstrBytesAndKeepsTheEntryAsItWas)
{
    const std::string bytes = GtkData("de.po");
    const TPoCatalogueFormat format;
    const RCaptionFile file = format.Read(bytes, "de.po");
    const auto scopeOf = [&](const std::string& name) {
        for (std::size_t s = 0; s < file.Scopes.size(); ++s)
            if (file.Scopes[s].Name == name)
                return s;
        throw std::runtime_error("no scope " + name);
    };
    const std::size_t export_ = scopeOf("msgid \"_Export\"");
    const std::size_t files = scopeOf("msgid \"Show __init__ _files\"");
    const std::size_t find = scopeOf("msgid \"_Find\"");
    const std::vector<RCaptionEdit> edits{
        {export_, 0, {{0, 1, ""}, {2, 0, "_"}}},
        // The marker moves to the second line of a multi-line string, which stays wrapped.
        {files, 0, {{9, 1, ""}, {18, 0, "_"}}},
        {find, 0, TextEditsBetween("Suchen", "_Suchen")}};
    const std::string written = RewriteCaptions(bytes, "de.po", file, edits, format);

    std::string expected = bytes;
    expected.replace(expected.find("msgstr \"_Exportieren\""), 21, "msgstr \"E_xportieren\"");
    expected.replace(expected.find("\"__init__-_Dateien \"\n\"anzeigen\""), 31,
                     "\"__init__-Dateien \"\n\"_anzeigen\"");
    expected.replace(expected.find("msgstr \"Suchen\""), 15, "msgstr \"_Suchen\"");
    EXPECT_EQ(written, expected);

    // msgid "_Text" has msgstr "_Text": only the translation moves, and no fuzzy flag appears.
    const std::size_t text = scopeOf("msgid \"_Text\"");
    const std::string moved = RewriteCaptions(
        bytes, "de.po", file, {{text, 0, TextEditsBetween("_Text", "T_ext")}}, format);
    EXPECT_NE(moved.find("msgid \"_Text\"\nmsgstr \"T_ext\"\n"), std::string::npos);
    EXPECT_EQ(moved.size(), bytes.size());
    EXPECT_EQ(ReadPoCatalogue(moved, "de.po").Messages.size(),
              ReadPoCatalogue(bytes, "de.po").Messages.size());
    EXPECT_EQ(moved.find("fuzzy"), bytes.find("fuzzy"));
}

TEST(PoCatalogueWriter, EscapesWhatItInserts)
{
    const TPoCatalogueFormat format;
    EXPECT_EQ(format.Encode(RFileCaption{}, "(\"_\\)\n\x01"), "(\\\"_\\\\)\\n\\001");
}

} // namespace

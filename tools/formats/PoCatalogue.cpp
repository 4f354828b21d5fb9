#include "PoCatalogue.h"

#include "PoCharset.h"
#include "SourceLines.h"
#include "SuffixKeys.h"
#include "TextDecoding.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lowered;
}

// The value of the header's Language field, or empty.
std::string HeaderLanguage(std::string_view header)
{
    const std::string lowered = Lowered(header);
    std::size_t field = lowered.find("language:");
    while (field != std::string::npos && field != 0 && header[field - 1] != '\n')
        field = lowered.find("language:", field + 1);
    if (field == std::string::npos)
        return {};
    std::size_t begin = field + 9;
    while (begin < header.size() && IsBlank(header[begin]))
        ++begin;
    std::size_t end = begin;
    while (end < header.size() && header[end] != '\n' && !IsBlank(header[end]))
        ++end;
    return std::string(header.substr(begin, end - begin));
}

// A catalogue named as its language (po/ja.po, ja_JP.po), as gettext lays them out.
std::string LanguageOfFileName(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    std::string_view base = fileName.substr(slash == std::string_view::npos ? 0 : slash + 1);
    if (!base.ends_with(".po"))
        return {};
    base.remove_suffix(3);
    const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    if (base.size() < 2 || !lower(base[0]) || !lower(base[1]) ||
        (base.size() > 2 && base[2] != '_' && base[2] != '-' && base[2] != '.'))
        return {};
    return std::string(base.substr(0, 2));
}

// The charset the header's Content-Type names, or empty.
std::string HeaderCharset(std::string_view header)
{
    const std::string lowered = Lowered(header);
    const std::size_t field = lowered.find("content-type:");
    if (field == std::string::npos)
        return {};
    const std::size_t charset = lowered.find("charset=", field);
    const std::size_t lineEnd = lowered.find('\n', field);
    if (charset == std::string::npos || charset > lineEnd)
        return {};
    const std::size_t begin = charset + 8;
    std::size_t end = begin;
    while (end < header.size() && header[end] != '\n' && header[end] != ';' &&
           !IsBlank(header[end]))
        ++end;
    return std::string(header.substr(begin, end - begin));
}

bool IsUtf8Charset(const std::string& charset)
{
    const std::string lowered = Lowered(charset);
    // "CHARSET" is what a fresh template says before anyone chose.
    return lowered.empty() || lowered == "utf-8" || lowered == "utf8" || lowered == "charset" ||
           lowered == "ascii" || lowered == "us-ascii";
}

enum class TKeyword
{
    None,
    Context,
    Id,
    IdPlural,
    Translation
};

class TPoReader
{
public:
    TPoReader(std::string_view bytes, const std::string& fileName)
        : FBytes(bytes), FFileName(fileName), FStart(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0),
          FLines(bytes, FStart)
    {}

    RPoCatalogue Read()
    {
        std::size_t lineStart = FStart;
        std::uint32_t line = 1;
        while (lineStart < FBytes.size()) {
            std::size_t lineEnd = FBytes.find('\n', lineStart);
            if (lineEnd == std::string_view::npos)
                lineEnd = FBytes.size();
            ReadLine(lineStart, lineEnd, line);
            lineStart = lineEnd + 1;
            ++line;
        }
        FinishEntry(line);
        return std::move(FCatalogue);
    }

    std::uint32_t HeaderLine() const { return FHeaderLine; }
    // As the header names it, once it has been read.
    const std::string& Charset() const { return FCatalogue.Charset; }

    void CheckUtf8() const
    {
        const std::size_t invalid = FirstInvalidUtf8(FBytes);
        if (invalid != std::string_view::npos)
            Fail(FLines.LineOf(invalid), "not valid UTF-8");
    }

private:
    [[noreturn]] void Fail(std::uint32_t line, const std::string& message) const
    {
        throw EFormatError(FFileName + ':' + std::to_string(line) + ": " + message);
    }

    void ReadLine(std::size_t begin, std::size_t end, std::uint32_t line)
    {
        std::size_t i = begin;
        while (i < end && IsBlank(FBytes[i]))
            ++i;
        if (i == end)
            return;
        const std::string_view rest = FBytes.substr(i, end - i);
        if (rest[0] == '#') {
            // A comment after a complete entry begins the next one.
            if (FHaveTranslation)
                FinishEntry(line);
            if (rest.substr(0, 2) == "#:")
                ReadReferences(rest.substr(2));
            else if (rest.substr(0, 2) == "#,")
                ReadFlags(rest.substr(2));
            return;
        }
        if (rest[0] == '"') {
            if (FKeyword == TKeyword::None)
                Fail(line, "a string continues no keyword");
            ReadString(i, end, line, *FString);
            return;
        }
        std::size_t word = i;
        while (word < end && !IsBlank(FBytes[word]) && FBytes[word] != '"')
            ++word;
        const std::string_view keyword = FBytes.substr(i, word - i);
        while (word < end && IsBlank(FBytes[word]))
            ++word;
        if (word == end || FBytes[word] != '"')
            Fail(line, keyword.empty() || !std::isalpha(static_cast<unsigned char>(keyword[0]))
                           ? "syntax error"
                           : "keyword \"" + std::string(keyword) + "\" without its string");
        StartKeyword(keyword, line);
        ReadString(word, end, line, *FString);
    }

    void StartKeyword(std::string_view keyword, std::uint32_t line)
    {
        if (keyword == "msgctxt") {
            if (FHaveTranslation)
                FinishEntry(line);
            if (FHaveId || FEntry.Context)
                Fail(line, "msgctxt where it cannot stand");
            FEntry.Context.emplace();
            FKeyword = TKeyword::Context;
            FString = &FContextText;
        } else if (keyword == "msgid") {
            if (FHaveTranslation)
                FinishEntry(line);
            if (FHaveId)
                Fail(line, "missing 'msgstr' section");
            FHaveId = true;
            FEntry.Line = line;
            FKeyword = TKeyword::Id;
            FString = &FIdText;
        } else if (keyword == "msgid_plural") {
            if (!FHaveId || FHaveTranslation || FEntry.IdPlural)
                Fail(line, "msgid_plural where it cannot stand");
            FEntry.IdPlural.emplace();
            FKeyword = TKeyword::IdPlural;
            FString = &FPluralText;
        } else if (keyword.substr(0, 6) == "msgstr") {
            if (!FHaveId)
                Fail(line, "msgstr without msgid");
            const std::string_view index = keyword.substr(6);
            if (index.empty()) {
                if (FEntry.IdPlural)
                    Fail(line, "a message with msgid_plural needs msgstr[0], msgstr[1]...");
                if (FHaveTranslation)
                    Fail(line, "a second msgstr");
            } else {
                if (!FEntry.IdPlural)
                    Fail(line, "msgstr[N] in a message without msgid_plural");
                if (index.size() < 3 || index.size() > 8 || index.front() != '[' ||
                    index.back() != ']' ||
                    !std::all_of(index.begin() + 1, index.end() - 1, IsDigit) ||
                    std::stoul(std::string(index.substr(1, index.size() - 2))) !=
                        FEntry.Translations.size())
                    Fail(line, "msgstr" + std::string(index) + " out of order; expected msgstr[" +
                                   std::to_string(FEntry.Translations.size()) + ']');
            }
            FHaveTranslation = true;
            FEntry.Translations.emplace_back();
            FKeyword = TKeyword::Translation;
            FString = &FEntry.Translations.back();
        } else {
            Fail(line, "keyword \"" + std::string(keyword) + "\" unknown");
        }
    }

    // The literals from the quote at `quote` to the line's end, appended to `into`.
    void ReadString(std::size_t quote, std::size_t end, std::uint32_t line, RFileCaption& into)
    {
        while (quote < end)
            quote = ReadLiteral(quote, end, line, into);
    }

    // One literal; returns where the next one on the line starts, or `end`.
    std::size_t ReadLiteral(std::size_t quote, std::size_t end, std::uint32_t line,
                            RFileCaption& into)
    {
        std::string& text = into.Text;
        std::vector<RSourcePlace>& places = into.Places;
        if (!places.empty())
            places.pop_back(); // the end of the previous literal
        RSourcePlace place = FLines.PlaceOf(quote + 1);
        const auto put = [&](std::size_t at, std::string_view bytes) {
            place = FLines.Advance(place, at);
            text.append(bytes);
            places.insert(places.end(), bytes.size(), place);
        };
        std::size_t i = quote + 1;
        while (true) {
            if (i >= end)
                Fail(line, "end-of-line within string");
            const char c = FBytes[i];
            if (c == '"')
                break;
            if (c != '\\') {
                const std::size_t length = CharacterLength(i, end);
                put(i, FBytes.substr(i, length));
                i += length;
                continue;
            }
            if (i + 1 >= end)
                Fail(line, "end-of-line within string");
            const char e = FBytes[i + 1];
            std::size_t next = i + 2;
            char decoded = 0;
            switch (e) {
            case 'n':
                decoded = '\n';
                break;
            case 't':
                decoded = '\t';
                break;
            case 'r':
                decoded = '\r';
                break;
            case 'b':
                decoded = '\b';
                break;
            case 'f':
                decoded = '\f';
                break;
            case 'v':
                decoded = '\v';
                break;
            case 'a':
                decoded = '\a';
                break;
            case '\\':
            case '"':
                decoded = e;
                break;
            case 'x': {
                unsigned value = 0;
                std::size_t digits = 0;
                while (next < end && std::isxdigit(static_cast<unsigned char>(FBytes[next])) &&
                       digits < 2) {
                    const char d = FBytes[next];
                    value = value * 16 +
                            static_cast<unsigned>(IsDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
                    ++next;
                    ++digits;
                }
                if (digits == 0)
                    Fail(line, "invalid control sequence");
                decoded = static_cast<char>(value);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    unsigned value = 0;
                    next = i + 1;
                    while (next < end && next < i + 4 && FBytes[next] >= '0' && FBytes[next] <= '7')
                        value = value * 8 + static_cast<unsigned>(FBytes[next++] - '0');
                    decoded = static_cast<char>(value & 0xFF);
                } else {
                    Fail(line, "invalid control sequence");
                }
            }
            put(i, std::string_view(&decoded, 1));
            i = next;
        }
        place = FLines.Advance(place, i);
        places.push_back(place);
        // Another string may follow on the same line, continuing this one.
        std::size_t k = i + 1;
        while (k < end && IsBlank(FBytes[k]))
            ++k;
        if (k < end && FBytes[k] != '"')
            Fail(line, "text after the end of the string");
        return k;
    }

    // A UTF-8 sequence, or a byte alone where there is none (the encoding is checked once the
    // header has named it), so that a quote never hides in a broken sequence.
    std::size_t CharacterLength(std::size_t i, std::size_t end) const
    {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(FBytes[i]));
        if (length > end - i)
            return 1;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(FBytes[i + k]) & 0xC0) != 0x80)
                return 1;
        return length;
    }

    void ReadReferences(std::string_view text)
    {
        std::size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && IsBlank(text[i]))
                ++i;
            std::size_t end = i;
            while (end < text.size() && !IsBlank(text[end]))
                ++end;
            if (end > i) {
                const std::string_view token = text.substr(i, end - i);
                RPoReference reference{std::string(token), 0};
                const std::size_t colon = token.rfind(':');
                if (colon != std::string_view::npos && colon + 1 < token.size() &&
                    token.size() - colon <= 10 &&
                    std::all_of(token.begin() + static_cast<std::ptrdiff_t>(colon) + 1, token.end(),
                                IsDigit)) {
                    reference.File = std::string(token.substr(0, colon));
                    reference.Line = static_cast<std::uint32_t>(
                        std::stoul(std::string(token.substr(colon + 1))));
                }
                FEntry.References.push_back(std::move(reference));
            }
            i = end;
        }
    }

    void ReadFlags(std::string_view text)
    {
        std::size_t i = 0;
        while (i <= text.size()) {
            std::size_t end = text.find(',', i);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view flag = text.substr(i, end - i);
            while (!flag.empty() && IsBlank(flag.front()))
                flag.remove_prefix(1);
            while (!flag.empty() && IsBlank(flag.back()))
                flag.remove_suffix(1);
            if (flag == "fuzzy")
                FEntry.Fuzzy = true;
            i = end + 1;
        }
    }

    void FinishEntry(std::uint32_t line)
    {
        if (FHaveId && !FHaveTranslation)
            Fail(line, "missing 'msgstr' section");
        if (FEntry.Context && !FHaveId)
            Fail(line, "msgctxt without msgid");
        if (FHaveId) {
            FEntry.Id = std::move(FIdText.Text);
            if (FEntry.Context)
                FEntry.Context = std::move(FContextText.Text);
            if (FEntry.IdPlural)
                FEntry.IdPlural = std::move(FPluralText.Text);
            if (FEntry.Id.empty() && !FEntry.Context && !FSawHeader) {
                FSawHeader = true;
                FHeaderLine = FEntry.Line;
                if (!FEntry.Translations.empty()) {
                    FCatalogue.Charset = HeaderCharset(FEntry.Translations.front().Text);
                    FCatalogue.Language = HeaderLanguage(FEntry.Translations.front().Text);
                }
            } else {
                FCatalogue.Messages.push_back(std::move(FEntry));
            }
        }
        FEntry = RPoMessage{};
        FIdText = RFileCaption{};
        FContextText = RFileCaption{};
        FPluralText = RFileCaption{};
        FHaveId = false;
        FHaveTranslation = false;
        FKeyword = TKeyword::None;
        FString = nullptr;
    }

    std::string_view FBytes;
    const std::string& FFileName;
    std::size_t FStart;
    TSourceLines FLines;
    RPoCatalogue FCatalogue;
    bool FSawHeader = false;
    std::uint32_t FHeaderLine = 1;

    // The entry being read.
    RPoMessage FEntry;
    RFileCaption FIdText;
    RFileCaption FContextText;
    RFileCaption FPluralText;
    bool FHaveId = false;
    bool FHaveTranslation = false;
    TKeyword FKeyword = TKeyword::None;
    RFileCaption* FString = nullptr;
};

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\n')
            quoted += "\\n";
        else if (c == '"' || c == '\\')
            quoted += std::string{'\\', c};
        else
            quoted.push_back(c);
    }
    return quoted + '"';
}

// A catalogue in another charset than UTF-8, decoded whole. Its syntax is ASCII, which the
// charset keeps apart from its other characters, so the decoded text has the same lines and
// the same characters in them.
struct RDecodedCatalogue
{
    RPoCharset Charset;
    RDecodedText Text;
};

RDecodedCatalogue DecodeCatalogue(std::string_view bytes, const std::string& fileName,
                                  const std::string& charset, std::uint32_t headerLine)
{
    const auto fail = [&](std::uint32_t line, const std::string& message) {
        throw EFormatError(fileName + ':' + std::to_string(line) + ": " + message);
    };
    TPoCharsetProblem problem = TPoCharsetProblem::Unknown;
    const std::optional<RPoCharset> found = FindPoCharset(charset, problem);
    if (!found && problem == TPoCharsetProblem::Unknown)
        fail(headerLine, "the catalogue names the charset " + charset +
                             ", which is not known here; convert it with msgconv --to-code=UTF-8");
    TCodePage page(found ? found->Name.c_str() : "");
    if (!found || !page.Valid())
        fail(headerLine, "the catalogue is in " + charset +
                             ", whose characters may hold the bytes of quotes and backslashes; "
                             "convert it with msgconv --to-code=UTF-8");
    RDecodedCatalogue decoded{*found, {}};
    const std::size_t failed = page.Append(bytes, 0, decoded.Text);
    if (failed != std::string_view::npos)
        fail(TSourceLines(bytes).LineOf(failed), "not valid " + charset);
    return decoded;
}

RPoCatalogue ReadInItsCharset(std::string_view bytes, const std::string& fileName)
{
    TPoReader reader(bytes, fileName);
    RPoCatalogue catalogue;
    try {
        catalogue = reader.Read();
    } catch (const EFormatError&) {
        // A charset that hides quotes and backslashes in its characters breaks the syntax
        // wherever they fall: that is the fault to report.
        if (!IsUtf8Charset(reader.Charset()))
            DecodeCatalogue(bytes, fileName, reader.Charset(), reader.HeaderLine());
        throw;
    }
    if (IsUtf8Charset(catalogue.Charset)) {
        reader.CheckUtf8();
        return catalogue;
    }
    const RDecodedCatalogue decoded =
        DecodeCatalogue(bytes, fileName, catalogue.Charset, reader.HeaderLine());
    RPoCatalogue read = TPoReader(decoded.Text.Text, fileName).Read();
    // Places back in the file's own bytes, for the writer; lines and columns stay as counted.
    for (RPoMessage& message : read.Messages) {
        for (RFileCaption& translation : message.Translations) {
            for (RSourcePlace& place : translation.Places)
                place.Offset = decoded.Text.Origin(place.Offset);
            translation.EncodingTag = decoded.Charset.Tag;
        }
    }
    return read;
}

} // namespace

RPoCatalogue ReadPoCatalogue(std::string_view bytes, const std::string& fileName)
{
    RPoCatalogue catalogue = ReadInItsCharset(bytes, fileName);
    if (catalogue.Language.empty())
        catalogue.Language = LanguageOfFileName(fileName);
    return catalogue;
}

bool HasKeyMarker(std::string_view text, char marker)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != marker)
            continue;
        if (text[i + 1] != marker)
            return true;
        ++i;
    }
    return false;
}

RPoCaptionFile CatalogueCaptions(const RPoCatalogue& catalogue, char marker)
{
    const bool suffixes = KeysInSuffixes(catalogue.Language);
    RPoCaptionFile result;
    for (std::size_t m = 0; m < catalogue.Messages.size(); ++m) {
        const RPoMessage& message = catalogue.Messages[m];
        if (message.Fuzzy)
            continue;
        for (std::size_t f = 0; f < message.Translations.size(); ++f) {
            const RFileCaption& translation = message.Translations[f];
            if (translation.Text.empty())
                continue;
            RCaptionScope scope;
            if (message.Context)
                scope.Name = "msgctxt " + Quoted(*message.Context) + ' ';
            scope.Name += "msgid " + Quoted(message.SourceOf(f));
            if (message.IdPlural)
                scope.Name += " [" + std::to_string(f) + ']';
            RFileCaption caption = translation;
            caption.SourceKey = MarkedCharacterOf(message.SourceOf(f), marker);
            if (suffixes)
                caption.PreferredSuffix = SuffixKeyOfSource(message.SourceOf(f), marker);
            const bool sourceKey = HasKeyMarker(message.SourceOf(f), marker);
            caption.KeyRequired = sourceKey;
            caption.CanCarryKey = sourceKey || HasKeyMarker(translation.Text, marker);
            scope.Captions.push_back(std::move(caption));
            result.File.Scopes.push_back(std::move(scope));
            result.Forms.push_back(RPoForm{m, f});
        }
    }
    return result;
}

std::vector<RPoKeyMismatch> KeyMismatches(const RPoCatalogue& catalogue, char marker)
{
    std::vector<RPoKeyMismatch> mismatches;
    for (std::size_t m = 0; m < catalogue.Messages.size(); ++m) {
        const RPoMessage& message = catalogue.Messages[m];
        if (message.Fuzzy)
            continue;
        for (std::size_t f = 0; f < message.Translations.size(); ++f) {
            const std::string& translation = message.Translations[f].Text;
            if (translation.empty())
                continue;
            const bool sourceKey = HasKeyMarker(message.SourceOf(f), marker);
            if (sourceKey != HasKeyMarker(translation, marker))
                mismatches.push_back(RPoKeyMismatch{RPoForm{m, f}, sourceKey});
        }
    }
    return mismatches;
}

namespace {

// Text as a msgstr literal spells it, in UTF-8.
std::string EscapedText(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '"':
            escaped += "\\\"";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                const auto value = static_cast<unsigned char>(c);
                escaped += {'\\', static_cast<char>('0' + (value >> 6)),
                            static_cast<char>('0' + ((value >> 3) & 7)),
                            static_cast<char>('0' + (value & 7))};
            } else {
                escaped.push_back(c);
            }
        }
    }
    return escaped;
}

} // namespace

std::string TPoCatalogueFormat::DecodedText(std::string_view bytes,
                                            const std::string& fileName) const
{
    const RPoCatalogue catalogue = ReadPoCatalogue(bytes, fileName);
    if (!IsUtf8Charset(catalogue.Charset))
        return DecodeCatalogue(bytes, fileName, catalogue.Charset, 1).Text.Text;
    return std::string(bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0));
}

std::string TPoCatalogueFormat::Encode(const RFileCaption& caption, std::string_view text) const
{
    return EncodeInPoCharset(EscapedText(text), caption.EncodingTag);
}

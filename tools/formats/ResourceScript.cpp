#include "ResourceScript.h"

#include "TextDecoding.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

// ---- Decoding ----------------------------------------------------------------------------

struct RSource
{
    RDecodedText Decoded;
    // (decoded index, code page) in increasing order: the code page of the text from there on.
    std::vector<std::pair<std::size_t, unsigned>> CodePages;

    unsigned CodePageAt(std::size_t index) const
    {
        auto it =
            std::upper_bound(CodePages.begin(), CodePages.end(), index,
                             [](std::size_t i, const std::pair<std::size_t, unsigned>& change) {
                                 return i < change.first;
                             });
        return it == CodePages.begin() ? CodePageUtf8 : std::prev(it)->second;
    }
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool EqualsUpper(std::string_view text, std::string_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

// The code page a `#pragma code_page(N)` line names: N, CodePageUtf8 for DEFAULT, 0 when the
// line is something else.
unsigned PragmaCodePage(std::string_view line)
{
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
    };
    const auto take = [&](std::string_view word) {
        skipBlanks();
        if (line.substr(i, word.size()) != word)
            return false;
        i += word.size();
        return true;
    };
    if (!take("#") || !take("pragma") || !take("code_page") || !take("("))
        return 0;
    skipBlanks();
    unsigned number = 0;
    if (take("DEFAULT")) {
        number = CodePageUtf8;
    } else {
        const std::size_t start = i;
        while (i < line.size() && IsDigit(line[i]) && number < 100000)
            number = number * 10 + static_cast<unsigned>(line[i++] - '0');
        if (i == start)
            return 0;
    }
    return take(")") ? number : 0;
}

std::string LinePrefix(const std::string& fileName, std::size_t line)
{
    return fileName + ':' + std::to_string(line) + ": ";
}

std::string HexByte(unsigned char byte)
{
    constexpr const char* Digits = "0123456789ABCDEF";
    return std::string("0x") + Digits[byte >> 4] + Digits[byte & 15];
}

RSource DecodeSource(std::string_view bytes, const std::string& fileName)
{
    RSource source;
    const auto startsWith = [&bytes](std::string_view prefix) {
        return bytes.substr(0, prefix.size()) == prefix;
    };
    if (startsWith("\xFE\xFF"))
        throw EFormatError(fileName + ": the encoding UTF-16BE cannot be read; save the file as "
                                      "UTF-16LE or UTF-8");
    const bool bomLess16 = bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0';
    if (startsWith("\xFF\xFE") || bomLess16) {
        const std::size_t base = bomLess16 ? 0 : 2;
        source.Decoded.Base = base;
        source.CodePages.emplace_back(0, CodePageUtf16Le);
        const std::size_t failed = AppendUtf16Le(bytes.substr(base), base, source.Decoded);
        if (failed != std::string_view::npos)
            throw EFormatError(fileName + ": not valid UTF-16LE at byte " +
                               std::to_string(base + failed));
        return source;
    }
    const bool bom = startsWith("\xEF\xBB\xBF");
    const std::size_t base = bom ? 3 : 0;
    source.Decoded.Base = base;
    // A file with a BOM is UTF-8 whatever its pragmas say.
    if (bom || bytes.find("code_page") == std::string_view::npos) {
        source.Decoded.Text.assign(bytes.substr(base));
        return source;
    }
    std::unique_ptr<TCodePage> codePage; // none: UTF-8
    std::size_t lineNumber = 1;
    for (std::size_t start = base; start < bytes.size(); ++lineNumber) {
        const std::size_t newline = bytes.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (!codePage) {
            source.Decoded.AppendBytes(line, start);
        } else {
            const std::size_t failed = codePage->Append(line, start, source.Decoded);
            if (failed != std::string_view::npos)
                throw EFormatError(LinePrefix(fileName, lineNumber) + "byte " +
                                   HexByte(static_cast<unsigned char>(line[failed])) +
                                   " is not text in code page " +
                                   std::to_string(codePage->Number()));
        }
        if (const unsigned named = PragmaCodePage(line)) {
            if (named == CodePageUtf8) {
                codePage.reset();
            } else {
                codePage = std::make_unique<TCodePage>(named);
                if (!codePage->Valid())
                    throw EFormatError(LinePrefix(fileName, lineNumber) +
                                       "the encoding code page " + std::to_string(named) +
                                       " cannot be read");
            }
            source.CodePages.emplace_back(source.Decoded.Text.size(), named);
        }
        start = end;
    }
    return source;
}

// ---- Tokens ------------------------------------------------------------------------------

enum class TTokenKind : unsigned char
{
    Word, // identifiers, numbers, keywords
    String,
    Punct,
};

struct RToken
{
    TTokenKind Kind = TTokenKind::Punct;
    bool Wide = false; // L"..."
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::uint32_t Line = 1;
    std::uint32_t Column = 1;
};

bool IsWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || IsDigit(c) || u == '_' || u == '.' ||
           u == '$' || u >= 0x80;
}

class TTokenizer
{
public:
    TTokenizer(std::string_view text, const std::string& fileName)
        : FText(text), FFileName(fileName)
    {}

    std::vector<RToken> Run()
    {
        std::vector<RToken> tokens;
        tokens.reserve(FText.size() / 6);
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n' || IsBlank(c)) {
                Advance(1);
            } else if (c == '#' && FOnlyBlanksOnLine) {
                SkipDirective();
            } else if (c == '/' && Next() == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n')
                    Advance(1);
            } else if (c == '/' && Next() == '*') {
                Advance(2);
                while (FPos < FText.size() && !(FText[FPos] == '*' && Next() == '/'))
                    Advance(1);
                Advance(std::min<std::size_t>(2, FText.size() - FPos));
            } else if (c == '"' || ((c == 'L' || c == 'l') && Next() == '"')) {
                tokens.push_back(ReadString());
            } else if (IsWordChar(c)) {
                RToken token = Start(TTokenKind::Word);
                while (FPos < FText.size() && IsWordChar(FText[FPos]))
                    Advance(1);
                token.End = FPos;
                tokens.push_back(token);
            } else {
                RToken token = Start(TTokenKind::Punct);
                Advance(1);
                token.End = FPos;
                tokens.push_back(token);
            }
        }
        return tokens;
    }

private:
    char Next() const { return FPos + 1 < FText.size() ? FText[FPos + 1] : '\0'; }

    void Advance(std::size_t count)
    {
        for (const std::size_t end = FPos + count; FPos < end; ++FPos) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                FColumn = 1;
                FOnlyBlanksOnLine = true;
                continue;
            }
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++FColumn;
            if (!IsBlank(c))
                FOnlyBlanksOnLine = false;
        }
    }

    RToken Start(TTokenKind kind) const
    {
        RToken token;
        token.Kind = kind;
        token.Begin = FPos;
        token.Line = FLine;
        token.Column = FColumn;
        return token;
    }

    // To the end of the line, and on over lines the directive continues with a backslash.
    void SkipDirective()
    {
        while (FPos < FText.size() && FText[FPos] != '\n') {
            if (FText[FPos] == '\\' &&
                (Next() == '\n' ||
                 (Next() == '\r' && FPos + 2 < FText.size() && FText[FPos + 2] == '\n'))) {
                Advance(Next() == '\n' ? 2 : 3);
                continue;
            }
            Advance(1);
        }
    }

    RToken ReadString()
    {
        RToken token = Start(TTokenKind::String);
        if (FText[FPos] != '"') {
            token.Wide = true;
            Advance(1);
        }
        Advance(1);
        while (true) {
            if (FPos >= FText.size() || FText[FPos] == '\n')
                throw EFormatError(FFileName + ':' + std::to_string(token.Line) + ':' +
                                   std::to_string(token.Column) +
                                   ": string without its closing quote");
            const char c = FText[FPos];
            if (c == '"' && Next() == '"') {
                Advance(2);
            } else if (c == '"') {
                Advance(1);
                break;
            } else if (c == '\\' && FPos + 1 < FText.size() && Next() != '\n') {
                Advance(2);
            } else {
                Advance(1);
            }
        }
        token.End = FPos;
        return token;
    }

    std::string_view FText;
    const std::string& FFileName;
    std::size_t FPos = 0;
    std::uint32_t FLine = 1;
    std::uint32_t FColumn = 1;
    bool FOnlyBlanksOnLine = true;
};

// ---- Captions ----------------------------------------------------------------------------

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class TCaptionMaker
{
public:
    explicit TCaptionMaker(const RSource& source) : FSource(source) {}

    // The displayed text of a string token; a menu caption stops at its first tab.
    RFileCaption Make(const RToken& token, bool menu)
    {
        const std::string_view text = FSource.Decoded.Text;
        RFileCaption caption;
        caption.EncodingTag = FSource.CodePageAt(token.Begin);
        const std::size_t contentEnd = token.End - 1;
        std::size_t i = token.Begin + (token.Wide ? 2 : 1);
        std::uint32_t column = token.Column + (token.Wide ? 2 : 1);
        const auto placeOf = [&](std::size_t index) {
            return RSourcePlace{FSource.Decoded.Origin(index), token.Line, column};
        };
        while (i < contentEnd) {
            const RSourcePlace place = placeOf(i);
            const std::size_t start = i;
            std::string produced;
            const char c = text[i];
            if (c == '"') {
                produced = "\"";
                i += 2;
            } else if (c == '\\') {
                i = Escape(text, i, contentEnd, token.Wide, caption.EncodingTag, produced);
            } else {
                ++i;
                while (i < contentEnd && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
                    ++i;
                produced.assign(text.substr(start, i - start));
            }
            if (menu && produced == "\t") {
                caption.Places.push_back(place);
                return caption;
            }
            for (const char byte : produced) {
                caption.Text.push_back(byte);
                caption.Places.push_back(place);
            }
            for (std::size_t k = start; k < i; ++k)
                if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80)
                    ++column;
        }
        caption.Places.push_back(placeOf(contentEnd));
        return caption;
    }

private:
    // One backslash escape from text[i]; returns where the text goes on.
    std::size_t Escape(std::string_view text, std::size_t i, std::size_t end, bool wide,
                       unsigned codePage, std::string& produced)
    {
        if (i + 1 >= end) {
            produced = "\\";
            return i + 1;
        }
        const char n = text[i + 1];
        switch (n) {
        case 'n':
            produced = "\n";
            return i + 2;
        case 't':
            produced = "\t";
            return i + 2;
        case 'r':
            produced = "\r";
            return i + 2;
        case 'a':
            produced = "\b";
            return i + 2;
        case '\\':
            produced = "\\";
            return i + 2;
        case '"':
            produced = "\"";
            return i + 2;
        default:
            break;
        }
        unsigned value = 0;
        std::size_t j = i + 1;
        if (n == 'x' || n == 'X') {
            ++j;
            const std::size_t digitsEnd = std::min(end, j + (wide ? 4 : 2));
            while (j < digitsEnd && HexValue(text[j]) >= 0)
                value = value * 16 + static_cast<unsigned>(HexValue(text[j++]));
            if (j == i + 2) {
                produced = "\\";
                return i + 1;
            }
        } else if (n >= '0' && n <= '7') {
            const std::size_t digitsEnd = std::min(end, j + 3);
            while (j < digitsEnd && text[j] >= '0' && text[j] <= '7')
                value = value * 8 + static_cast<unsigned>(text[j++] - '0');
        } else {
            // Not an escape: the backslash stands for itself.
            produced = "\\";
            return i + 1;
        }
        if (wide || value < 0x80 || codePage == CodePageUtf16Le) {
            AppendUtf8(produced, static_cast<char32_t>(value & 0xFFFF));
        } else if (codePage == CodePageUtf8) {
            produced.push_back(static_cast<char>(value & 0xFF));
        } else {
            produced = CodePage(codePage).DecodeByte(static_cast<unsigned char>(value));
            if (produced.empty())
                AppendUtf8(produced, 0xFFFD);
        }
        return j;
    }

    TCodePage& CodePage(unsigned number)
    {
        if (!FCodePage || FCodePage->Number() != number)
            FCodePage = std::make_unique<TCodePage>(number);
        return *FCodePage;
    }

    const RSource& FSource;
    std::unique_ptr<TCodePage> FCodePage;
};

// ---- Resources ---------------------------------------------------------------------------

constexpr std::string_view TextControls[] = {
    "LTEXT",           "RTEXT",        "CTEXT",  "PUSHBUTTON", "DEFPUSHBUTTON",
    "CHECKBOX",        "AUTOCHECKBOX", "STATE3", "AUTO3STATE", "RADIOBUTTON",
    "AUTORADIOBUTTON", "GROUPBOX",     "PUSHBOX"};
constexpr std::string_view OtherControls[] = {
    "CONTROL", "EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR", "ICON", "BEDIT", "HEDIT", "IEDIT"};
constexpr std::string_view ResourceStarts[] = {"MENU", "MENUEX", "DIALOG", "DIALOGEX"};

class TParser
{
public:
    TParser(const RSource& source, std::vector<RToken> tokens)
        : FSource(source), FTokens(std::move(tokens)), FMaker(source)
    {}

    RCaptionFile Run()
    {
        while (!AtEnd()) {
            const RToken& token = Take();
            if (IsWord(token, "LANGUAGE")) {
                SkipLanguage();
            } else if (IsWord(token, "STRINGTABLE")) {
                SkipResource();
            } else if (IsOpen(token)) {
                SkipBlockAfterOpen();
            } else if (token.Kind != TTokenKind::Punct && !IsClose(token) && !AtEnd() &&
                       Peek().Kind == TTokenKind::Word) {
                const RToken& type = Take();
                const std::string name(Text(token));
                if (IsWord(type, "MENU") || IsWord(type, "MENUEX"))
                    ReadMenu(name);
                else if (IsWord(type, "DIALOG") || IsWord(type, "DIALOGEX"))
                    ReadDialog(name);
                else
                    SkipResource();
            }
        }
        std::erase_if(FFile.Scopes,
                      [](const RCaptionScope& scope) { return scope.Captions.empty(); });
        return std::move(FFile);
    }

private:
    bool AtEnd() const { return FAt >= FTokens.size(); }
    const RToken& Peek() const { return FTokens[FAt]; }
    const RToken& Take() { return FTokens[FAt++]; }

    std::string_view Text(const RToken& token) const
    {
        return std::string_view(FSource.Decoded.Text).substr(token.Begin, token.End - token.Begin);
    }
    bool IsWord(const RToken& token, std::string_view upper) const
    {
        return token.Kind == TTokenKind::Word && EqualsUpper(Text(token), upper);
    }
    template <std::size_t N>
    bool IsAnyWord(const RToken& token, const std::string_view (&words)[N]) const
    {
        return std::any_of(std::begin(words), std::end(words),
                           [&](std::string_view word) { return IsWord(token, word); });
    }
    bool IsPunct(const RToken& token, char c) const
    {
        return token.Kind == TTokenKind::Punct && FSource.Decoded.Text[token.Begin] == c;
    }
    bool IsOpen(const RToken& token) const { return IsWord(token, "BEGIN") || IsPunct(token, '{'); }
    bool IsClose(const RToken& token) const { return IsWord(token, "END") || IsPunct(token, '}'); }

    void SkipLanguage()
    {
        if (!AtEnd() && Peek().Kind == TTokenKind::Word)
            Take();
        if (!AtEnd() && IsPunct(Peek(), ',')) {
            Take();
            if (!AtEnd() && Peek().Kind == TTokenKind::Word)
                Take();
        }
    }

    // After an opening token: up to and with its matching close, or to the end of the file.
    void SkipBlockAfterOpen()
    {
        for (int depth = 1; depth > 0 && !AtEnd();) {
            const RToken& token = Take();
            if (IsOpen(token))
                ++depth;
            else if (IsClose(token))
                --depth;
        }
    }

    // Whether the next tokens begin a menu or dialog, or a statement that stands alone.
    bool AtResourceStart() const
    {
        if (IsWord(Peek(), "LANGUAGE") || IsWord(Peek(), "STRINGTABLE"))
            return true;
        return FAt + 1 < FTokens.size() && Peek().Kind != TTokenKind::Punct &&
               IsAnyWord(FTokens[FAt + 1], ResourceStarts);
    }

    // A resource we do not read: its options up to a block, which is skipped, or up to a file
    // name; it stops early at what can only be the start of another resource.
    void SkipResource()
    {
        while (!AtEnd() && !AtResourceStart()) {
            const RToken& token = Take();
            if (IsOpen(token)) {
                SkipBlockAfterOpen();
                return;
            }
            if (token.Kind == TTokenKind::String)
                return;
        }
    }

    // Options up to the opening of the resource's block, which is taken; false without one.
    bool TakeUpToOpen()
    {
        while (!AtEnd()) {
            if (IsOpen(Take()))
                return true;
        }
        return false;
    }

    template <std::size_t N> void SkipStatement(const std::string_view (&starts)[N])
    {
        while (!AtEnd() && !IsOpen(Peek()) && !IsClose(Peek()) && !IsAnyWord(Peek(), starts))
            Take();
    }

    std::size_t AddScope(std::string name)
    {
        FFile.Scopes.push_back(RCaptionScope{std::move(name), {}, {}, {}});
        return FFile.Scopes.size() - 1;
    }

    void AddCaption(std::size_t scope, RFileCaption caption)
    {
        if (!caption.Text.empty())
            FFile.Scopes[scope].Captions.push_back(std::move(caption));
    }

    void ReadMenu(const std::string& name)
    {
        if (TakeUpToOpen())
            ReadMenuItems("menu " + name, 0);
    }

    void ReadMenuItems(const std::string& scopeName, int depth)
    {
        // Far deeper than any real menu; bounds the recursion on hostile input.
        constexpr int MaxDepth = 64;
        static constexpr std::string_view MenuStatements[] = {"MENUITEM", "POPUP"};
        const std::size_t scope = AddScope(scopeName);
        while (!AtEnd()) {
            const RToken& token = Take();
            if (IsClose(token))
                return;
            if (IsOpen(token)) {
                SkipBlockAfterOpen();
                continue;
            }
            const bool popup = IsWord(token, "POPUP");
            if (!popup && !IsWord(token, "MENUITEM"))
                continue;
            std::string childName;
            if (!AtEnd() && Peek().Kind == TTokenKind::String) {
                RFileCaption caption = FMaker.Make(Take(), true);
                childName = scopeName + " > \"" + caption.Text + '"';
                AddCaption(scope, std::move(caption));
            }
            SkipStatement(MenuStatements);
            if (popup && !AtEnd() && IsOpen(Peek())) {
                Take();
                if (depth < MaxDepth)
                    ReadMenuItems(childName, depth + 1);
                else
                    SkipBlockAfterOpen();
            }
        }
    }

    void ReadDialog(const std::string& name)
    {
        static constexpr std::string_view StaticStyles[] = {"SS_ICON", "SS_BITMAP",
                                                            "SS_ENHMETAFILE"};
        if (!TakeUpToOpen())
            return;
        const std::size_t scope = AddScope("dialog " + name);
        while (!AtEnd()) {
            const RToken& token = Take();
            if (IsClose(token))
                return;
            if (IsOpen(token)) {
                SkipBlockAfterOpen();
                continue;
            }
            const bool textControl = IsAnyWord(token, TextControls);
            const bool control = IsWord(token, "CONTROL");
            if (!textControl && !IsAnyWord(token, OtherControls))
                continue;
            const std::size_t first = FAt;
            SkipDialogStatement();
            if (!(textControl || control) || first == FAt ||
                FTokens[first].Kind != TTokenKind::String)
                continue;
            const std::size_t end = FAt;
            bool noPrefix = false;
            bool picture = false;
            for (std::size_t i = first + 1; i < end; ++i) {
                if (IsWord(FTokens[i], "SS_NOPREFIX") && !IsWord(FTokens[i - 1], "NOT"))
                    noPrefix = true;
                if (IsAnyWord(FTokens[i], StaticStyles) && !IsWord(FTokens[i - 1], "NOT"))
                    picture = true;
            }
            if (control && !IsLabelledClass(first, end, picture))
                continue;
            RFileCaption caption = FMaker.Make(FTokens[first], false);
            caption.CanCarryKey = !noPrefix;
            caption.KeyRequired = false;
            AddCaption(scope, std::move(caption));
        }
    }

    void SkipDialogStatement()
    {
        while (!AtEnd() && !IsClose(Peek()) && !IsAnyWord(Peek(), TextControls) &&
               !IsAnyWord(Peek(), OtherControls)) {
            if (IsOpen(Take()))
                SkipBlockAfterOpen();
        }
    }

    // CONTROL "text", id, class, style, ...: buttons and labels show their text with a key;
    // a picture's text names its image, and other classes hold contents, not a caption.
    bool IsLabelledClass(std::size_t first, std::size_t end, bool picture) const
    {
        int commas = 0;
        int depth = 0;
        for (std::size_t i = first + 1; i < end; ++i) {
            const RToken& token = FTokens[i];
            if (IsPunct(token, '('))
                ++depth;
            else if (IsPunct(token, ')'))
                --depth;
            else if (depth == 0 && IsPunct(token, ',') && ++commas == 2 && i + 1 < end) {
                std::string_view name = Text(FTokens[i + 1]);
                if (FTokens[i + 1].Kind == TTokenKind::String) {
                    const std::size_t quote = name.find('"');
                    name = name.substr(quote + 1, name.size() - quote - 2);
                }
                if (EqualsUpper(name, "BUTTON") || EqualsUpper(name, "WC_BUTTON") ||
                    EqualsUpper(name, "WC_BUTTONA") || EqualsUpper(name, "WC_BUTTONW"))
                    return true;
                return !picture &&
                       (EqualsUpper(name, "STATIC") || EqualsUpper(name, "WC_STATIC") ||
                        EqualsUpper(name, "WC_STATICA") || EqualsUpper(name, "WC_STATICW"));
            }
        }
        return false;
    }

    const RSource& FSource;
    std::vector<RToken> FTokens;
    TCaptionMaker FMaker;
    std::size_t FAt = 0;
    RCaptionFile FFile;
};

} // namespace

RCaptionFile ReadResourceScript(std::string_view bytes, const std::string& fileName)
{
    const RSource source = DecodeSource(bytes, fileName);
    std::vector<RToken> tokens = TTokenizer(source.Decoded.Text, fileName).Run();
    return TParser(source, std::move(tokens)).Run();
}

std::string DecodeResourceScript(std::string_view bytes, const std::string& fileName)
{
    return DecodeSource(bytes, fileName).Decoded.Text;
}

std::string TResourceScriptFormat::Encode(const RFileCaption& caption, std::string_view text) const
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '"':
            escaped += "\"\"";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped.push_back(c);
        }
    }
    return EncodeText(escaped, caption.EncodingTag);
}

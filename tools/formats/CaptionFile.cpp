#include "CaptionFile.h"

#include <algorithm>
#include <tuple>

std::vector<RTextEdit> TextEditsBetween(std::string_view from, std::string_view to)
{
    if (from == to)
        return {};
    std::size_t head = 0;
    while (head < from.size() && head < to.size() && from[head] == to[head])
        ++head;
    std::size_t tail = 0;
    while (tail < from.size() - head && tail < to.size() - head &&
           from[from.size() - 1 - tail] == to[to.size() - 1 - tail])
        ++tail;
    // Never split a UTF-8 sequence: widen the edit to the start of the character it cuts.
    const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    while (head > 0 && ((head < from.size() && continuation(from[head])) ||
                        (head < to.size() && continuation(to[head]))))
        --head;
    while (tail > 0 &&
           ((continuation(from[from.size() - tail])) || (continuation(to[to.size() - tail]))))
        --tail;
    return {RTextEdit{head, from.size() - head - tail,
                      std::string(to.substr(head, to.size() - head - tail))}};
}

std::vector<RByteEdit> ToByteEdits(const RFileCaption& caption, const std::vector<RTextEdit>& edits,
                                   const ICaptionEncoder& encoder)
{
    std::vector<RByteEdit> bytes;
    bytes.reserve(edits.size());
    for (const RTextEdit& edit : edits) {
        if (edit.Pos + edit.Erase > caption.Text.size())
            throw std::invalid_argument("a text edit reaches past its caption");
        const std::size_t begin = caption.Places[edit.Pos].Offset;
        const std::size_t end = caption.Places[edit.Pos + edit.Erase].Offset;
        bytes.push_back(RByteEdit{begin, end - begin, encoder.Encode(caption, edit.Insert)});
    }
    return bytes;
}

std::string ApplyByteEdits(std::string_view bytes, std::vector<RByteEdit> edits)
{
    std::stable_sort(edits.begin(), edits.end(),
                     [](const RByteEdit& a, const RByteEdit& b) { return a.Offset < b.Offset; });
    std::string result;
    std::size_t grown = 0;
    for (const RByteEdit& edit : edits)
        grown += edit.Insert.size();
    result.reserve(bytes.size() + grown);
    std::size_t copied = 0;
    for (const RByteEdit& edit : edits) {
        if (edit.Offset < copied || edit.Offset > bytes.size() ||
            edit.Erase > bytes.size() - edit.Offset)
            throw std::invalid_argument("byte edits overlap or reach past the end of the file");
        result.append(bytes.substr(copied, edit.Offset - copied));
        result.append(edit.Insert);
        copied = edit.Offset + edit.Erase;
    }
    result.append(bytes.substr(copied));
    return result;
}

std::string ApplyTextEdits(std::string_view text, std::vector<RTextEdit> edits)
{
    std::vector<RByteEdit> asBytes;
    asBytes.reserve(edits.size());
    for (RTextEdit& edit : edits)
        asBytes.push_back(RByteEdit{edit.Pos, edit.Erase, std::move(edit.Insert)});
    return ApplyByteEdits(text, std::move(asBytes));
}

std::string RewriteCaptions(std::string_view bytes, const std::string& fileName,
                            const RCaptionFile& file, const std::vector<RCaptionEdit>& edits,
                            const ICaptionFormat& format)
{
    std::vector<std::vector<std::string>> expected(file.Scopes.size());
    for (std::size_t s = 0; s < file.Scopes.size(); ++s)
        for (const RFileCaption& caption : file.Scopes[s].Captions)
            expected[s].push_back(caption.Text);
    std::vector<RByteEdit> byteEdits;
    for (const RCaptionEdit& edit : edits) {
        const RFileCaption& caption = file.Scopes.at(edit.Scope).Captions.at(edit.Caption);
        std::string& text = expected[edit.Scope][edit.Caption];
        text = ApplyTextEdits(text, edit.Edits);
        for (RByteEdit& byteEdit : ToByteEdits(caption, edit.Edits, format))
            byteEdits.push_back(std::move(byteEdit));
    }
    // A caption shown in two scopes (an action in two menus) gets the same edit from each;
    // its bytes change once.
    std::sort(byteEdits.begin(), byteEdits.end(), [](const RByteEdit& a, const RByteEdit& b) {
        return std::tie(a.Offset, a.Erase, a.Insert) < std::tie(b.Offset, b.Erase, b.Insert);
    });
    byteEdits.erase(std::unique(byteEdits.begin(), byteEdits.end()), byteEdits.end());
    std::string result = ApplyByteEdits(bytes, std::move(byteEdits));

    const RCaptionFile reread = format.Read(result, fileName);
    bool same = reread.Scopes.size() == file.Scopes.size();
    for (std::size_t s = 0; same && s < reread.Scopes.size(); ++s) {
        const std::vector<RFileCaption>& captions = reread.Scopes[s].Captions;
        same = captions.size() == expected[s].size() &&
               std::equal(captions.begin(), captions.end(), expected[s].begin(),
                          [](const RFileCaption& caption, const std::string& text) {
                              return caption.Text == text;
                          });
    }
    if (!same)
        throw EFormatError(fileName + ": the mended captions would not read back as written");
    return result;
}

std::string EscapeXmlText(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped.push_back(c);
    }
    return escaped;
}

std::optional<char32_t> XmlCharacterReference(std::string_view reference)
{
    if (reference.size() < 2 || reference[0] != '#')
        return std::nullopt;
    const bool hex = reference[1] == 'x';
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    if (digits.empty())
        return std::nullopt;
    char32_t value = 0;
    for (const char d : digits) {
        int digit = -1;
        if (d >= '0' && d <= '9')
            digit = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            digit = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            digit = d - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > 0x10FFFF)
            return std::nullopt;
    }
    if (value >= 0xD800 && value <= 0xDFFF)
        return std::nullopt;
    return value;
}

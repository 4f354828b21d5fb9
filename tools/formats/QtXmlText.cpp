#include "QtXmlText.h"

#include "Utf8.h"

#include <QtCore/QString>
#include <algorithm>

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

std::size_t Utf8Length(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// The character a reference names (`amp`, `#38`, `#x26`), or nullopt for any other entity.
std::optional<char32_t> ResolveReference(std::string_view name)
{
    if (name == "amp")
        return U'&';
    if (name == "lt")
        return U'<';
    if (name == "gt")
        return U'>';
    if (name == "quot")
        return U'"';
    if (name == "apos")
        return U'\'';
    return XmlCharacterReference(name);
}

// Walks a content range, keeping the place of the next byte.
class TContentWalk
{
public:
    TContentWalk(std::string_view bytes, const RSourcePlace& begin, std::size_t end)
        : FBytes(bytes.substr(0, end)), FPlace(begin)
    {}

    bool AtEnd() const { return FPlace.Offset >= FBytes.size(); }
    bool LooksAt(std::string_view s) const { return FBytes.substr(FPlace.Offset).starts_with(s); }
    char Byte() const { return FBytes[FPlace.Offset]; }
    const RSourcePlace& Place() const { return FPlace; }
    std::size_t Step() { return StepPlace(FBytes, FPlace, FAfterCr); }
    void Skip(std::size_t bytes)
    {
        const std::size_t to = std::min(FBytes.size(), FPlace.Offset + bytes);
        while (FPlace.Offset < to)
            Step();
    }
    // Skips past `close`; false when the range ends first.
    bool SkipPast(std::string_view close)
    {
        const std::size_t at = FBytes.find(close, FPlace.Offset);
        if (at == std::string_view::npos)
            return false;
        Skip(at + close.size() - FPlace.Offset);
        return true;
    }
    // Appends the next character, a line break normalised to LF as the parser does.
    void TakeCharacter(RXmlText& out)
    {
        const RSourcePlace at = FPlace;
        if (Byte() == '\r') {
            Step();
            if (!AtEnd() && Byte() == '\n')
                Step();
            out.Text.push_back('\n');
            out.Places.push_back(at);
            return;
        }
        const std::size_t length = Step();
        out.Text.append(FBytes.substr(at.Offset, length));
        out.Places.insert(out.Places.end(), length, at);
    }

private:
    std::string_view FBytes;
    RSourcePlace FPlace;
    bool FAfterCr = false;
};

} // namespace

std::size_t StepPlace(std::string_view bytes, RSourcePlace& place, bool& afterCr)
{
    const unsigned char lead = static_cast<unsigned char>(bytes[place.Offset]);
    std::size_t length = std::min(Utf8Length(lead), bytes.size() - place.Offset);
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(bytes[place.Offset + i]) & 0xC0) != 0x80) {
            length = i;
            break;
        }
    }
    place.Offset += length;
    if (lead == '\n' && afterCr) {
        // The second half of CR LF: the line was counted at the CR.
    } else if (lead == '\n' || lead == '\r') {
        ++place.Line;
        place.Column = 1;
    } else {
        ++place.Column;
    }
    afterCr = lead == '\r';
    return length;
}

TXmlPlaces::TXmlPlaces(std::string_view bytes) : FBytes(bytes)
{
    if (FBytes.starts_with(Bom))
        FPlace.Offset = Bom.size();
}

RSourcePlace TXmlPlaces::At(qint64 units)
{
    while (FUnits < units && FPlace.Offset < FBytes.size()) {
        const std::size_t length = StepPlace(FBytes, FPlace, FAfterCr);
        FUnits += length == 4 ? 2 : 1;
    }
    return FPlace;
}

std::optional<RXmlText> DecodeXmlContent(std::string_view bytes, const RSourcePlace& begin,
                                         std::size_t end)
{
    RXmlText out;
    bool escaped = false;
    bool cdata = false;
    std::optional<RSourcePlace> lastCdataClose;
    TContentWalk walk(bytes, begin, end);
    while (!walk.AtEnd()) {
        if (walk.LooksAt("<!--")) {
            if (!walk.SkipPast("-->"))
                return std::nullopt;
        } else if (walk.LooksAt("<![CDATA[")) {
            walk.Skip(9);
            while (!walk.AtEnd() && !walk.LooksAt("]]>")) {
                walk.TakeCharacter(out);
                cdata = true;
            }
            if (walk.AtEnd())
                return std::nullopt;
            lastCdataClose = walk.Place();
            walk.Skip(3);
        } else if (walk.LooksAt("<?")) {
            if (!walk.SkipPast("?>"))
                return std::nullopt;
        } else if (walk.Byte() == '<') {
            return std::nullopt; // markup inside a string
        } else if (walk.Byte() == '&') {
            const RSourcePlace at = walk.Place();
            const std::size_t semicolon = bytes.substr(0, end).find(';', at.Offset);
            if (semicolon == std::string_view::npos || semicolon - at.Offset > 12)
                return std::nullopt;
            const auto c = ResolveReference(bytes.substr(at.Offset + 1, semicolon - at.Offset - 1));
            if (!c)
                return std::nullopt;
            const std::size_t before = out.Text.size();
            AppendUtf8(out.Text, *c);
            out.Places.insert(out.Places.end(), out.Text.size() - before, at);
            walk.Skip(semicolon + 1 - at.Offset);
            escaped = true;
        } else {
            walk.TakeCharacter(out);
            escaped = true;
        }
    }
    if (cdata)
        out.Spelling = escaped ? TXmlSpelling::Mixed : TXmlSpelling::Cdata;
    // Text appended to a string that is all CDATA goes inside its last section.
    out.Places.push_back(out.Spelling == TXmlSpelling::Cdata ? *lastCdataClose : walk.Place());
    return out;
}

std::size_t EndTagStart(std::string_view bytes, std::size_t contentBegin, std::size_t afterEnd)
{
    if (afterEnd <= contentBegin)
        return afterEnd;
    const std::size_t lt = bytes.substr(0, afterEnd).rfind('<');
    return lt == std::string_view::npos || lt < contentBegin ? afterEnd : lt;
}

std::optional<RXmlText> ReadElementContent(QXmlStreamReader& reader, std::string_view bytes,
                                           TXmlPlaces& places)
{
    const RSourcePlace begin = places.At(reader.characterOffset());
    QString parsed;
    bool plain = true;
    for (int depth = 0; !reader.atEnd();) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            plain = false;
        } else if (token == QXmlStreamReader::EndElement && depth-- == 0) {
            break;
        } else if (token == QXmlStreamReader::Characters && depth == 0) {
            parsed += reader.text();
        } else if (token == QXmlStreamReader::EntityReference) {
            plain = false;
        }
    }
    if (reader.hasError() || !plain)
        return std::nullopt;
    const std::size_t afterEnd = places.At(reader.characterOffset()).Offset;
    std::optional<RXmlText> text =
        DecodeXmlContent(bytes, begin, EndTagStart(bytes, begin.Offset, afterEnd));
    if (text && text->Text != parsed.toStdString())
        return std::nullopt;
    return text;
}

RFileCaption ToCaption(RXmlText text)
{
    RFileCaption caption;
    caption.Text = std::move(text.Text);
    caption.Places = std::move(text.Places);
    caption.EncodingTag = static_cast<std::uint32_t>(text.Spelling);
    return caption;
}

std::string XmlErrorMessage(const QXmlStreamReader& reader, const std::string& fileName)
{
    return fileName + ':' + std::to_string(std::max<qint64>(1, reader.lineNumber())) + ':' +
           std::to_string(std::max<qint64>(1, reader.columnNumber())) + ": " +
           reader.errorString().toStdString();
}

void RequireUtf8(const QXmlStreamReader& reader, std::string_view bytes,
                 const std::string& fileName)
{
    const QString declared = reader.documentEncoding().toString().toLower();
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
                       (bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0'));
    if (utf16 || !(declared.isEmpty() || declared == u"utf-8" || declared == u"utf8"))
        throw EFormatError(fileName + ":1:1: the file is not UTF-8 (" +
                           (utf16 ? std::string("UTF-16") : declared.toStdString()) +
                           "); Qt Designer and Linguist files are read as UTF-8 only");
}

std::string_view WithoutBom(std::string_view bytes)
{
    return bytes.starts_with(Bom) ? bytes.substr(Bom.size()) : bytes;
}

std::string EncodeQtXmlText(const RFileCaption& caption, std::string_view text)
{
    switch (static_cast<TXmlSpelling>(caption.EncodingTag)) {
    case TXmlSpelling::Cdata:
        if (text.find("]]>") != std::string_view::npos)
            throw EFormatError("text that closes a CDATA section cannot be written into it");
        return std::string(text);
    case TXmlSpelling::Mixed:
        throw EFormatError(
            "a string that mixes CDATA with other text is left to be mended by hand");
    case TXmlSpelling::Escaped:
        break;
    }
    return EscapeXmlText(text);
}

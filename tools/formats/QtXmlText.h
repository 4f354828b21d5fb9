#pragma once

// The bridge between QXmlStreamReader and the bytes of a Qt XML file (Designer forms, Linguist
// translations). The reader checks the XML and finds the elements; it counts positions in
// UTF-16 code units of the decoded document, so TXmlPlaces turns those into byte offsets with
// line and column, and DecodeXmlContent reads the content of one element again, byte by byte,
// to know where each byte of its text comes from. Only UTF-8 files are taken, as Designer and
// Linguist write them.

#include "CaptionFile.h"

#include <QtCore/QXmlStreamReader>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the text of an element is written in the file, which decides how a writer spells a marker
// it inserts: escaped (`&amp;`), raw inside one CDATA section, or a mix a writer cannot serve.
enum class TXmlSpelling : std::uint32_t
{
    Escaped = 0,
    Cdata = 1,
    Mixed = 2,
};

struct RXmlText
{
    std::string Text; // UTF-8, references resolved, line ends as the parser reports them
    std::vector<RSourcePlace> Places; // Text.size() + 1, as in RFileCaption
    TXmlSpelling Spelling = TXmlSpelling::Escaped;
};

// Byte places of reader positions, for positions that never go back. Linear in the file over
// a whole read, and constant memory.
class TXmlPlaces
{
public:
    explicit TXmlPlaces(std::string_view bytes);

    // The place of the character `units` UTF-16 code units into the document (a byte order
    // mark is not counted, as the reader does not count it).
    RSourcePlace At(qint64 units);

private:
    std::string_view FBytes;
    RSourcePlace FPlace;
    qint64 FUnits = 0;
    bool FAfterCr = false;
};

// Advances `place` over the character at place.Offset and returns its length in bytes (at
// least 1, never past the end). A CR LF pair is one line break.
std::size_t StepPlace(std::string_view bytes, RSourcePlace& place, bool& afterCr);

// The text of an element's content, from `begin` (just after its start tag) to `end` (its end
// tag), when it holds only characters, references, CDATA sections, comments and processing
// instructions; nullopt when it holds an element or an entity other than XML's own.
std::optional<RXmlText> DecodeXmlContent(std::string_view bytes, const RSourcePlace& begin,
                                         std::size_t end);

// Where the content of the element the reader has just ended stops: the `<` of its end tag,
// found back from `afterEnd`, the byte just past that tag. Equal to `afterEnd` for `<a/>`.
std::size_t EndTagStart(std::string_view bytes, std::size_t contentBegin, std::size_t afterEnd);

// Reads the content of the element the reader has just started, through its end tag; nullopt
// when DecodeXmlContent cannot take it or when its text is not the parser's (an entity the
// document type declares), and when the reader fails on the way.
std::optional<RXmlText> ReadElementContent(QXmlStreamReader& reader, std::string_view bytes,
                                           TXmlPlaces& places);

// A caption of the shared shape with the element's text, its places and its spelling.
RFileCaption ToCaption(RXmlText text);

// "FILE:LINE:COL: message" for the reader's error, in Qt's words.
std::string XmlErrorMessage(const QXmlStreamReader& reader, const std::string& fileName);

// Throws EFormatError unless the bytes are UTF-8 (with or without byte order mark) by their
// XML declaration; call after the reader's StartDocument.
void RequireUtf8(const QXmlStreamReader& reader, std::string_view bytes,
                 const std::string& fileName);

// The file as text, to show it: UTF-8 already, so only a byte order mark goes.
std::string_view WithoutBom(std::string_view bytes);

// Text written into a string of a Qt XML file: markup escaped outside CDATA, raw inside it.
// Throws EFormatError for a string that mixes both, where one spelling cannot serve.
std::string EncodeQtXmlText(const RFileCaption& caption, std::string_view text);

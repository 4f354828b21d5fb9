#pragma once

// gettext catalogues (.po): their translations, each byte with its place in the file.
//
// Every message with a translation is read: msgctxt, msgid, msgid_plural, msgstr or msgstr[N]
// (strings continued over several lines joined), the "#:" references and the "#," flags. The
// header is read for its charset only, and obsolete ("#~") entries are passed over as the
// comments they are. A catalogue in another charset than UTF-8 (ISO-8859-1, KOI8-R, EUC-JP...)
// is read through iconv, its texts in UTF-8 with their places in the file's own bytes and the
// charset in each translation's EncodingTag (PoCharset.h), and written back in it; one whose
// charset iconv does not know, or whose characters may hold ASCII bytes (Shift_JIS, Big5), is
// refused with its name, to be converted first.
//
// As a caption file, a catalogue gives one scope per translated form of a message that is not
// fuzzy: what a per-string checker sees. Scopes across a whole menu come from the builder
// files the messages are found in (GettextScopes.h). Only msgstr texts are ever written.

#include "CaptionFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RPoReference
{
    std::string File;
    std::uint32_t Line = 0; // 0 when the reference names none
};

struct RPoMessage
{
    std::optional<std::string> Context;
    std::string Id;
    std::optional<std::string> IdPlural;
    std::vector<RPoReference> References;
    bool Fuzzy = false;
    std::uint32_t Line = 1; // of its msgid
    // msgstr, or msgstr[0], msgstr[1]... by their index.
    std::vector<RFileCaption> Translations;

    // The source text a translation form stands for: msgid for the first, msgid_plural for
    // the others.
    const std::string& SourceOf(std::size_t form) const
    {
        return form > 0 && IdPlural ? *IdPlural : Id;
    }
};

struct RPoCatalogue
{
    std::string Charset; // as the header names it; empty without a header
    // The header's Language, else the file's name when it is a language code ("ja.po"); may be
    // empty.
    std::string Language;
    std::vector<RPoMessage> Messages; // in file order, the header left out
};

// Throws EFormatError, "FILE:LINE: message", for a syntax error, text not valid in its charset
// or a charset that cannot be read.
RPoCatalogue ReadPoCatalogue(std::string_view bytes, const std::string& fileName);

// Whether the text shows a key with this marker: a marker before a character, not doubled.
bool HasKeyMarker(std::string_view text, char marker);

// One translation form of one message.
struct RPoForm
{
    std::size_t Message = 0;
    std::size_t Form = 0;

    bool operator==(const RPoForm&) const = default;
};

// The catalogue as captions, one scope per non-empty translation form of a message that is not
// fuzzy, Forms[s] saying whose scope s is. A form can carry a key when it or its source has a
// marker, and needs one when its source has one.
struct RPoCaptionFile
{
    RCaptionFile File;
    std::vector<RPoForm> Forms;
};

RPoCaptionFile CatalogueCaptions(const RPoCatalogue& catalogue, char marker);

// A translation whose key the source does not have, or the reverse: what the per-string
// checkers report.
struct RPoKeyMismatch
{
    RPoForm Form;
    bool SourceHasKey = false; // true: the source has a key and the translation none
};

std::vector<RPoKeyMismatch> KeyMismatches(const RPoCatalogue& catalogue, char marker);

// The format for the batch tool, with "_" as the marker of GTK catalogues: CatalogueCaptions,
// and text written into a msgstr literal with the escapes of the format.
class TPoCatalogueFormat : public ICaptionFormat
{
public:
    explicit TPoCatalogueFormat(char marker = '_') : FMarker(marker) {}
    char Marker() const override { return FMarker; }
    RCaptionFile Read(std::string_view bytes, const std::string& fileName) const override
    {
        return CatalogueCaptions(ReadPoCatalogue(bytes, fileName), FMarker).File;
    }
    // The file as it is, once it reads: it is UTF-8 already.
    std::string DecodedText(std::string_view bytes, const std::string& fileName) const override;
    std::string Encode(const RFileCaption& caption, std::string_view text) const override;

private:
    char FMarker;
};

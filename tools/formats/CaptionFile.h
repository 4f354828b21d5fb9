#pragma once

// What every file format's reader gives the batch tool, and what its writer takes back.
//
// A reader turns a file into captions grouped in scopes. A caption is its displayed text (UTF-8,
// escapes resolved, a menu's shortcut part left out) with, for each byte of that text, where its
// source begins in the file. The tool decides on that text alone which markers to remove and
// where to insert one; the writer turns those text edits into byte edits of the file through
// the format's encoder, which knows the escaping and the encoding, and every byte that is not
// part of an edit stays as it was. A new format is a reader and an encoder; nothing else in the
// tool knows about it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Where a byte of displayed text comes from. Line and column count from 1; the column counts
// characters, not bytes, so it matches an editor whatever the file's encoding.
struct RSourcePlace
{
    std::size_t Offset = 0;
    std::uint32_t Line = 1;
    std::uint32_t Column = 1;

    bool operator==(const RSourcePlace&) const = default;
};

struct RFileCaption
{
    std::string Text;
    // Text.size() + 1 places: Places[i] is where the source of Text[i] begins, Places.back() is
    // one past the source of the last byte. Several text bytes of one source character (a UTF-8
    // sequence decoded from UTF-16, an escape) share its place, and only the first byte of a
    // character differs from the one before it.
    std::vector<RSourcePlace> Places;
    // False when the format shows the marker character literally here (a label with
    // SS_NOPREFIX): no key, and nothing to check.
    bool CanCarryKey = true;
    // A caption that should have a key: a missing one is mended by default (a menu entry).
    // False for captions that often stay without (a dialog's "OK" or a plain label).
    bool KeyRequired = true;
    // The reader's own note for its encoder, such as the code page the caption was written in.
    std::uint32_t EncodingTag = 0;
    // The Latin letter or digit (upper case) a mended "(&X)" suffix takes when it is free, such
    // as the key of the source a translation into Japanese translates; 0 for none.
    char PreferredSuffix = 0;
    // For a translation, the character its source marks as the key (a code point); 0 for none.
    // With --prefer guidelines a mended translation prefers it.
    char32_t SourceKey = 0;

    // Where the displayed text begins: the first byte of a non-empty caption.
    const RSourcePlace& Start() const { return Places.front(); }
};

struct RCaptionScope
{
    // How messages name the scope: `menu MAIN_MENU > "&Edit"`, `dialog DIALOG_PAGESETUP`.
    std::string Name;
    std::vector<RFileCaption> Captions;
    // Indices of scopes in the same file whose keys this one must avoid as well (a tab page
    // inside its dialog); empty for most.
    std::vector<std::size_t> Enclosing;
    // Captions that stand in the scope but are not its to check or mend, as displayed with
    // their markers: a builder file's caption that a catalogue leaves untranslated, or a
    // translation that an earlier scope of the file holds. Their keys are taken.
    std::vector<std::string> Others;
};

// Something a reader found that is no key conflict, such as a marker that shows as it stands;
// reported beside the findings of the scopes.
struct RFileNote
{
    RSourcePlace Place;
    std::string Message;
    bool Warning = true; // false: how the file was read, for information
    // A stable id of its kind ("label-without-buddy"), which machine-readable reports carry;
    // empty: a note on the file as a whole.
    std::string Rule = {};
};

struct RCaptionFile
{
    std::vector<RCaptionScope> Scopes;
    std::vector<RFileNote> Notes;
};

// A file a reader cannot take: the message names the file and what is wrong, and nothing of
// it is written.
class EFormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An edit of displayed text: Erase bytes from Pos on are replaced by Insert (UTF-8).
struct RTextEdit
{
    std::size_t Pos = 0;
    std::size_t Erase = 0;
    std::string Insert;

    bool operator==(const RTextEdit&) const = default;
};

// An edit of file bytes.
struct RByteEdit
{
    std::size_t Offset = 0;
    std::size_t Erase = 0;
    std::string Insert;

    bool operator==(const RByteEdit&) const = default;
};

// How one format writes displayed text into a caption's source: the escaping of its literals
// and the encoding of the file where the caption stands.
class ICaptionEncoder
{
public:
    virtual ~ICaptionEncoder() = default;
    virtual std::string Encode(const RFileCaption& caption, std::string_view text) const = 0;
};

// One file format: its reader and its encoder.
class ICaptionFormat : public ICaptionEncoder
{
public:
    // Throws EFormatError, naming fileName, for a file it cannot read.
    virtual RCaptionFile Read(std::string_view bytes, const std::string& fileName) const = 0;
    // The whole file as UTF-8 text with its line breaks, to show it (a diff); throws as Read.
    virtual std::string DecodedText(std::string_view bytes, const std::string& fileName) const = 0;
    // The character that marks a key in this format's captions.
    virtual char Marker() const { return '&'; }
};

// Edits of one caption's text, as the tool decided them.
struct RCaptionEdit
{
    std::size_t Scope = 0;
    std::size_t Caption = 0;
    std::vector<RTextEdit> Edits; // apart from each other, in any order
};

// The smallest text edits that turn `from` into `to` when one changes only in its markers:
// the common start and end are kept and the rest is one edit. Empty when they are equal.
std::vector<RTextEdit> TextEditsBetween(std::string_view from, std::string_view to);

// The byte edits for text edits of one caption, in order. Edits must not overlap and must
// start and end on character boundaries of the text (a marker, not half of an escape).
std::vector<RByteEdit> ToByteEdits(const RFileCaption& caption, const std::vector<RTextEdit>& edits,
                                   const ICaptionEncoder& encoder);

// The text with the edits made, which must not overlap.
std::string ApplyTextEdits(std::string_view text, std::vector<RTextEdit> edits);

// The file with the captions edited, through the smallest byte edits, and read back to prove
// it: throws EFormatError, naming fileName, when the result would not read as the same scopes
// with exactly the edited texts (an escape the edit would join to its neighbour, say), and
// std::runtime_error when the encoder cannot write a text. Nothing is written either way.
std::string RewriteCaptions(std::string_view bytes, const std::string& fileName,
                            const RCaptionFile& file, const std::vector<RCaptionEdit>& edits,
                            const ICaptionFormat& format);

// The file with the edits made; every byte outside them is copied. The edits may come in any
// order but must not overlap; throws std::invalid_argument when they do or reach past the end.
std::string ApplyByteEdits(std::string_view bytes, std::vector<RByteEdit> edits);

// Text as an XML format stores it between tags: "&", "<" and ">" as entities, everything else
// as it is, so that a marker written into a form or an interface file reads back as itself.
std::string EscapeXmlText(std::string_view text);

// The character an XML character reference names: "#38" or "#x26" as it stands between "&" and
// ";". None for malformed digits, a surrogate or a value past U+10FFFF.
std::optional<char32_t> XmlCharacterReference(std::string_view reference);

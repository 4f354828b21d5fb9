#pragma once

// GtkBuilder interface files (.ui of GTK 3 and 4): the captions of their menus and windows.
//
// A GMenu model gives one scope per <menu> and <submenu> (or <link name="submenu">): the items
// of all its sections share it, and a submenu's own label stands in its parent's scope. A GTK 3
// GtkMenuBar or GtkMenu gives one scope of its menu items. Every other toplevel object (a
// window, a dialog, a template) gives one scope of the labels of its widget tree; the pages of
// a GtkNotebook or GtkStack are scopes of their own that avoid the keys of the scope around
// them, whose tab labels and titles stand in that outer scope. A label carries a key only with
// use-underline (or, for a GtkLabel, a mnemonic-widget); without, it shows "_" as it is.
//
// The marker is "_", doubled for a literal underscore. Files are UTF-8, and are told from Qt
// Designer files by their root element, <interface> rather than <ui>.

#include "CaptionFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char GtkMarker = '_';

// What a catalogue needs to find the translation of a caption.
struct RBuilderString
{
    std::string Context; // the context attribute, msgctxt in a catalogue
    bool Translatable = false;
    std::uint32_t Line = 1; // of the element that holds the text
};

struct RGtkBuilderFile
{
    RCaptionFile File;
    // Strings[s][c] belongs to File.Scopes[s].Captions[c].
    std::vector<std::vector<RBuilderString>> Strings;
};

// Whether the bytes are an XML file whose root element is <interface>.
bool IsGtkBuilderFile(std::string_view bytes);

// Throws EFormatError, "FILE:LINE: message", for malformed XML, a file that is not UTF-8 or
// whose root element is not <interface>.
RGtkBuilderFile ReadGtkBuilderStrings(std::string_view bytes, const std::string& fileName);

inline RCaptionFile ReadGtkBuilder(std::string_view bytes, const std::string& fileName)
{
    return ReadGtkBuilderStrings(bytes, fileName).File;
}

// The format: ReadGtkBuilder, and text written into element content with "&", "<" and ">"
// escaped.
class TGtkBuilderFormat : public ICaptionFormat
{
public:
    char Marker() const override { return GtkMarker; }
    RCaptionFile Read(std::string_view bytes, const std::string& fileName) const override
    {
        return ReadGtkBuilder(bytes, fileName);
    }
    // The file as it is: it is UTF-8 already.
    std::string DecodedText(std::string_view bytes, const std::string& fileName) const override;
    std::string Encode(const RFileCaption& caption, std::string_view text) const override;
};

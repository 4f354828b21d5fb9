#pragma once

// Windows resource scripts (.rc): the captions of their menus and dialogs.
//
// A MENU or MENUEX gives one scope for its top-level entries (the menu bar) and one for the
// direct children of each POPUP; a menu caption ends at its first tab, where the shortcut text
// begins. A DIALOG or DIALOGEX gives one scope for all its controls with a caption; a control
// with SS_NOPREFIX shows its marker literally and carries no key. Every other resource is
// passed over, and preprocessor lines are skipped without being evaluated.
//
// Files are UTF-8 (with or without BOM), UTF-16LE with BOM, or in the legacy code pages that
// `#pragma code_page(N)` lines name from where they stand.

#include "CaptionFile.h"

#include <string>
#include <string_view>

// Throws EFormatError, naming fileName, for a file that cannot be decoded or tokenized.
RCaptionFile ReadResourceScript(std::string_view bytes, const std::string& fileName);

// The file decoded to UTF-8 as ReadResourceScript reads it, a BOM left out.
std::string DecodeResourceScript(std::string_view bytes, const std::string& fileName);

// The format: ReadResourceScript, and text written into the string literal of a caption it
// found with quotes doubled, backslashes and control characters escaped, in the encoding the
// caption was written in.
class TResourceScriptFormat : public ICaptionFormat
{
public:
    RCaptionFile Read(std::string_view bytes, const std::string& fileName) const override
    {
        return ReadResourceScript(bytes, fileName);
    }
    std::string DecodedText(std::string_view bytes, const std::string& fileName) const override
    {
        return DecodeResourceScript(bytes, fileName);
    }
    std::string Encode(const RFileCaption& caption, std::string_view text) const override;
};

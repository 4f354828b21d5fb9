#pragma once

// Qt Designer forms (.ui): the captions of their menus and controls, in the scopes a user sees.
//
// The menu bar's menus form one scope, and each menu one scope of the actions and submenus its
// `addaction` lines list, in that order. A form's own controls form one scope: buttons, check
// boxes, radio buttons, command link buttons, group box titles and labels; a label gives its
// key to a buddy, so one without a buddy shows its marker as it stands and carries no key. The
// pages of a tab widget and of a tool box are entries of the scope that holds them, and the
// controls on each page (or on a stacked widget's page) form a scope of their own that must
// also avoid the keys of every scope around it (up to sixteen levels of pages; deeper ones
// share the scope of the page that holds them). Rich text, strings marked `notr` and actions
// without text are passed over. Custom widgets count as the Qt class they extend.

#include "QtXmlText.h"

#include <string>
#include <string_view>
#include <vector>

struct RQtForm
{
    std::string ClassName; // the form's `<class>`, which names its translation context
    RCaptionFile File;     // its notes: labels whose marker shows, strings passed over
    // The disambiguating comment of each caption's string (its translation key with the
    // text), parallel to File.Scopes[i].Captions.
    std::vector<std::vector<std::string>> Comments;
};

// Throws EFormatError, "FILE:LINE:COL: message" in Qt's words, for XML that is not well formed,
// and for a file that is not UTF-8.
RQtForm ReadQtForm(std::string_view bytes, const std::string& fileName);

// The format: ReadQtForm's captions, and text written back as EncodeQtXmlText spells it.
class TQtFormFormat : public ICaptionFormat
{
public:
    RCaptionFile Read(std::string_view bytes, const std::string& fileName) const override
    {
        return ReadQtForm(bytes, fileName).File;
    }
    std::string Encode(const RFileCaption& caption, std::string_view text) const override
    {
        return EncodeQtXmlText(caption, text);
    }
    std::string DecodedText(std::string_view bytes, const std::string& fileName) const override
    {
        ReadQtForm(bytes, fileName);
        return std::string(WithoutBom(bytes));
    }
};

#pragma once

// Qt Linguist translations (.ts): the translated captions, in the scopes of the forms they
// translate.
//
// Each `<message>` of a `<context>` has a `<source>` and a `<translation>`; for a form the
// context is the form's class name. Given the forms, a translation takes the scope (or scopes)
// its source text has in the form of its context; without them, or for a context no form
// names, the messages of a context whose source holds a marker are one scope, which finds
// fewer conflicts and is named as such. Translations that are unfinished, vanished
// or obsolete, plural forms and length variants are passed over; only translations ever become
// captions, so a writer never touches a source.

#include "QtForm.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct RTsMessage
{
    std::string Source;  // displayed text
    std::string Comment; // the disambiguation that pairs it with a form's string
    RSourcePlace SourcePlace;
    RFileCaption Translation; // Text empty and no places when the message is passed over
    bool Translated = false;  // a finished translation with text of its own
};

struct RTsContext
{
    std::string Name;
    RSourcePlace Place;
    std::vector<RTsMessage> Messages;
};

struct RQtTranslation
{
    std::string Language; // the `language` attribute, such as "de_DE"; may be empty
    std::vector<RTsContext> Contexts;
};

// Throws EFormatError, "FILE:LINE:COL: message" in Qt's words, for XML that is not well formed,
// and for a file that is not UTF-8.
RQtTranslation ReadQtTranslation(std::string_view bytes, const std::string& fileName);

struct RTranslationScopes
{
    // Its notes: per-string findings (a key in the source but none in its translation, or the
    // reverse) and contexts checked as a whole for want of their form.
    RCaptionFile File;
};

// The forms by class name; an empty map checks every context as a whole, and says so once.
using TFormsByClass = std::map<std::string, const RQtForm*, std::less<>>;

RTranslationScopes ScopeTranslation(const RQtTranslation& translation, const TFormsByClass& forms);

// The format for translations of the given forms (which must outlive it): the scopes of
// ScopeTranslation, and text written back as EncodeQtXmlText spells it.
class TQtTranslationFormat : public ICaptionFormat
{
public:
    explicit TQtTranslationFormat(TFormsByClass forms) : FForms(std::move(forms)) {}
    RCaptionFile Read(std::string_view bytes, const std::string& fileName) const override
    {
        return ScopeTranslation(ReadQtTranslation(bytes, fileName), FForms).File;
    }
    std::string Encode(const RFileCaption& caption, std::string_view text) const override
    {
        return EncodeQtXmlText(caption, text);
    }
    std::string DecodedText(std::string_view bytes, const std::string& fileName) const override
    {
        ReadQtTranslation(bytes, fileName);
        return std::string(WithoutBom(bytes));
    }

private:
    TFormsByClass FForms;
};

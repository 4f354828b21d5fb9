#pragma once

#include "Utf8.h"

#include <QString>
#include <string>
#include <string_view>

// Captions are bytes. Valid UTF-8 shows as such; anything else shows as Latin-1 so that no
// byte is lost on the way to the screen.
QString ToDisplayText(std::string_view bytes);

// The list shows at most a caption's first this many bytes: laying out and painting a text takes
// time in proportion to its length, seconds on every repaint for a line of 100 MB. The whole
// caption stays in the document, in the editor and on the clipboard.
inline constexpr std::size_t MaxShownCaptionBytes = 4096;
// The display text of the caption's first MaxShownCaptionBytes, cut before a character that
// would not fit whole. Only that beginning decides between UTF-8 and Latin-1.
QString ToShownText(std::string_view bytes);

// The bytes for a caption the user typed: the old bytes when the text is what they showed.
std::string FromDisplayText(const QString& text, const std::string& previousBytes);

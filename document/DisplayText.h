#pragma once

#include <QString>
#include <string>
#include <string_view>

// Captions are bytes. Valid UTF-8 shows as such; anything else shows as Latin-1 so that no
// byte is lost on the way to the screen.
bool IsValidUtf8(std::string_view bytes);
QString ToDisplayText(std::string_view bytes);

// The bytes for a caption the user typed: the old bytes when the text is what they showed.
std::string FromDisplayText(const QString& text, const std::string& previousBytes);

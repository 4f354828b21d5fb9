#pragma once

// The caption list file: one caption per line, bytes as they are.

#include <string>
#include <string_view>
#include <vector>

// Lines end at CR, LF or CR LF; LF CR is two breaks. The text ends at the first NUL. A final
// terminator adds no empty line.
std::vector<std::string> SplitCaptionLines(std::string_view text);

// Every caption, the last one included, followed by CR LF.
std::string JoinCaptionLines(const std::vector<std::string_view>& captions);

// Throws EQuarnelError "Cannot open file "<name>". <reason>".
std::vector<std::string> ReadCaptionFile(const std::string& fileName);

// Replaces the file atomically: on any failure the old file is left as it was. Throws
// EQuarnelError "Cannot create file "<name>". <reason>" or "Stream write error".
void WriteCaptionFile(const std::string& fileName, const std::vector<std::string_view>& captions);

// The system's text for an error number, without trailing blanks, control characters or periods.
std::string SystemErrorText(int errorNumber);

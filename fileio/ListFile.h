#pragma once

// The caption list file: one caption per line, bytes as they are.

#include <string>
#include <string_view>
#include <vector>

// Lines end at CR, LF or CR LF; LF CR is two breaks. The text ends at the first NUL. A final
// terminator adds no empty line.
std::vector<std::string> SplitCaptionLines(std::string_view text);

// The same lines handed one by one to `line`, without collecting them first: a long list then
// goes straight into its final form.
template <typename TLineFn> void ForEachCaptionLine(std::string_view text, TLineFn&& line)
{
    text = text.substr(0, text.find('\0'));
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        line(text.substr(start, pos - start));
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < text.size())
        line(text.substr(start));
}

std::size_t CountCaptionLines(std::string_view text);

// Every caption, the last one included, followed by CR LF.
std::string JoinCaptionLines(const std::vector<std::string_view>& captions);

// Throws EQuarnelError "Cannot open file "<name>". <reason>", the reason "Cannot allocate
// memory" for a list too big to hold.
std::vector<std::string> ReadCaptionFile(const std::string& fileName);
// The file's bytes as they are, for ForEachCaptionLine; throws as ReadCaptionFile does.
std::string ReadCaptionFileText(const std::string& fileName);

// Replaces the file atomically: on any failure the old file is left as it was. Throws
// EQuarnelError "Cannot create file "<name>". <reason>" or "Stream write error". A caption
// holding CR, LF or NUL would come back as other captions, so such a list is refused before
// anything is written.
void WriteCaptionFile(const std::string& fileName, const std::vector<std::string_view>& captions);

// Asks for huge pages behind a large buffer that is about to be filled. A million-entry list
// otherwise takes tens of thousands of page faults, which cost more than all the rest of a load.
// Only a hint: nothing changes where the system can't or won't.
void AdviseLargeBuffer(const void* data, std::size_t bytes);

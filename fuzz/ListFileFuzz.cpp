// Any bytes given as a caption list file split without harm, into the lines an independent
// reading of the line rules gives, and those lines survive being saved and loaded again.
#include "FuzzCheck.h"
#include "ListFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Deliberately written differently from the product: a state machine over bytes, which
// remembers whether the previous byte was a CR so that a following LF can be swallowed.
std::vector<std::string> IndependentSplit(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    bool open = false; // bytes seen since the last break
    bool afterCr = false;
    for (const char c : text) {
        if (c == '\0')
            break;
        if (c == '\n' && afterCr) {
            afterCr = false;
            continue;
        }
        afterCr = c == '\r';
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
        } else {
            current.push_back(c);
            open = true;
        }
    }
    if (open)
        lines.push_back(current);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitCaptionLines(text);
    Require(lines == IndependentSplit(text), "lines follow the line rules");

    std::vector<std::string_view> captions;
    captions.reserve(lines.size());
    for (const std::string& line : lines) {
        Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                "no line holds a break or a NUL");
        captions.emplace_back(line);
    }
    const std::string saved = JoinCaptionLines(captions);
    Require(SplitCaptionLines(saved) == lines, "saved lines load back unchanged");
    return 0;
}

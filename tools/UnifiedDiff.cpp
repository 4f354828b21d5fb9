#include "UnifiedDiff.h"

#include <algorithm>
#include <cstddef>

namespace {

std::string DiffLine(char prefix, const std::string& line)
{
    std::string text(1, prefix);
    if (!line.empty() && line.back() == '\n')
        return text + line;
    if (!line.empty() && line.back() == '\r')
        return text + line.substr(0, line.size() - 1) + '\n';
    return text + line + "\n\\ No newline at end of file\n";
}

} // namespace

std::string UnifiedDiff(const std::string& name, const std::vector<std::string>& before,
                        const std::vector<std::string>& after)
{
    constexpr std::size_t Context = 3;
    if (before.size() != after.size())
        return {};
    std::string text = "--- " + name + "\n+++ " + name + "\n";
    std::size_t i = 0;
    while (i < before.size()) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        // A hunk runs on while the next change is within twice the context.
        const std::size_t start = i > Context ? i - Context : 0;
        std::size_t last = i;
        for (std::size_t j = i; j < before.size() && j <= last + 2 * Context; ++j)
            if (before[j] != after[j])
                last = j;
        const std::size_t stop = std::min(before.size(), last + Context + 1);
        const std::string range = std::to_string(start + 1) + ',' + std::to_string(stop - start);
        text += "@@ -" + range + " +" + range + " @@\n";
        // Each run of changed lines: the old ones, then the new ones.
        for (std::size_t j = start; j < stop;) {
            if (before[j] == after[j]) {
                text += DiffLine(' ', before[j++]);
                continue;
            }
            std::size_t runEnd = j;
            while (runEnd < stop && before[runEnd] != after[runEnd])
                ++runEnd;
            for (std::size_t k = j; k < runEnd; ++k)
                text += DiffLine('-', before[k]);
            for (std::size_t k = j; k < runEnd; ++k)
                text += DiffLine('+', after[k]);
            j = runEnd;
        }
        i = stop;
    }
    return text;
}

std::vector<std::string> SplitLinesAtLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

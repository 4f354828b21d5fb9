#pragma once

#include <string>
#include <vector>

// A unified diff with three lines of context between two versions of a file that have the same
// number of lines, as `fix --diff` prints it: mending moves markers, it never adds or removes a
// line, so line i of one is line i of the other. Each line holds its own terminator, so that the
// diff applies with `patch` to the file as it is: an LF or CR LF is kept, a lone CR is written
// as LF, and a last line without one is marked as such.
std::string UnifiedDiff(const std::string& name, const std::vector<std::string>& before,
                        const std::vector<std::string>& after);

// The lines of a text, each with its LF; the last one may have none.
std::vector<std::string> SplitLinesAtLf(const std::string& text);

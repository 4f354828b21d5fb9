#pragma once

// Turns a reference page written as plain text (the page a program prints for --help) into a
// manual page in roff, so that the printed page stays its only source.
//
// The text's shape: a heading starts in column 0; a section's text is indented 4 columns. A
// line at 4 columns followed by lines at 8 (or holding a term, two blanks and its text, as
// "0   Success") is an item: the term and its description. Other lines at 4 columns are
// paragraphs, separated by blank lines. SYNOPSIS and EXAMPLES are kept line for line.

#include <string>
#include <string_view>

struct TManPageHeader
{
    std::string Section;
    std::string Source; // the program and its version, e.g. "Quarnel 1.0"
    std::string Manual; // e.g. "User Commands"
};

// The page's title is the first word of the NAME section, in upper case.
std::string HelpTextToManPage(std::string_view helpText, const TManPageHeader& header);

#include "ManPage.h"

#include <algorithm>
#include <cstdio>
#include <regex>
#include <set>
#include <vector>

namespace {

constexpr std::size_t SectionIndent = 4;

struct TLine
{
    std::size_t Indent = 0;
    std::string Text; // without its indentation and trailing blanks; empty for a blank line
};

std::vector<TLine> SplitLines(std::string_view text)
{
    std::vector<TLine> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.remove_suffix(1);
        const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
        lines.push_back({indent, std::string(line.substr(indent))});
    }
    return lines;
}

// One UTF-8 sequence at the start of text as a code point, or nothing when it is malformed;
// advances text past what it read.
long DecodeUtf8(std::string_view& text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || text.size() < static_cast<std::size_t>(length)) {
        text.remove_prefix(1);
        return -1;
    }
    long codePoint = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return -1;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    text.remove_prefix(length);
    return codePoint;
}

// Text for roff: a backslash or a dash means something to roff, and a page spelled in ASCII
// renders alike whatever encoding groff assumes for its input.
std::string Escape(std::string_view text)
{
    std::string out;
    while (!text.empty()) {
        const char c = text[0];
        if (static_cast<unsigned char>(c) >= 0x80) {
            const long codePoint = DecodeUtf8(text);
            char name[24];
            std::snprintf(name, sizeof name, "\\[u%04lX]", codePoint < 0 ? 0xFFFDL : codePoint);
            out += name;
            continue;
        }
        text.remove_prefix(1);
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// A text line that begins like a request would be taken for one.
std::string TextLine(std::string_view text)
{
    std::string line = Escape(text);
    if (!line.empty() && (line[0] == '.' || line[0] == '\''))
        line.insert(0, "\\&");
    return line;
}

std::string Bold(std::string_view text)
{
    return "\\fB" + Escape(text) + "\\fR";
}

std::string Italic(std::string_view text)
{
    return "\\fI" + Escape(text) + "\\fR";
}

// "--keys ascii|unicode" -> the option in bold and its argument in italics; the first word
// (a command, an option, a status) is always bold.
std::string FormatTerm(std::string_view term)
{
    std::string out;
    bool first = true;
    while (!term.empty()) {
        const std::size_t end = std::min(term.find(' '), term.size());
        const std::string_view word = term.substr(0, end);
        term.remove_prefix(std::min(end + 1, term.size()));
        if (!first)
            out += ' ';
        out += first || word.starts_with('-') ? Bold(word) : Italic(word);
        first = false;
    }
    return "\\&" + out;
}

// "tsv (default): ..." or "lst: ..." within a description starts a line of its own.
bool StartsSubItem(const std::string& text)
{
    static const std::regex label(R"(^[a-z][a-z0-9]*( \([a-z]+\))?: .*)");
    return std::regex_match(text, label);
}

bool IsVerbatimSection(const std::string& heading)
{
    return heading == "SYNOPSIS" || heading == "EXAMPLES";
}

void AppendLine(std::string& out, std::string_view line)
{
    out += line;
    out += '\n';
}

void AppendVerbatim(std::string& out, const std::string& heading, const std::vector<TLine>& body)
{
    AppendLine(out, ".nf");
    for (const TLine& line : body) {
        if (line.Text.empty()) {
            AppendLine(out, ".sp");
            continue;
        }
        const std::string indent(line.Indent - std::min(line.Indent, SectionIndent), ' ');
        const std::size_t wordEnd = std::min(line.Text.find(' '), line.Text.size());
        if (heading == "SYNOPSIS" && indent.empty())
            AppendLine(out, Bold(line.Text.substr(0, wordEnd)) +
                                Escape(std::string_view(line.Text).substr(wordEnd)));
        else
            AppendLine(out, (indent.empty() ? "" : "\\&") + indent + Escape(line.Text));
    }
    AppendLine(out, ".fi");
}

void AppendFlowed(std::string& out, const std::vector<TLine>& body)
{
    static const std::regex termWithText(R"(^(\S+)\s{2,}(\S.*)$)");
    bool paragraphPending = true;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const TLine& line = body[i];
        if (line.Text.empty()) {
            paragraphPending = true;
            continue;
        }
        const bool describedBelow = line.Indent <= SectionIndent && i + 1 < body.size() &&
                                    !body[i + 1].Text.empty() && body[i + 1].Indent > SectionIndent;
        std::smatch match;
        const bool describedBeside =
            line.Indent <= SectionIndent && std::regex_match(line.Text, match, termWithText);
        if (describedBelow || describedBeside) {
            AppendLine(out, ".TP");
            AppendLine(out, FormatTerm(describedBeside ? match[1].str() : line.Text));
            if (describedBeside)
                AppendLine(out, TextLine(match[2].str()));
            bool firstOfBody = !describedBeside;
            while (i + 1 < body.size() && !body[i + 1].Text.empty() &&
                   body[i + 1].Indent > SectionIndent) {
                const std::string& text = body[++i].Text;
                if (!firstOfBody && StartsSubItem(text))
                    AppendLine(out, ".br");
                AppendLine(out, TextLine(text));
                firstOfBody = false;
            }
            paragraphPending = true;
            continue;
        }
        if (paragraphPending)
            AppendLine(out, ".PP");
        paragraphPending = false;
        AppendLine(out, TextLine(line.Text));
    }
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Quoted(std::string_view text)
{
    return '"' + Escape(text) + '"';
}

// A device without a glyph (PostScript for Cyrillic, ASCII for all of them) shows "?" instead
// of warning; a terminal in a UTF-8 locale shows the character itself.
std::string WithFallbacks(const std::string& page)
{
    static const std::regex special(R"(\\\[u[0-9A-F]+\])");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), special);
         it != std::sregex_iterator(); ++it)
        names.insert(it->str());
    std::string fallbacks;
    for (const std::string& name : names)
        fallbacks += ".if !c" + name + " .char " + name + " ?\n";
    const std::size_t afterTitle = page.find('\n') + 1;
    return page.substr(0, afterTitle) + fallbacks + page.substr(afterTitle);
}

} // namespace

std::string HelpTextToManPage(std::string_view helpText, const TManPageHeader& header)
{
    const std::vector<TLine> lines = SplitLines(helpText);
    std::vector<std::pair<std::string, std::vector<TLine>>> sections;
    for (const TLine& line : lines) {
        if (!line.Text.empty() && line.Indent == 0)
            sections.push_back({line.Text, {}});
        else if (!sections.empty())
            sections.back().second.push_back(line);
    }
    for (auto& section : sections)
        while (!section.second.empty() && section.second.back().Text.empty())
            section.second.pop_back();

    std::string title;
    for (const auto& [heading, body] : sections)
        if (heading == "NAME" && !body.empty() && !body.front().Text.empty())
            title = body.front().Text.substr(0, body.front().Text.find(' '));

    std::string out;
    AppendLine(out, ".TH " + Escape(UpperAscii(title)) + ' ' + header.Section + " \"\" " +
                        Quoted(header.Source) + ' ' + Quoted(header.Manual));
    for (const auto& [heading, body] : sections) {
        AppendLine(out, ".SH " + Quoted(heading));
        if (heading == "NAME") {
            std::string name;
            for (const TLine& line : body)
                if (!line.Text.empty())
                    name += (name.empty() ? "" : " ") + line.Text;
            AppendLine(out, TextLine(name));
        } else if (IsVerbatimSection(heading)) {
            AppendVerbatim(out, heading, body);
        } else {
            AppendFlowed(out, body);
        }
    }
    return WithFallbacks(out);
}

#include "ProfileFile.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool IsBlank(const char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsBlankLine(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), IsBlank);
}

char AsciiLower(const char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](const char x, const char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

// The name of a section header line, or nothing when the line is no header. A header without
// its closing bracket still opens a section, so that the keys below it are never mistaken for
// keys of the section before.
std::optional<std::string_view> SectionNameOf(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] != '[') {
        return std::nullopt;
    }
    std::string_view name = line.substr(first + 1);
    name = name.substr(0, name.find(']'));
    return Trim(name);
}

std::optional<std::string_view> KeyOf(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(line.substr(0, equals));
}

// Written values must read back unchanged: blanks at either end would be trimmed away and a
// value already in quotes would lose them, so such values get one pair of quotes of their own.
std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(key);
    line += '=';
    if (Trim(value) != value || IsQuoted(value)) {
        line += '"';
        line += value;
        line += '"';
    } else {
        line += value;
    }
    return line;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

TProfileFile TProfileFile::Parse(std::string_view bytes)
{
    TProfileFile profile;
    constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(Utf8Bom)) {
        profile.FByteOrderMark = Utf8Bom;
        bytes.remove_prefix(Utf8Bom.size());
    }
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r') {
            ++i;
            continue;
        }
        ETerminator terminator = ETerminator::Lf;
        std::size_t next = i + 1;
        if (c == '\r') {
            terminator = ETerminator::Cr;
            if (next < bytes.size() && bytes[next] == '\n') {
                terminator = ETerminator::CrLf;
                ++next;
            }
        }
        profile.FLines.push_back({std::string(bytes.substr(start, i - start)), terminator});
        start = next;
        i = next;
    }
    if (start < bytes.size()) {
        profile.FLines.push_back({std::string(bytes.substr(start)), ETerminator::None});
    }
    return profile;
}

std::optional<TProfileFile::TSectionRange> TProfileFile::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const auto name = SectionNameOf(FLines[i].Text);
        if (!name || !SameName(*name, Trim(section))) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < FLines.size() && !SectionNameOf(FLines[end].Text)) {
            ++end;
        }
        return TSectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> TProfileFile::FindKey(const TSectionRange& range,
                                                 std::string_view key) const
{
    for (std::size_t i = range.Header + 1; i < range.End; ++i) {
        const auto name = KeyOf(FLines[i].Text);
        if (name && SameName(*name, Trim(key))) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> TProfileFile::ReadString(std::string_view section,
                                                    std::string_view key) const
{
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = FindKey(*range, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string_view line = FLines[*index].Text;
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (IsQuoted(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, MaxValueLength));
}

void TProfileFile::InsertLine(const std::size_t position, std::string text)
{
    // Only the file's last line can lack a terminator; a line placed after it needs one there.
    if (position > 0 && FLines[position - 1].Terminator == ETerminator::None) {
        FLines[position - 1].Terminator = ETerminator::CrLf;
    }
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(position),
                  TLine{std::move(text), ETerminator::CrLf});
}

void TProfileFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value)
{
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        throw std::invalid_argument("profile names and values must not contain line breaks");
    }
    if (section.find(']') != std::string_view::npos) {
        throw std::invalid_argument("profile section names must not contain ']'");
    }
    if (key.find('=') != std::string_view::npos) {
        throw std::invalid_argument("profile key names must not contain '='");
    }
    // Names in the file are read without their surrounding blanks, so a name is stored that
    // way too; otherwise the value written could never be found again.
    section = Trim(section);
    key = Trim(key);
    if (!key.empty() && key.front() == '[') {
        throw std::invalid_argument("profile key names must not begin with '['");
    }

    std::string line = KeyLine(key, value);
    const auto range = FindSection(section);
    if (!range) {
        std::string header(1, '[');
        header.append(section).push_back(']');
        InsertLine(FLines.size(), std::move(header));
        InsertLine(FLines.size(), std::move(line));
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        // Rewriting a line with its own text would only change its terminator.
        if (FLines[*index].Text != line) {
            FLines[*index] = TLine{std::move(line), ETerminator::CrLf};
        }
        return;
    }
    // Blank lines at the end of a section separate it from the next one; keep them there.
    std::size_t position = range->End;
    while (position > range->Header + 1 && IsBlankLine(FLines[position - 1].Text)) {
        --position;
    }
    InsertLine(position, std::move(line));
}

void TProfileFile::EraseSection(std::string_view section)
{
    if (const auto range = FindSection(section)) {
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(range->Header),
                     FLines.begin() + static_cast<std::ptrdiff_t>(range->End));
    }
}

std::string TProfileFile::ToBytes() const
{
    std::string bytes = FByteOrderMark;
    for (const TLine& line : FLines) {
        bytes += line.Text;
        switch (line.Terminator) {
        case ETerminator::None:
            break;
        case ETerminator::Lf:
            bytes += '\n';
            break;
        case ETerminator::CrLf:
            bytes += "\r\n";
            break;
        case ETerminator::Cr:
            bytes += '\r';
            break;
        }
    }
    return bytes;
}

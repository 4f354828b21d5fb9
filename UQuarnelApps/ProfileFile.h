#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An INI ("profile") file held as its raw lines. The settings file is shared with other
// applications of the family, so everything this program does not edit must be written back
// exactly as it was read: every line keeps its own text and its own terminator, whatever bytes
// they hold. Lookups follow the rules of the classic private-profile services: names compare
// without regard to ASCII letter case, the first matching section wins and within it the first
// matching key.
class TProfileFile
{
public:
    // Longest value handed out by ReadString; longer values are cut, as a 2048-byte buffer
    // (terminator included) would cut them.
    static constexpr std::size_t MaxValueLength = 2047;

    TProfileFile() = default;

    // Never fails: any byte sequence is a profile, lines that are neither section headers nor
    // key lines are simply carried along.
    static TProfileFile Parse(std::string_view bytes);

    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

    // Throws std::invalid_argument when the names or the value cannot be stored without
    // changing the file's structure: a line break anywhere, "]" in the section name, "=" in
    // the key or "[" at its start. Such a write would otherwise plant lines that other readers
    // take for sections or keys of their own. Blanks around a name are dropped, as they are
    // when names are read from the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    void EraseSection(std::string_view section);

    std::string ToBytes() const;

private:
    enum class ETerminator
    {
        None,
        Lf,
        CrLf,
        Cr
    };

    struct TLine
    {
        std::string Text;
        ETerminator Terminator = ETerminator::None;
    };

    // Header index and one past the section's last line (the next header or the end).
    struct TSectionRange
    {
        std::size_t Header = 0;
        std::size_t End = 0;
    };

    std::optional<TSectionRange> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const TSectionRange& range, std::string_view key) const;
    void InsertLine(std::size_t position, std::string text);

    // A UTF-8 byte-order mark the file began with: no part of the first line's text, but
    // written back as it was.
    std::string FByteOrderMark;
    std::vector<TLine> FLines;
};

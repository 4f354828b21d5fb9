// Any bytes are a settings profile; an untouched profile is written back byte for byte; a value
// written is the value read back, in memory and after a round trip through the file's bytes.
#include "FuzzCheck.h"
#include "ProfileFile.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

std::string_view WithoutBlanks(std::string_view name)
{
    const std::size_t first = name.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return name.substr(first, name.find_last_not_of(" \t") - first + 1);
}

// The refusals the profile documents for WriteString.
bool MustBeRefused(std::string_view section, std::string_view key, std::string_view value)
{
    const auto hasBreak = [](std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    };
    return hasBreak(section) || hasBreak(key) || hasBreak(value) ||
           section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
           WithoutBlanks(key).starts_with('[');
}

// Names match without regard to ASCII case and to blanks around them.
bool SameName(std::string_view a, std::string_view b)
{
    a = WithoutBlanks(a);
    b = WithoutBlanks(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    Require(TProfileFile::Parse(whole).ToBytes() == whole, "an untouched profile keeps its bytes");

    // The same input once more, read as a write request followed by the file it goes into.
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(64);
    const std::string key = provider.ConsumeRandomLengthString(64);
    const std::string value = provider.ConsumeRandomLengthString(4096);
    const std::string otherSection = provider.ConsumeRandomLengthString(64);
    const std::string otherKey = provider.ConsumeRandomLengthString(64);
    const std::string before = provider.ConsumeRemainingBytesAsString();

    TProfileFile profile = TProfileFile::Parse(before);
    // Reading alone never changes the file.
    const auto otherBefore = profile.ReadString(otherSection, otherKey);
    Require(profile.ToBytes() == before, "reading changes no byte");

    const bool refusalExpected = MustBeRefused(section, key, value);
    try {
        profile.WriteString(section, key, value);
    } catch (const std::invalid_argument&) {
        Require(refusalExpected, "only the documented writes are refused");
        Require(profile.ToBytes() == before, "a refused write changes no byte");
        return 0;
    }
    Require(!refusalExpected, "a write that would break the file's structure is refused");

    const std::string expected = value.substr(0, TProfileFile::MaxValueLength);
    Require(profile.ReadString(section, key) == expected, "the value written is read back");
    const TProfileFile reloaded = TProfileFile::Parse(profile.ToBytes());
    Require(reloaded.ReadString(section, key) == expected,
            "the value written is read back from the saved bytes");
    if (!SameName(otherSection, section) || !SameName(otherKey, key))
        Require(reloaded.ReadString(otherSection, otherKey) == otherBefore,
                "a write changes no other value");
    return 0;
}

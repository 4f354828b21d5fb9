#pragma once

// Stand-in for the shared caption shape until the common header lands; same names, same
// meaning, so the Qt readers switch to it by changing one include.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct RSourcePlace
{
    std::size_t Offset = 0;
    std::uint32_t Line = 1;
    std::uint32_t Column = 1;

    bool operator==(const RSourcePlace&) const = default;
};
struct RFileCaption
{
    std::string Text;
    // Text.size() + 1 places: Places[i] is where the source of Text[i] begins, Places.back() is
    // one past the source of the last byte. Several text bytes of one source character (a UTF-8
    // sequence decoded from UTF-16, an escape) share its place, and only the first byte of a
    // character differs from the one before it.
    std::vector<RSourcePlace> Places;
    // False when the format shows the marker character literally here (a label with
    // SS_NOPREFIX): no key, and nothing to check.
    bool CanCarryKey = true;
    // A caption that should have a key: a missing one is mended by default (a menu entry).
    // False for captions that often stay without (a dialog's "OK" or a plain label).
    bool KeyRequired = true;
    // The reader's own note for its encoder, such as the code page the caption was written in.
    std::uint32_t EncodingTag = 0;

    // Where the displayed text begins: the first byte of a non-empty caption.
    const RSourcePlace& Start() const { return Places.front(); }
};
struct RCaptionScope
{
    // How messages name the scope: `menu MAIN_MENU > "&Edit"`, `dialog DIALOG_PAGESETUP`.
    std::string Name;
    std::vector<RFileCaption> Captions;
    // Indices of scopes in the same file whose keys this one must avoid as well (a tab page
    // inside its dialog); empty for most.
    std::vector<std::size_t> Enclosing;
};
struct RCaptionFile
{
    std::vector<RCaptionScope> Scopes;
};
class EFormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
class ICaptionEncoder
{
public:
    virtual ~ICaptionEncoder() = default;
    virtual std::string Encode(const RFileCaption& caption, std::string_view text) const = 0;
};

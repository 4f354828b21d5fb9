#pragma once

// What the cost model needs to know about characters of any script, from Unicode data: words
// start at letters and digits of every script, vowels and letter shapes are judged on the base
// letter of an accented one, and the two cases of a letter fold as the Unicode key rule folds
// its keys.

#include "KeyCosts.h"

class TUnicodeCharacterTraits final : public ICharacterTraits
{
public:
    bool IsLetter(char32_t c) const override;
    bool IsDigit(char32_t c) const override;
    // a, e, i, o, u and their accented forms, æ, œ, ø; the Cyrillic and Greek vowels.
    bool IsVowel(char32_t c) const override;
    // i, l, I, 1, ! and their accented forms, the dotless i, ł; Cyrillic і, Greek ι.
    bool IsNarrow(char32_t c) const override;
    // g, j, p, q, y and their accented forms, letters with a mark below the line (ç, ş, ą);
    // Cyrillic д р у ф ц щ, Greek β γ ζ η μ ξ ρ φ χ ψ.
    bool HasDescender(char32_t c) const override;
    // Simple case folding, as the Unicode key rule compares keys.
    char32_t Fold(char32_t c) const override;
};

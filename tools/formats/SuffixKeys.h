#pragma once

// The key of the source a translation translates, which the translation best keeps: a user who
// knows the English menu finds it again. Japanese, Chinese and Korean captions carry their key
// in a "(&X)" suffix, whose letter is best the source's key.

#include <string_view>

// Whether a translation into this language (a code such as "ja", "zh_TW" or "ko-KR") writes
// its keys as suffixes.
bool KeysInSuffixes(std::string_view language);

// The source's key as a suffix letter (upper case) when it is a Latin letter or digit marked
// once; 0 otherwise.
char SuffixKeyOfSource(std::string_view source, char marker);

// The code point a single sound marker of the source marks; 0 when there is none.
char32_t MarkedCharacterOf(std::string_view source, char marker);

#pragma once

// --prefer guidelines for the batch tool: the cost model a call uses, the keys it gives lists
// and scopes, and each command kept on the key it has in most captions of all files of the call.

#include "CaptionFile.h"
#include "KeyCosts.h"
#include "KeyQuality.h"
#include "PreferredScopeFix.h"
#include "UnicodeCharacterTraits.h"

#include <map>
#include <string>
#include <vector>

// Per command text, the keys its captions carry over scopes that may use different markers,
// each key once in the order met, with how often.
std::map<std::u32string, TKeyTally> KeysByCommandOverMarkers(
    const std::map<char, std::vector<std::vector<std::string>>>& scopesByMarker,
    const TCostModel& model);

// The key most captions of a command carry, for commands keyed in more than one caption; a tie
// goes to the key met first.
std::map<std::u32string, char32_t>
MajorityKeysOf(const std::map<std::u32string, TKeyTally>& tallies);

class TKeyPreference
{
public:
    explicit TKeyPreference(RPreferences preferences,
                            TPreferMethod method = TPreferMethod::Cheapest);
    TKeyPreference(const TKeyPreference&) = delete;
    TKeyPreference& operator=(const TKeyPreference&) = delete;

    TPreferMethod Method() const { return FMethod; }
    // The model for captions under a rule: ASCII traits for the ASCII rule, Unicode ones else.
    const TCostModel& ModelFor(const IKeyRule& rule) const;
    // The model that names commands alike in every format, for what spans a whole call.
    const TCostModel& CallModel() const { return FUnicodeModel; }

    // Remembers, for every command keyed in more than one caption, the key most of them carry
    // (a tie goes to the key met first). Scopes are grouped by the marker they use.
    void LearnKeys(const std::map<char, std::vector<std::vector<std::string>>>& scopesByMarker);
    TPreferredKeys PreferredKeys(const std::vector<std::string>& captions, char marker) const;

private:
    TPreferMethod FMethod;
    TAsciiCharacterTraits FAsciiTraits;
    TUnicodeCharacterTraits FUnicodeTraits;
    TCostModel FAsciiModel;
    TCostModel FUnicodeModel;
    std::map<std::u32string, char32_t> FMajority; // command text, Unicode-folded, to its key
};

// A caption list: every caption gets a key, as the window's Process gives one.
std::optional<std::vector<RKeyed>> AssignListPreferring(const std::vector<std::string>& captions,
                                                        const IKeyRule& rule, char marker,
                                                        const TKeyPreference& preference);
RScopeFix FixListPreferring(const std::vector<std::string>& captions, const IKeyRule& rule,
                            char marker, const TKeyPreference& preference);

// One scope of a file under the Unicode rule; mayGoWithoutKey: the captions that need no key
// (dialog controls), of which "OK" and "Cancel" then get none. sourceKeys[i], when not 0: the
// key of the source caption i translates, which it prefers to the key its text has elsewhere.
RScopeFix FixFileScopePreferring(const RScope& scope, char marker,
                                 const std::vector<bool>& wantsKey,
                                 const std::vector<bool>& mayGoWithoutKey,
                                 const TKeyPreference& preference,
                                 const std::vector<char32_t>& sourceKeys = {});

// Per engine caption (an index into the file's scope), whether it may stay without a key.
std::vector<bool> MayGoWithoutKey(const RCaptionScope& scope,
                                  const std::vector<std::size_t>& captions);

// The captions a scope of a file can key (those that can carry one), in order.
std::vector<std::string> KeyableCaptions(const RCaptionScope& scope);

// The built-in preferences with the rules of a --prefer-file applied; throws EQuarnelError for
// a file that cannot be read and, with "FILE:LINE: message", for its first bad line.
RPreferences PreferencesFromFile(const std::string& fileName);

// The bytes of a file, none when it cannot be read.
std::optional<std::string> FileBytes(const std::string& fileName);

struct RScopeFileOptions;

// Before fix writes anything: every file of the call mended once without consistency, so that
// each command then prefers the key it ends with in most captions. Lists follow listRule and
// listMarker; files that cannot be read are left to the fix itself to report.
void LearnKeysOfCall(TKeyPreference& preference, const std::vector<std::string>& files,
                     const IKeyRule& listRule, char listMarker, const RScopeFileOptions& options);

// Any bytes are a rule file: it applies, or it fails naming a line of the file and leaves the
// preferences as they were; what it applies keeps every weight in range and gives a cost model
// that still assigns a menu.
#include "Engine.h"
#include "FuzzCheck.h"
#include "PreferenceRules.h"
#include "PreferredAssignment.h"
#include "QuarnelError.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RPreferences preferences = DefaultPreferences();
    try {
        ApplyPreferenceRules(text, "rules", preferences);
    } catch (const EQuarnelError& error) {
        const std::string message = error.what();
        Require(message.starts_with("rules:"), "the message names the file");
        const std::size_t line = std::stoul(message.substr(6));
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        Require(line >= 1 && line <= lines + 1, "the message names a line of the file");
        Require(preferences.Weights.Values == DefaultPreferences().Weights.Values &&
                    preferences.StandardKeys == DefaultPreferences().StandardKeys &&
                    preferences.NoKeyTexts == DefaultPreferences().NoKeyTexts,
                "a bad file changes nothing");
        return 0;
    }
    for (const int weight : preferences.Weights.Values)
        Require(weight >= 0 && weight <= MaxRuleWeight, "weights stay in range");

    const TAsciiCharacterTraits ascii;
    const TCostModel model(preferences, ascii);
    RKeyScope scope{KeyCount, {}, {}};
    for (const char* caption : {"&File", "Save As...", "Exit", "Cut", "Copy", "OK"})
        scope.Captions.push_back({caption, AsciiKeyPlaces(caption, '&'), {}, {}});
    const RScopeKeys keys = AssignScope(scope, '&', model, TPreferMethod::Cheapest);
    Require(keys.Assigned, "a menu with keys to spare is always assigned");
    return 0;
}

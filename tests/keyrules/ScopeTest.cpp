// Scopes: assignment, the check, kept markers and explanations, under both rules and with keys
// taken from outside.
#include "Scope.h"

#include "Diagnosis.h"
#include "Engine.h"
#include "Lint.h"
#include "Pinning.h"
#include "QuarnelError.h"
#include "UnicodeKeyRule.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using K = TFindingKind;

std::string RandomCaption(std::mt19937& random, const std::vector<std::string>& tokens)
{
    std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
    std::string caption;
    for (int n = static_cast<int>(random() % 6); n > 0; --n)
        caption += tokens[pick(random)];
    return caption;
}

std::vector<std::string> Keys(const std::vector<RKeyed>& results, const IKeyRule& rule)
{
    std::vector<std::string> keys;
    for (const RKeyed& result : results)
        keys.push_back(rule.KeyText(result.Key));
    return keys;
}

class TSilent : public IProcessHost
{
public:
    void ProcessBusy() override {}
    void ProcessIdle() override {}
    void ProcessStage(const std::string&) override {}
};

// Under the ASCII rule a caption list file is one scope, and every answer is the one the window
// and the existing modes give.
TEST(AsciiScope, AgreesWithTheListFunctions)
{
    std::mt19937 random(3);
    const std::vector<std::string> tokens = {"a", "B", "b", "c", "1", "&", "&&", " ", ".", "\xE9"};
    int assigned = 0;
    int conflicts = 0;
    for (int round = 0; round < 3000; ++round) {
        RScope scope;
        for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n)
            scope.Captions.push_back(RandomCaption(random, tokens));
        const std::vector<std::string>& captions = scope.Captions;

        TAccEngine engine;
        TSilent host;
        std::vector<RAccelerated> expected;
        try {
            expected = engine.Process(
                captions.size(), [&](std::size_t i) -> const std::string& { return captions[i]; },
                host);
        } catch (const EQuarnelError&) {
        }
        const std::optional<std::vector<RKeyed>> got = AssignScope(scope, AsciiKeyRule(), '&');
        ASSERT_EQ(got.has_value(), !expected.empty());
        for (std::size_t i = 0; got && i < got->size(); ++i) {
            EXPECT_EQ((*got)[i].Caption, expected[i].Caption);
            EXPECT_EQ(AsciiKeyRule().KeyText((*got)[i].Key), std::string(1, expected[i].Key));
        }
        assigned += got.has_value();

        const std::vector<RFinding> lint = LintCaptions(captions, '&');
        const std::vector<RScopeFinding> checked = CheckScope(scope, AsciiKeyRule(), '&');
        ASSERT_EQ(checked.size(), lint.size());
        for (std::size_t i = 0; i < lint.size(); ++i) {
            EXPECT_EQ(checked[i].Caption, lint[i].Line);
            EXPECT_EQ(checked[i].Kind, lint[i].Kind);
            EXPECT_EQ(DescribeScopeFinding(checked[i], AsciiKeyRule(), '&'),
                      DescribeFinding(lint[i], '&'));
        }

        const RPinnedAssignment pinned = AssignKeepingPins(captions, '&');
        const RScopeKeeping kept = AssignScopeKeepingPins(scope, AsciiKeyRule(), '&');
        ASSERT_EQ(kept.Assigned, pinned.Assigned);
        ASSERT_EQ(kept.Conflicts.size(), pinned.Conflicts.size());
        conflicts += !kept.Conflicts.empty();
        for (std::size_t i = 0; i < kept.Results.size(); ++i)
            EXPECT_EQ(kept.Results[i].Caption, pinned.Results[i].Caption);

        const RDiagnosis diagnosis = Diagnose(KeySetsOf(captions));
        const RScopeDiagnosis explained = ExplainScope(scope, AsciiKeyRule(), '&', false);
        EXPECT_EQ(explained.MaxDistinct, diagnosis.MaxDistinct);
        EXPECT_EQ(explained.WithoutKeys, diagnosis.WithoutKeys);
        EXPECT_EQ(explained.Group, diagnosis.Group);
        std::string keys;
        for (const TKey key : explained.GroupKeys)
            keys += AsciiKeyRule().KeyText(key);
        std::string expectedKeys;
        for (TKeySet set = diagnosis.GroupKeys; set != 0; set &= set - 1)
            expectedKeys.push_back(KeyAt(std::countr_zero(set)));
        std::sort(keys.begin(), keys.end());
        std::sort(expectedKeys.begin(), expectedKeys.end());
        EXPECT_EQ(keys, expectedKeys);
    }
    EXPECT_GT(assigned, 500);
    EXPECT_GT(conflicts, 500);
}

TEST(Scope, OutsideKeysAreNeverAssigned)
{
    const RScope scope{"page", {"Open", "Options"}, {U'O', U'P'}};
    const std::optional<std::vector<RKeyed>> got = AssignScope(scope, AsciiKeyRule(), '&');
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[0].Caption, "Op&en");
    EXPECT_EQ((*got)[1].Caption, "Op&tions");
    EXPECT_FALSE(AssignScope({"page", {"Op"}, {U'O', U'P'}}, AsciiKeyRule(), '&'));

    const RScopeDiagnosis diagnosis =
        ExplainScope({"", {"Op", "Go"}, {U'O', U'P'}}, AsciiKeyRule(), '&', false);
    EXPECT_EQ(diagnosis.WithoutKeys, std::vector<std::size_t>{0});
    EXPECT_EQ(diagnosis.MaxDistinct, 1u);
}

TEST(Scope, CheckNamesEveryCaptionWithAKeyAndTheKeysTakenOutside)
{
    const IKeyRule& rule = UnicodeKeyRule();
    const RScope scope{
        "menu", {"&Файл", "&файл", "Пр&авка", "&Фото", "&Вид"}, {*rule.CharAt("в", 0).Key}};
    const std::vector<RScopeFinding> findings = CheckScope(scope, rule, '&', 4);
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(findings[0].Caption, 1u);
    EXPECT_EQ(findings[0].Kind, K::DuplicateKey);
    EXPECT_EQ(findings[0].SameKey, (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_EQ(findings[0].Scope, 4u);
    EXPECT_EQ(rule.KeyText(findings[0].Key), "Ф");
    EXPECT_EQ(DescribeScopeFinding(findings[0], rule, '&'), "key 'Ф' is also used on line 1");
    EXPECT_EQ(findings[1].Caption, 3u);
    EXPECT_EQ(findings[2].Caption, 4u);
    EXPECT_TRUE(findings[2].TakenOutside);
    EXPECT_EQ(DescribeScopeFinding(findings[2], rule, '&'),
              "key 'В' is already taken outside this scope");
    // Keeping markers stops at those conflicts, and finds the outside key too.
    EXPECT_EQ(AssignScopeKeepingPins(scope, rule, '&').Conflicts.size(), 3u);
}

TEST(Scope, MalformedMarkersUnderTheUnicodeRule)
{
    const IKeyRule& rule = UnicodeKeyRule();
    const std::vector<RScopeFinding> findings = CheckScope(
        {"", {"&ファイル", "Ко&\u0301пия", "a&\xFF", "(&F)保存", "ok&", "&a&б"}, {}}, rule, '&');
    ASSERT_EQ(findings.size(), 5u);
    EXPECT_EQ(findings[0].Kind, K::MarkerBeforeNonKey);
    EXPECT_EQ(findings[0].Char, "フ");
    EXPECT_EQ(DescribeScopeFinding(findings[0], rule, '&'),
              "marker '&' before 'フ', which cannot be a key");
    EXPECT_EQ(findings[1].Char, "\u0301");
    EXPECT_EQ(DescribeScopeFinding(findings[2], rule, '&'),
              "marker '&' before '\\xFF', which cannot be a key");
    // A suffix key is a key like any other.
    EXPECT_EQ(findings[3].Caption, 4u);
    EXPECT_EQ(findings[3].Kind, K::LoneMarkerAtEnd);
    EXPECT_EQ(findings[4].Kind, K::SeveralMarkers);
    EXPECT_EQ(findings[4].Pos, 0u);
}

TEST(Scope, KeepsSoundMarkersAndAssignsTheRestUnderTheUnicodeRule)
{
    const IKeyRule& rule = UnicodeKeyRule();
    const RScopeKeeping kept =
        AssignScopeKeepingPins({"", {"&Файл", "Файл", "ファイル(&F)", "編集"}, {}}, rule, '&');
    ASSERT_TRUE(kept.Assigned);
    EXPECT_EQ(kept.Results[0].Caption, "&Файл");
    EXPECT_EQ(kept.Results[1].Caption, "Ф&айл");
    EXPECT_EQ(kept.Results[2].Caption, "ファイル(&F)");
    EXPECT_EQ(kept.Results[3].Caption, "編集(&A)");
    EXPECT_EQ(Keys(kept.Results, rule), (std::vector<std::string>{"Ф", "А", "F", "A"}));
}

TEST(Scope, ManyMoreKeysThanTheAsciiRuleHas)
{
    // Sixty captions of one letter each from three alphabets: far beyond 43 keys and 64 bits.
    const std::string letters = "abcdefghijklmnopqrstuvwxyzабвгдежзийклмнопрстуфхцчшщαβγδεζηθ";
    RScope scope;
    const IKeyRule& rule = UnicodeKeyRule();
    for (std::size_t pos = 0; pos < letters.size(); pos += rule.CharAt(letters, pos).Length)
        scope.Captions.push_back(letters.substr(pos, rule.CharAt(letters, pos).Length) + "x");
    ASSERT_EQ(scope.Captions.size(), 60u);
    const std::optional<std::vector<RKeyed>> got = AssignScope(scope, rule, '&');
    ASSERT_TRUE(got);
    EXPECT_EQ((*got)[59].Caption, "&θx");
    scope.Captions.push_back("X");
    scope.Captions.push_back("x");
    EXPECT_FALSE(AssignScope(scope, rule, '&'));
    const RScopeDiagnosis diagnosis = ExplainScope(scope, rule, '&', false);
    // "xx", "X" and "x" share the one key X; two of them already show it.
    EXPECT_EQ(diagnosis.MaxDistinct, 60u);
    EXPECT_EQ(diagnosis.Group, (std::vector<std::size_t>{23, 60}));
    ASSERT_EQ(diagnosis.GroupKeys.size(), 1u);
    EXPECT_EQ(rule.KeyText(diagnosis.GroupKeys[0]), "X");
}

TEST(Scope, FindingsOfSeveralScopesNameTheirScope)
{
    const std::vector<RScope> scopes = {
        {"bar", {"&File", "&Edit"}, {}}, {"file", {"&New", "&Next"}, {}}, {"edit", {"Cut"}, {}}};
    const std::vector<RScopeFinding> findings = CheckScopes(scopes, AsciiKeyRule(), '&');
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].Scope, 1u);
    EXPECT_EQ(findings[0].Caption, 1u);
    EXPECT_EQ(findings[1].Scope, 2u);
    EXPECT_EQ(findings[1].Kind, K::NoMarker);
}

} // namespace

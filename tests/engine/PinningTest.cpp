// Assignment that keeps the markers a list already carries.
#include "Pinning.h"

#include "ReferenceSearch.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

std::string RandomCaption(std::mt19937& random, const std::vector<std::string>& tokens)
{
    std::uniform_int_distribution<int> length(0, 5);
    std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
    std::string caption;
    for (int n = length(random); n > 0; --n)
        caption += tokens[pick(random)];
    return caption;
}

// The depth-first search over the whole list, each pinned caption offering its pinned candidate
// and nothing else.
TCombination ReferenceWithPins(const std::vector<std::string>& captions, char marker)
{
    std::unique_ptr<RPosResultList> head;
    std::unique_ptr<RPosResultList>* tail = &head;
    for (const std::string& caption : captions) {
        *tail = std::make_unique<RPosResultList>();
        RPosResult& result = (*tail)->PosResult;
        result.Caption = caption;
        const std::optional<std::size_t> pin =
            PinnedPosition(caption, ScanMarkers(caption, marker));
        if (pin)
            result.Candidates.push_back({*pin, KeyOf(caption[*pin])});
        else
            result.Candidates = TAccEngine::CandidatesOf(caption);
        tail = &(*tail)->Next;
    }
    return ReferenceFindCombination(head.get());
}

struct TCoverage
{
    int Conflicts = 0;
    int Failures = 0;
    int AssignedWithPins = 0;
};

void CompareOnRandomLists(unsigned seed, int lists, const std::vector<std::string>& tokens,
                          char marker, TCoverage& coverage)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> count(1, 9);
    for (int list = 0; list < lists; ++list) {
        std::vector<std::string> captions(static_cast<std::size_t>(count(random)));
        for (std::string& caption : captions)
            caption = RandomCaption(random, tokens);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", list " + std::to_string(list));

        const RPinnedAssignment assignment = AssignKeepingPins(captions, marker);
        ASSERT_EQ(assignment.Conflicts, MarkerConflicts(captions, marker));
        if (!assignment.Conflicts.empty()) {
            ASSERT_FALSE(assignment.Assigned);
            ASSERT_TRUE(assignment.Results.empty());
            ++coverage.Conflicts;
            continue;
        }
        const TCombination expected = ReferenceWithPins(captions, marker);
        ASSERT_EQ(assignment.Assigned, !expected.empty());
        if (!assignment.Assigned) {
            ASSERT_TRUE(assignment.Results.empty());
            ++coverage.Failures;
            continue;
        }
        ASSERT_EQ(assignment.Results.size(), captions.size());
        bool pinned = false;
        for (std::size_t i = 0; i < captions.size(); ++i) {
            const std::optional<std::size_t> pin =
                PinnedPosition(captions[i], ScanMarkers(captions[i], marker));
            // A pinned caption comes back as it was; the others as the search placed them.
            const std::string accelerated =
                pin ? captions[i] : InsertMarker(captions[i], expected[i].Pos, marker);
            ASSERT_EQ(assignment.Results[i], (RAccelerated{accelerated, expected[i].Key}))
                << "caption " << i << " '" << captions[i] << "'";
            pinned = pinned || pin;
        }
        if (pinned)
            ++coverage.AssignedWithPins;
    }
}

TEST(Pinning, RandomListsMatchTheSearchWithPinsAsOnlyCandidates)
{
    TCoverage coverage;
    CompareOnRandomLists(1, 6000, {"a", "b", "c", "A", "B", "1", " ", "&&", "&a", "&B", "&1", "&"},
                         '&', coverage);
    CompareOnRandomLists(2, 3000, {"a", "b", "A", "B", "~~", "&", "~a", "~b", "~"}, '~', coverage);
    EXPECT_GT(coverage.Conflicts, 500);
    EXPECT_GT(coverage.Failures, 500);
    EXPECT_GT(coverage.AssignedWithPins, 500);
}

TEST(Pinning, NothingPinnedGivesTheProcessingPassResult)
{
    std::mt19937 random(3);
    int assigned = 0;
    for (int list = 0; list < 3000; ++list) {
        std::vector<std::string> captions(std::uniform_int_distribution<std::size_t>(1, 8)(random));
        TAccEngine engine;
        for (std::string& caption : captions) {
            // Doubled markers are text, not pins.
            caption = RandomCaption(random, {"a", "b", "c", "A", "C", "2", ".", "&&"});
            engine.AddPosResult(caption);
        }
        engine.FindCombination();
        std::vector<RAccelerated> expected;
        const TCombination& best = engine.BestCombination();
        std::size_t i = 0;
        for (const RPosResultList* node = engine.PosResults(); node && !best.empty();
             node = node->Next.get(), ++i)
            expected.push_back({engine.AcceleratedCaption(node->PosResult, best[i]), best[i].Key});
        const RPinnedAssignment assignment = AssignKeepingPins(captions, '&');
        ASSERT_TRUE(assignment.Conflicts.empty());
        ASSERT_EQ(assignment.Assigned, !expected.empty()) << list;
        ASSERT_EQ(assignment.Results, expected) << list;
        assigned += assignment.Assigned ? 1 : 0;
    }
    EXPECT_GT(assigned, 500);
}

TEST(Pinning, PinnedKeysAreTakenOutOfPlay)
{
    const RPinnedAssignment assignment = AssignKeepingPins({"Ab", "Bac", "&Apple", "P&rint"}, '&');
    ASSERT_TRUE(assignment.Assigned);
    EXPECT_EQ(
        assignment.Results,
        (std::vector<RAccelerated>{{"A&b", 'B'}, {"Ba&c", 'C'}, {"&Apple", 'A'}, {"P&rint", 'R'}}));
    // The free captions cannot get round the pin, though without it they would.
    EXPECT_FALSE(AssignKeepingPins({"Ab", "Ba", "&Apple"}, '&').Assigned);
    EXPECT_TRUE(AssignKeepingPins({"Ab", "Ba", "Apple"}, '&').Assigned);
}

TEST(Pinning, ConflictsAssignNothing)
{
    using K = TFindingKind;
    RPinnedAssignment assignment = AssignKeepingPins({"&Open", "Save", "&over"}, '&');
    EXPECT_FALSE(assignment.Assigned);
    EXPECT_TRUE(assignment.Results.empty());
    EXPECT_EQ(
        assignment.Conflicts,
        (std::vector<RFinding>{{.Line = 2, .Kind = K::DuplicateKey, .Char = 'O', .OtherLine = 0}}));

    assignment = AssignKeepingPins({"& Open", "Save"}, '&');
    EXPECT_FALSE(assignment.Assigned);
    EXPECT_EQ(assignment.Conflicts,
              (std::vector<RFinding>{{.Line = 0, .Kind = K::MarkerBeforeNonKey, .Char = ' '}}));

    // A list too long to succeed still has every conflict reported.
    std::vector<std::string> captions(100, "Open");
    captions[70] = "Exit&";
    assignment = AssignKeepingPins(captions, '&');
    EXPECT_EQ(assignment.Conflicts,
              (std::vector<RFinding>{{.Line = 70, .Kind = K::LoneMarkerAtEnd}}));
}

TEST(Pinning, EveryCaptionPinned)
{
    const RPinnedAssignment assignment = AssignKeepingPins({"&Yes", "&No", "&&Cancel &C"}, '&');
    ASSERT_TRUE(assignment.Assigned);
    EXPECT_EQ(assignment.Results,
              (std::vector<RAccelerated>{{"&Yes", 'Y'}, {"&No", 'N'}, {"&&Cancel &C", 'C'}}));
    EXPECT_TRUE(AssignKeepingPins({}, '&').Assigned);
}

TEST(Pinning, KeySetsForTheExplanation)
{
    const std::vector<TKeySet> keySets = PinnedKeySets({"&Ab", "Ab", "B&&a", "..."}, '&');
    ASSERT_EQ(keySets.size(), 4u);
    EXPECT_EQ(KeysText(keySets[0]), "A");
    EXPECT_EQ(KeysText(keySets[1]), "A, B");
    EXPECT_EQ(KeysText(keySets[2]), "A, B");
    EXPECT_EQ(keySets[3], 0u);
}

} // namespace

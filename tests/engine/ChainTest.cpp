// The candidate chain: built in list order, emptied on demand, never by recursion.
#include "Engine.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ChainCaptions(const TAccEngine& engine)
{
    std::vector<std::string> captions;
    for (const RPosResultList* node = engine.PosResults(); node; node = node->Next.get())
        captions.push_back(node->PosResult.Caption);
    return captions;
}

TEST(Chain, AppendsInListOrderWithCandidates)
{
    TAccEngine engine;
    EXPECT_EQ(engine.PosResults(), nullptr);
    engine.AddPosResult("Open");
    engine.AddPosResult("...");
    engine.AddPosResult("Open");
    EXPECT_EQ(ChainCaptions(engine), (std::vector<std::string>{"Open", "...", "Open"}));
    EXPECT_EQ(engine.PosResultCount(), 3u);
    const RPosResultList* head = engine.PosResults();
    EXPECT_EQ(head->PosResult.Candidates.size(), 4u);
    EXPECT_TRUE(head->Next->PosResult.Candidates.empty());
    EXPECT_EQ(head->Next->Next->PosResult.Candidates, head->PosResult.Candidates);
}

TEST(Chain, ClearEmptiesAndAppendingStartsAgainAtTheHead)
{
    TAccEngine engine;
    engine.AddPosResult("File");
    engine.AddPosResult("Edit");
    engine.ClearPosResults();
    EXPECT_EQ(engine.PosResults(), nullptr);
    EXPECT_EQ(engine.PosResultCount(), 0u);
    engine.ClearPosResults();
    EXPECT_EQ(engine.PosResults(), nullptr);

    engine.AddPosResult("View");
    EXPECT_EQ(ChainCaptions(engine), (std::vector<std::string>{"View"}));
}

TEST(Chain, MillionNodesClearWithoutOverflow)
{
    // Captions without candidates keep the test to one allocation per node.
    constexpr std::size_t count = 1'000'000;
    TAccEngine engine;
    for (std::size_t i = 0; i < count; ++i)
        engine.AddPosResult(".");
    std::size_t walked = 0;
    for (const RPosResultList* node = engine.PosResults(); node; node = node->Next.get())
        ++walked;
    EXPECT_EQ(walked, count);
    engine.ClearPosResults();
    EXPECT_EQ(engine.PosResults(), nullptr);
    EXPECT_EQ(engine.PosResultCount(), 0u);
}

TEST(IsValidCombination, RefusesARepeatedKey)
{
    EXPECT_TRUE(TAccEngine::IsValidCombination({}));
    EXPECT_TRUE(TAccEngine::IsValidCombination({{0, 'A'}, {0, 'B'}, {3, '1'}}));
    EXPECT_FALSE(TAccEngine::IsValidCombination({{0, 'A'}, {1, 'B'}, {2, 'A'}}));
}

} // namespace

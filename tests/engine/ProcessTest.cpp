// The processing pass as a host sees it, on the lists users actually write.
#include "Engine.h"
#include "QuarnelError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Writes down everything the pass tells its host, and every caption it reads, in one log so
// that their order can be checked too.
class TRecordingHost : public IProcessHost
{
public:
    void ProcessBusy() override { Log.push_back("busy"); }
    void ProcessIdle() override { Log.push_back("idle"); }
    void ProcessStage(const std::string& text) override { Log.push_back("stage " + text); }

    std::vector<std::string> Log;
};

struct TPassOutcome
{
    std::vector<RAccelerated> Results;
    std::string Error; // empty on success
    std::vector<std::string> Log;
};

TPassOutcome RunPass(TAccEngine& engine, const std::vector<std::string>& captions)
{
    TRecordingHost host;
    TPassOutcome outcome;
    try {
        outcome.Results = engine.Process(
            captions.size(),
            [&](std::size_t i) -> const std::string& {
                host.Log.push_back("read " + std::to_string(i));
                return captions[i];
            },
            host);
    } catch (const EQuarnelError& error) {
        outcome.Error = error.what();
    }
    outcome.Log = std::move(host.Log);
    return outcome;
}

TPassOutcome RunPass(const std::vector<std::string>& captions, char marker = '&')
{
    TAccEngine engine;
    engine.FAccChar = marker;
    return RunPass(engine, captions);
}

std::vector<std::string> ExpectedLog(std::size_t count)
{
    std::vector<std::string> log = {"busy", "stage Initializing...",
                                    "stage Finding possible captions..."};
    for (std::size_t i = 0; i < count; ++i)
        log.push_back("read " + std::to_string(i));
    log.push_back("stage Finding best captions combination...");
    log.push_back("idle");
    return log;
}

void ExpectResults(const std::vector<std::string>& captions,
                   const std::vector<RAccelerated>& expected)
{
    const TPassOutcome outcome = RunPass(captions);
    EXPECT_EQ(outcome.Error, "");
    EXPECT_EQ(outcome.Results, expected);
}

void ExpectFailure(const std::vector<std::string>& captions)
{
    const TPassOutcome outcome = RunPass(captions);
    EXPECT_EQ(outcome.Error, "Unable to get best captions combination.");
    EXPECT_TRUE(outcome.Results.empty());
}

TEST(Process, FirstDistinctKeysInListOrder)
{
    ExpectResults({"File", "Edit", "Format"}, {{"&File", 'F'}, {"&Edit", 'E'}, {"F&ormat", 'O'}});
    ExpectResults({"New", "Next", "Nice"}, {{"&New", 'N'}, {"N&ext", 'E'}, {"N&ice", 'I'}});
    ExpectResults({"Cut", "Copy", "Paste", "Close"},
                  {{"&Cut", 'C'}, {"C&opy", 'O'}, {"&Paste", 'P'}, {"C&lose", 'L'}});
}

TEST(Process, EqualCaptionsStillGetDifferentKeys)
{
    ExpectResults({"Open", "Open"}, {{"&Open", 'O'}, {"O&pen", 'P'}});
}

TEST(Process, KeysCompareWithoutRegardToCase)
{
    ExpectResults({"x", "X1"}, {{"&x", 'X'}, {"X&1", '1'}});
    ExpectFailure({"A", "a"});
}

TEST(Process, LaterCaptionPushesEarlierOneOnlyWhenItMust)
{
    // 'ab' would take A, but then 'a' has nothing left.
    ExpectResults({"ab", "a"}, {{"a&b", 'B'}, {"&a", 'A'}});
    ExpectResults({"abc", "ab", "a"}, {{"ab&c", 'C'}, {"a&b", 'B'}, {"&a", 'A'}});
}

TEST(Process, FailsWhenKeysRunShort)
{
    ExpectFailure({"ab", "ba", "ab"});
    ExpectFailure({"..."});
    ExpectFailure({"File", "..."});
    ExpectFailure({"", "Edit"});
}

TEST(Process, SingleCaptionTakesItsLeftmostCandidate)
{
    ExpectResults({"...Zoom in"}, {{"...&Zoom in", 'Z'}});
    ExpectResults({"&&x"}, {{"&&&x", 'X'}});
}

TEST(Process, UsesTheEngineMarker)
{
    const TPassOutcome outcome = RunPass({"A&B", "a"}, '~');
    EXPECT_EQ(outcome.Results, (std::vector<RAccelerated>{{"A&~B", 'B'}, {"~a", 'A'}}));
}

TEST(Process, EmptyListSucceedsWithNothing)
{
    const TPassOutcome outcome = RunPass({});
    EXPECT_EQ(outcome.Error, "");
    EXPECT_TRUE(outcome.Results.empty());
    EXPECT_EQ(outcome.Log, ExpectedLog(0));
}

TEST(Process, FortyThreeCaptionsCanAllSucceed)
{
    const std::string keys = "!$0123456789<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::vector<std::string> captions(keys.size(), keys);
    const TPassOutcome outcome = RunPass(captions);
    ASSERT_EQ(outcome.Error, "");
    ASSERT_EQ(outcome.Results.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(outcome.Results[i].Key, keys[i]);

    std::vector<std::string> tooMany = captions;
    tooMany.push_back(keys);
    EXPECT_EQ(RunPass(tooMany).Error, "Unable to get best captions combination.");
}

TEST(ProcessHost, StagesInOrderBetweenBusyAndIdle)
{
    const TPassOutcome outcome = RunPass({"File", "Edit"});
    EXPECT_EQ(outcome.Log, ExpectedLog(2));
}

TEST(ProcessHost, IdleFollowsBusyAlsoOnFailure)
{
    const TPassOutcome outcome = RunPass({"A", "a"});
    ASSERT_FALSE(outcome.Error.empty());
    EXPECT_EQ(outcome.Log, ExpectedLog(2));
}

TEST(ProcessHost, HopelessLongListStillShowsEveryStage)
{
    const std::vector<std::string> captions(44, "abcdefghijklmnopqrstuvwxyz0123456789");
    const TPassOutcome outcome = RunPass(captions);
    EXPECT_EQ(outcome.Error, "Unable to get best captions combination.");
    ASSERT_FALSE(outcome.Log.empty());
    EXPECT_EQ(outcome.Log.front(), "busy");
    EXPECT_EQ(outcome.Log.back(), "idle");
    std::vector<std::string> stages;
    for (const std::string& line : outcome.Log)
        if (line.rfind("stage ", 0) == 0)
            stages.push_back(line);
    EXPECT_EQ(stages, (std::vector<std::string>{"stage Initializing...",
                                                "stage Finding possible captions...",
                                                "stage Finding best captions combination..."}));
}

TEST(ProcessHost, CaptionReadErrorStillEndsIdle)
{
    TAccEngine engine;
    TRecordingHost host;
    EXPECT_THROW(
        engine.Process(
            1, [](std::size_t) -> const std::string& { throw EQuarnelError("gone"); }, host),
        EQuarnelError);
    ASSERT_FALSE(host.Log.empty());
    EXPECT_EQ(host.Log.back(), "idle");
}

TEST(ProcessBestCombination, EmptiedByEveryPass)
{
    TAccEngine engine;
    ASSERT_EQ(RunPass(engine, {"File", "Edit"}).Error, "");
    EXPECT_EQ(engine.BestCombination().size(), 2u);
    ASSERT_FALSE(RunPass(engine, {"A", "a"}).Error.empty());
    EXPECT_TRUE(engine.BestCombination().empty());
}

TEST(ProcessChain, RebuiltFromScratchByEveryPass)
{
    TAccEngine engine;
    ASSERT_EQ(RunPass(engine, {"File", "Edit", "Format"}).Error, "");
    ASSERT_EQ(RunPass(engine, {"Open", "..."}).Error, "Unable to get best captions combination.");
    // A failed pass leaves its own chain in place.
    std::vector<std::string> captions;
    for (const RPosResultList* node = engine.PosResults(); node; node = node->Next.get())
        captions.push_back(node->PosResult.Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Open", "..."}));
    EXPECT_EQ(engine.PosResultCount(), 2u);
}

} // namespace

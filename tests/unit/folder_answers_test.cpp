// Which answer of a folder test serves, on a fake clock and a fake probe: a
// slow answer serves, a stale one does not, the waits end at their limits.
#include "watch/folder_answers.h"

#include <gtest/gtest.h>

#include "fakes/fake_files.h"
#include "fakes/fake_toolkit.h"

namespace {

const std::string kShare = "\\\\server\\share\\";
const std::string kLocal = "C:\\Jww\\";
constexpr std::uint32_t kLimit = FolderAnswers::kWaitLimitMs;

class FolderAnswersTest : public ::testing::Test {
protected:
    FolderAnswersTest() {
        files.answerLoop = &loop;
        files.PutFolder(kShare);
        files.PutFolder(kLocal);
    }
    std::array<bool, kFolderCount> AtStart(const WatchedFolders& folders) {
        return answers.AtStart(folders, [] { return false; });
    }
    bool AllThere(const WatchedFolders& folders) {
        return answers.AllThere(folders, [] { return false; });
    }
    int Tests(const std::string& path) { return files.testsBegun[FakeFileSystem::Normal(path)]; }

    FakeEventLoop loop;
    FakeFileSystem files;
    FolderAnswers answers{files, loop};
};

TEST_F(FolderAnswersTest, StartWaitsForASlowShareWithMessagesRunning) {
    files.answerDelay[FakeFileSystem::Normal(kShare)] = 1500;
    bool dispatched = false;
    loop.Post([&] { dispatched = true; }, 100);
    const std::uint32_t click = loop.now;
    EXPECT_EQ((std::array<bool, kFolderCount>{true, true, false}), AtStart({kShare, kLocal, ""}));
    EXPECT_TRUE(dispatched);
    EXPECT_GE(loop.now - click, 1500u);
    EXPECT_LT(loop.now - click, kLimit);
}

TEST_F(FolderAnswersTest, StartsWaitEndsAtTheLimitForAllFoldersTogether) {
    files.held.insert(FakeFileSystem::Normal(kShare));
    files.answerDelay[FakeFileSystem::Normal(kLocal)] = 2000;
    const std::uint32_t click = loop.now;
    EXPECT_EQ((std::array<bool, kFolderCount>{false, true, false}), AtStart({kShare, kLocal, ""}));
    EXPECT_GT(loop.now - click, kLimit);
    EXPECT_LT(loop.now - click, kLimit + 50);
}

TEST_F(FolderAnswersTest, StartCountsNoAnswerGivenBeforeTheClickAndJoinsATestUnderWay) {
    EXPECT_TRUE(AtStart({kShare, "", ""})[0]);
    // The share stops answering: the earlier answer does not serve.
    files.held.insert(FakeFileSystem::Normal(kShare));
    EXPECT_FALSE(AtStart({kShare, "", ""})[0]);
    EXPECT_FALSE(AtStart({kShare, "", ""})[0]);
    EXPECT_EQ(2, Tests(kShare)) << "the blocked test is joined, never doubled";
    // A stop ends the wait at once.
    const std::uint32_t click = loop.now;
    EXPECT_FALSE(answers.AtStart({kShare, "", ""}, [] { return true; })[0]);
    EXPECT_LT(loop.now - click, 50u);
}

TEST_F(FolderAnswersTest, AFreshAnswerServesAPassWhileTheNextTestIsUnderWay) {
    // A share that answers each test in 150 ms, looked at every 10 ms.
    files.answerDelay[FakeFileSystem::Normal(kShare)] = 150;
    ASSERT_TRUE(AtStart({kShare, "", ""})[0]);
    int missing = 0;
    for (int pass = 0; pass < 600; ++pass) {
        const std::uint32_t before = loop.now;
        missing += !AllThere({kShare, "", ""});
        EXPECT_LE(loop.now - before, FolderAnswers::kOwnAnswerMs + 10) << "no pass waits for it";
        loop.Pass(10);
        loop.ProcessMessages();
    }
    EXPECT_EQ(0, missing);
    EXPECT_LE(Tests(kShare), 600 / 15 + 2) << "one test at a time";
}

TEST_F(FolderAnswersTest, AFolderThatAnswersAtOnceIsJudgedByThePassesOwnTest) {
    ASSERT_TRUE(AtStart({kLocal, "", ""})[0]);
    loop.Pass(10);
    files.folders.erase(FakeFileSystem::Normal(kLocal));
    EXPECT_FALSE(AllThere({kLocal, "", ""})) << "the answer of 10 ms before does not serve";
}

TEST_F(FolderAnswersTest, AStaleAnswerDoesNotServeAndAPassWaitsNoLongerThanTheTestsLimit) {
    ASSERT_TRUE(AtStart({kShare, "", ""})[0]);
    // A reconnect at a pass five seconds on: waited for.
    files.answerDelay[FakeFileSystem::Normal(kShare)] = 1500;
    loop.Pass(5000);
    EXPECT_TRUE(AllThere({kShare, "", ""}));

    // The share stops answering: missing once its last answer is stale and
    // its test has been out longer than the limit, and never waited for again.
    files.held.insert(FakeFileSystem::Normal(kShare));
    loop.Pass(1000);
    EXPECT_TRUE(AllThere({kShare, "", ""})) << "the last answer is still fresh";
    loop.Pass(2500);
    std::uint32_t before = loop.now;
    EXPECT_FALSE(AllThere({kShare, "", ""}));
    EXPECT_LT(loop.now - before, kLimit) << "waited only until the test's limit";
    loop.Pass(5000);
    before = loop.now;
    EXPECT_FALSE(AllThere({kShare, kLocal, ""}));
    EXPECT_LT(loop.now - before, 50u);
}

}  // namespace

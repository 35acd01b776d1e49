// The watch against its own ports: what a pass reads, compares and writes,
// what it reports, how it survives registry failures and how it ends during
// the wait after a rewrite; the checks before a start.
#include "watch/folder_watch.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_toolkit.h"
#include "util/errors.h"

namespace {

constexpr char kFolderKey[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";
const std::string kJww = "C:\\Jww\\";
const std::string kOther = "C:\\Other\\";
const std::string kZukei = "C:\\Zukei\\";
// D:\ソ: its last byte 0x5C is the second byte of a double-byte character.
const std::string kSo = "D:\\\x83\x5C";

using Reports = std::vector<PassReport>;

class RecordingObserver : public IWatchObserver {
public:
    void OnPassReport(PassReport report) override { reports.push_back(report); }
    Reports reports;
};

class FolderWatchTest : public ::testing::Test {
protected:
    FolderWatchTest() { files.answerLoop = &loop; }
    void TearDown() override { EXPECT_EQ(0, registry.OpenHandles()); }

    // Creates the non-empty folders and starts the watch on them.
    void Start(const std::string& file, const std::string& fileC, const std::string& zukei,
               double interval = 5) {
        for (const std::string* folder : {&file, &fileC, &zukei}) {
            if (!folder->empty()) files.PutFolder(*folder);
        }
        watch.Start({file, fileC, zukei}, interval);
    }
    // One tick of the armed timer, one interval on; what the pass reported.
    Reports Tick() {
        EXPECT_TRUE(timer.armed);
        loop.Pass(timer.interval);
        observer.reports.clear();
        watch.RunPass();
        return observer.reports;
    }
    void Put(const std::string& name, const std::string& text, std::uint32_t type = kRegSz) {
        registry.PutString(kFolderKey, name, text, type);
    }
    void PutNumber(const std::string& name) {
        registry.PutRaw(kFolderKey, name, kRegDword, std::string("\x01\x00\x00\x00", 4));
    }
    // The stored text (up to its zero), or "<none>".
    std::string Stored(const std::string& name) const {
        auto v = registry.Get(kFolderKey, name);
        if (!v) return "<none>";
        return v->data.substr(0, v->data.find('\0'));
    }
    std::uint32_t StoredType(const std::string& name) const {
        auto v = registry.Get(kFolderKey, name);
        return v ? v->type : kRegNone;
    }

    FakeRegistry registry;
    FakeFileSystem files;
    FakeTimer timer;
    FakeEventLoop loop;
    RecordingObserver observer;
    FakeChangeSignal changes;
    FolderWatch watch{registry, files, timer, changes, loop, observer};

    const Reports kEqual{PassReport::Searching, PassReport::Resumed};
    const Reports kRewritten{PassReport::Searching, PassReport::Changed, PassReport::Resumed};
    const Reports kMissing{PassReport::Searching, PassReport::FolderMissing};
};

// ---- Comparison and writing ------------------------------------------------

TEST_F(FolderWatchTest, ValuesEqualUpToLetterCaseAreNotWritten) {
    Put("File", "c:\\JWW");
    Put("FileC", "C:\\other");
    Put("ZUKEI", "c:\\zukei");
    Start(kJww, kOther, kZukei);
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ(0, registry.writes);
    EXPECT_TRUE(timer.armed);
    EXPECT_EQ(5000u, timer.interval);
}

TEST_F(FolderWatchTest, OneDifferingValueWritesEveryWatchedFolderWithoutItsBackslash) {
    Put("File", "C:\\Jww");
    Put("FileC", "C:\\Elsewhere");
    Put("ZUKEI", "C:\\Untouched");
    Start(kJww, kOther, "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(2, registry.writes);
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ("C:\\Other", Stored("FileC"));
    EXPECT_EQ("C:\\Untouched", Stored("ZUKEI"));
    EXPECT_EQ(kEqual, Tick());  // the next pass finds them equal
    EXPECT_EQ(2, registry.writes);
}

TEST_F(FolderWatchTest, ARewriteWaitsHalfASecondWithMessagesRunning) {
    Start(kJww, "", "", 0.01);
    bool dispatched = false;
    bool tickDue = true;
    loop.Post(
        [&] {
            dispatched = true;
            tickDue = timer.armed;
        },
        200);
    const std::uint32_t before = loop.now;
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_TRUE(dispatched);
    EXPECT_FALSE(tickDue);
    EXPECT_GT(loop.now - before, 500u);
    EXPECT_TRUE(timer.armed);
}

TEST_F(FolderWatchTest, AValueStoredWithItsBackslashIsRewrittenOnce) {
    Put("File", "C:\\Jww\\");
    Start(kJww, "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(FolderWatchTest, NoKeyAtAllIsCreatedWithItsSubkeyAndValues) {
    Start(kJww, kOther, kZukei);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_TRUE(registry.HasKey(kFolderKey));
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ("C:\\Other", Stored("FileC"));
    EXPECT_EQ("C:\\Zukei", Stored("ZUKEI"));
    EXPECT_EQ(kRegSz, StoredType("ZUKEI"));
}

TEST_F(FolderWatchTest, OnlyFileCWatchedReadsAllThreeAndWritesOnlyFileC) {
    Put("File", "C:\\X");
    Put("ZUKEI", "C:\\Y");
    Start("", kOther, "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(1, registry.writes);
    EXPECT_EQ("C:\\X", Stored("File"));
    EXPECT_EQ("C:\\Other", Stored("FileC"));
    EXPECT_EQ("C:\\Y", Stored("ZUKEI"));
}

TEST_F(FolderWatchTest, AnEqualExpandableStringIsLeftAsItIs) {
    Put("File", "C:\\Jww", kRegExpandSz);
    Start(kJww, "", "");
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ(kRegExpandSz, StoredType("File"));
}

TEST_F(FolderWatchTest, ANumberValueStopsTheReadAndEveryValueIsRewrittenAsAString) {
    PutNumber("File");
    Put("FileC", "C:\\Other");
    Put("ZUKEI", "C:\\Zukei");
    Start(kJww, kOther, kZukei);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(3, registry.writes);  // nothing read after the failure
    EXPECT_EQ(kRegSz, StoredType("File"));
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

// The values of an earlier pass never stand in for a read that failed: kept,
// they would look equal and the damage would never be repaired.
TEST_F(FolderWatchTest, AFailedReadAfterAnEqualPassStillRewrites) {
    for (const bool numberValue : {false, true}) {
        SCOPED_TRACE(numberValue ? "number value" : "query fails");
        Put("File", "C:\\Jww");
        Put("FileC", "C:\\Other");
        Start(kJww, kOther, "");
        EXPECT_EQ(kEqual, Tick());
        if (numberValue) {
            PutNumber("File");
        } else {
            registry.failQuery.insert("FileC");
        }
        const int writes = registry.writes;
        EXPECT_EQ(kRewritten, Tick());
        EXPECT_EQ(writes + 2, registry.writes);
        EXPECT_EQ("C:\\Jww", Stored("File"));
        EXPECT_EQ(kRegSz, StoredType("File"));
        registry.failQuery.clear();
    }
}

TEST_F(FolderWatchTest, ADriveRootIsWrittenOnceAsDriveAndColon) {
    Start("C:\\", "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:", Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(FolderWatchTest, AFolderWithoutItsBackslashIsWrittenWholeAndThenFoundEqual) {
    Start("C:\\Jww", kSo, "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ(kSo, Stored("FileC"));  // 0x5C as a second byte is no backslash
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(FolderWatchTest, AFolderEndingInADoubleByteCharacterThenBackslashLosesOnlyTheBackslash) {
    Start(kSo + "\\", "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(kSo, Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(FolderWatchTest, UpperCasingNeverFoldsTheSecondByteOfADoubleByteCharacter) {
    // Full-width Q (0x82 0x70) and full-width 1 (0x82 0x50) differ; folding
    // 0x70 on its own as a "p" would make them look alike.
    Put("File", "C:\\\x82\x50");
    Start("C:\\\x82\x70\\", "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\\x82\x70", Stored("File"));
}

// ---- Missing folders and registry failures ---------------------------------

TEST_F(FolderWatchTest, AMissingFolderTouchesNoRegistryAndRepeatsEveryInterval) {
    Put("File", "C:\\Elsewhere");
    Start(kJww, kOther, kZukei);
    files.folders.erase(FakeFileSystem::Normal(kZukei));
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(kMissing, Tick());
        EXPECT_TRUE(timer.armed);
        EXPECT_EQ(5000u, timer.interval);
    }
    EXPECT_EQ(0, registry.creates + registry.opens + registry.queries + registry.writes);
    EXPECT_EQ("C:\\Elsewhere", Stored("File"));

    files.PutFolder(kZukei);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww", Stored("File"));
}

TEST_F(FolderWatchTest, ARefusedWriteReportsNoChangeAndIsRetriedNextPass) {
    Start(kJww, kOther, "");
    registry.writesBeforeRefusal = 1;
    const std::uint32_t before = loop.now;
    EXPECT_EQ(kEqual, Tick());  // no "changed", no wait
    EXPECT_LT(loop.now - before, timer.interval + 500);
    EXPECT_EQ("C:\\Jww", Stored("File"));  // written before the refusal
    EXPECT_EQ("<none>", Stored("FileC"));
    EXPECT_TRUE(timer.armed);

    registry.writesBeforeRefusal = -1;
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Other", Stored("FileC"));
}

TEST_F(FolderWatchTest, AMainKeyThatCannotBeOpenedIsSwallowedAndTheWatchGoesOn) {
    Start(kJww, "", "");
    registry.failCreate = true;
    EXPECT_EQ(kEqual, Tick());  // RunPass throws nothing
    EXPECT_TRUE(timer.armed);
}

TEST_F(FolderWatchTest, AQueryErrorLeavesTheLaterValuesEmptyAndRewrites) {
    Put("File", "C:\\Jww");
    Put("FileC", "C:\\Other");
    Start(kJww, kOther, "");
    registry.failQuery.insert("FileC");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(2, registry.writes);
}

TEST_F(FolderWatchTest, ARefusedTimerAtTheReArmEscapesAndNoTickComes) {
    Put("File", "C:\\Jww");
    Start(kJww, "", "");
    timer.refuse = true;
    const int starts = timer.starts;
    observer.reports.clear();
    EXPECT_THROW(watch.RunPass(), TimerRefused);
    EXPECT_EQ(kEqual, observer.reports);
    EXPECT_FALSE(watch.Running());
    EXPECT_FALSE(changes.listening);
    EXPECT_EQ(starts, timer.starts);
}

// ---- The watch stopped during the 500 ms wait ------------------------------

TEST_F(FolderWatchTest, StopDuringTheWaitEndsTheWatchForGood) {
    Start(kJww, "", "");
    loop.Post([this] { watch.Stop(); }, 100);
    const int starts = timer.starts;
    EXPECT_EQ((Reports{PassReport::Searching, PassReport::Changed}), Tick());
    EXPECT_FALSE(watch.Running());
    EXPECT_FALSE(timer.armed);
    EXPECT_EQ(starts, timer.starts);
}

TEST_F(FolderWatchTest, StopThenStartDuringTheWaitKeepsWatching) {
    Start(kJww, "", "");
    loop.Post([this] { watch.Stop(); }, 100);
    loop.Post([this] { watch.Start({kJww, "", ""}, 2.5); }, 200);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_TRUE(watch.Running());
    EXPECT_TRUE(timer.armed);
    EXPECT_EQ(2500u, timer.interval);
}

TEST_F(FolderWatchTest, ATickAfterStopAndStartDuringTheWaitRunsItsPassAfterTheWait) {
    Start(kJww, "", "");
    loop.Post([this] { watch.Stop(); }, 100);
    loop.Post([this] { watch.Start({kJww, "", ""}, 0.01); }, 200);
    loop.Post([this] { watch.RunPass(); }, 300);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(0u, timer.interval);
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ(10u, timer.interval);
}

TEST_F(FolderWatchTest, AChangeBeforeStopAndStartDuringTheWaitIsDropped) {
    Start(kJww, "", "");
    loop.Post([this] { watch.OnChange(); }, 100);
    loop.Post([this] { watch.Stop(); }, 200);
    loop.Post([this] { watch.Start({kJww, "", ""}, 5); }, 300);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(5000u, timer.interval);
}

// ---- Start and Stop ----------------------------------------------------------

TEST_F(FolderWatchTest, StartArmsTheTimerWithoutAPassAndStopDisarmsIt) {
    EXPECT_FALSE(watch.Running());
    Start(kJww, "", "", 5);
    EXPECT_TRUE(watch.Running());
    EXPECT_TRUE(timer.armed);
    EXPECT_EQ(5000u, timer.interval);
    EXPECT_TRUE(observer.reports.empty());

    watch.Stop();
    EXPECT_FALSE(watch.Running());
    EXPECT_FALSE(timer.armed);
    EXPECT_EQ(0, registry.creates + registry.opens + registry.queries + registry.writes);
}

TEST_F(FolderWatchTest, ARefusedTimerAtStartEscapesAndChangesNothing) {
    timer.refuse = true;
    EXPECT_THROW(Start(kJww, "", ""), TimerRefused);
    EXPECT_FALSE(timer.armed);
    EXPECT_FALSE(watch.Running());
    EXPECT_FALSE(changes.listening);
}

// ---- Changes told by the registry ------------------------------------------

TEST_F(FolderWatchTest, AChangeRunsAPassAtOnceAndOneDuringAPassWaitsForItsEnd) {
    Put("File", "C:\\Elsewhere");
    Start(kJww, "", "");
    EXPECT_EQ(kFolderKey, changes.keyPath);
    EXPECT_TRUE(changes.listening);

    // Changes during the wait after the rewrite (the pass's own write among
    // them) start no pass inside it.
    int nested = 0;
    loop.Post(
        [this, &nested] {
            const int writes = registry.writes;
            watch.OnChange();
            watch.OnChange();
            nested += registry.writes - writes + static_cast<int>(observer.reports.size()) - 2;
        },
        100);
    observer.reports.clear();
    watch.OnChange();
    EXPECT_EQ(kRewritten, observer.reports);
    EXPECT_EQ(0, nested);
    // Then one more pass as soon as the loop is back; it finds the values
    // equal and re-arms the interval.
    EXPECT_EQ(0u, timer.interval);
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ(5000u, timer.interval);

    // After a pass, as notices come, a change runs its pass at once.
    observer.reports.clear();
    watch.OnChange();
    EXPECT_EQ(kEqual, observer.reports);
}

TEST_F(FolderWatchTest, AChangeWhileAFolderIsMissingOrAfterStopWritesNothing) {
    Start(kJww, kOther, "");
    files.folders.erase(FakeFileSystem::Normal(kOther));
    observer.reports.clear();
    watch.OnChange();
    EXPECT_EQ((Reports{PassReport::Searching, PassReport::FolderMissing}), observer.reports);
    EXPECT_EQ(0, registry.opens + registry.creates + registry.writes);

    // A change already signalled when Stop came is dropped.
    watch.Stop();
    EXPECT_FALSE(changes.listening);
    observer.reports.clear();
    watch.OnChange();
    EXPECT_TRUE(observer.reports.empty());
    EXPECT_FALSE(timer.armed);
}

TEST_F(FolderWatchTest, WithoutANotificationEachPassTriesAgain) {
    changes.available = false;
    Start(kJww, "", "");
    const int arms = changes.arms;
    changes.available = true;
    Tick();
    EXPECT_EQ(arms + 1, changes.arms);
    EXPECT_TRUE(changes.listening);
}

TEST_F(FolderWatchTest, TheReArmRoundsTheIntervalLikeStart) {
    Start(kJww, "", "", 0.1875);  // 187.5 ms: a tie, to the even neighbour
    EXPECT_EQ(188u, timer.interval);
    Tick();
    EXPECT_EQ(188u, timer.interval);
}

// ---- The checks before a start ---------------------------------------------

TEST_F(FolderWatchTest, CheckStartNamesTheFirstProblemInItsOrder) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const FolderNamesExact exact = {true, true, true};
    // No folder comes before a bad interval.
    StartCheck c = watch.CheckStart({"", "", ""}, exact, -5);
    EXPECT_EQ(StartProblem::NoFolder, c.problem);
    // Only the first missing folder is named, before a bad interval.
    c = watch.CheckStart({"", "C:\\Missing1\\", "C:\\Missing2\\"}, exact, nan);
    EXPECT_EQ(StartProblem::FolderMissing, c.problem);
    EXPECT_EQ(1u, c.folder);
    files.PutFolder(kJww);
    c = watch.CheckStart({kJww, "", "C:\\Missing\\"}, exact, 5);
    EXPECT_EQ(StartProblem::FolderMissing, c.problem);
    EXPECT_EQ(2u, c.folder);
    // Field by field, a name that is not exact comes before the test of its
    // folder and after the fields before it.
    c = watch.CheckStart({kJww, "C:\\Missing\\", kJww}, {true, true, false}, 5);
    EXPECT_EQ(StartProblem::FolderMissing, c.problem);
    EXPECT_EQ(1u, c.folder);
    c = watch.CheckStart({"", "C:\\Missing\\", "C:\\Missing\\"}, {true, false, true}, nan);
    EXPECT_EQ(StartProblem::FolderName, c.problem);
    EXPECT_EQ(1u, c.folder);
    // An empty field's name is never looked at.
    c = watch.CheckStart({"", kJww, ""}, {false, true, false}, 5);
    EXPECT_EQ(StartProblem::None, c.problem);
    // Folders that exist leave the interval.
    EXPECT_EQ(StartProblem::IntervalOutOfRange, watch.CheckStart({kJww, "", ""}, exact, 0).problem);
    EXPECT_EQ(StartProblem::None, watch.CheckStart({kJww, "", ""}, exact, 5).problem);
    EXPECT_FALSE(timer.armed);
    EXPECT_FALSE(watch.Running());
}

}  // namespace

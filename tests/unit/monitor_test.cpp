// Start, Stop and the monitoring pass against the test doubles: what is read,
// compared and written, the status texts a user sees, and how the watch ends.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/texts.h"
#include "fakes/form_fixture.h"
#include "watch/interval.h"

namespace {

constexpr char kFolderKey[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";
const std::string kJww = "C:\\Jww\\";
const std::string kOther = "C:\\Other\\";
const std::string kZukei = "C:\\Zukei\\";
// D:\ソ: its last byte 0x5C is the second byte of a double-byte character.
const std::string kSo = "D:\\\x83\x5C";

using Texts = std::vector<std::string>;

class WatchTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, f.registry.OpenHandles()); }

    // Types the fields, creates the non-empty folders and clicks Start.
    void Start(const std::string& file, const std::string& fileC, const std::string& zukei,
               const std::string& interval = "5") {
        for (const std::string* folder : {&file, &fileC, &zukei}) {
            if (!folder->empty()) f.files.PutFolder(*folder);
        }
        TypeAndStart(file, fileC, zukei, interval);
    }
    void TypeAndStart(const std::string& file, const std::string& fileC, const std::string& zukei,
                      const std::string& interval = "5") {
        f.edit1.text = file;
        f.edit2.text = fileC;
        f.edit3.text = zukei;
        f.edit4.text = interval;
        f.Run([this] { f.form.Button4Click(); });
    }
    // One tick of the armed timer; the status texts it showed.
    Texts Tick() {
        EXPECT_TRUE(f.timer.Armed());
        f.status.shown.clear();
        f.Run([this] { f.form.Timer1Timer(); });
        return f.status.shown;
    }
    void Put(const std::string& name, const std::string& text, std::uint32_t type = kRegSz) {
        f.registry.PutString(kFolderKey, name, text, type);
    }
    // The stored text (up to its zero), or "<none>".
    std::string Stored(const std::string& name) const {
        auto v = f.registry.Get(kFolderKey, name);
        if (!v) return "<none>";
        return v->data.substr(0, v->data.find('\0'));
    }
    std::uint32_t StoredType(const std::string& name) const {
        auto v = f.registry.Get(kFolderKey, name);
        return v ? v->type : kRegNone;
    }
    void ClickDuringWait(void (TForm1::*handler)(), std::uint32_t afterMs = 100) {
        f.app.Post([this, handler] { f.Run([this, handler] { (f.form.*handler)(); }); }, afterMs);
    }
    bool Locked() const {
        return !f.edit1.enabled && !f.edit2.enabled && !f.edit3.enabled && !f.edit4.enabled &&
               !f.button1.enabled && !f.button2.enabled && !f.button3.enabled &&
               !f.button4.enabled && f.button5.enabled;
    }
    bool Unlocked() const {
        return f.edit1.enabled && f.edit2.enabled && f.edit3.enabled && f.edit4.enabled &&
               f.button1.enabled && f.button2.enabled && f.button3.enabled && f.button4.enabled &&
               !f.button5.enabled;
    }

    FakeForm f;
    const Texts kEqual{texts::kStatusSearching, texts::kStatusResumed};
    const Texts kRewritten{texts::kStatusSearching, texts::kStatusChanged, texts::kStatusResumed};
    const Texts kMissing{texts::kStatusSearching, texts::kStatusFolderMissing};
};

// ---- The pass: comparison and writing -------------------------------------

TEST_F(WatchTest, ValuesEqualUpToLetterCaseAreNotWritten) {
    Put("File", "c:\\JWW");
    Put("FileC", "C:\\other");
    Put("ZUKEI", "c:\\zukei");
    Start(kJww, kOther, kZukei);
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ(0, f.registry.writes);
    EXPECT_EQ("c:\\JWW\\", f.form.RegFile);
    EXPECT_EQ("C:\\other\\", f.form.RegFileC);
    EXPECT_EQ("c:\\zukei\\", f.form.RegZukei);
    EXPECT_TRUE(f.timer.Armed());
    EXPECT_EQ(5000u, f.timer.interval);
}

TEST_F(WatchTest, OneDifferingValueWritesEveryConfiguredFolderWithoutItsBackslash) {
    Put("File", "C:\\Jww");
    Put("FileC", "C:\\Elsewhere");
    Put("ZUKEI", "C:\\Untouched");
    Start(kJww, kOther, "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(2, f.registry.writes);
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ("C:\\Other", Stored("FileC"));
    EXPECT_EQ("C:\\Untouched", Stored("ZUKEI"));
    EXPECT_EQ(kEqual, Tick());  // the next pass finds them equal
    EXPECT_EQ(2, f.registry.writes);
}

TEST_F(WatchTest, ARewriteWaitsHalfASecondWithMessagesRunning) {
    Start(kJww, "", "");
    bool dispatched = false;
    f.app.Post([&] { dispatched = true; }, 200);
    const std::uint32_t before = f.app.now;
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_TRUE(dispatched);
    EXPECT_GT(f.app.now - before, 500u);
    EXPECT_TRUE(f.timer.Armed());
}

TEST_F(WatchTest, AValueStoredWithItsBackslashIsRewrittenOnce) {
    Put("File", "C:\\Jww\\");
    Start(kJww, "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(WatchTest, NoKeyAtAllIsCreatedWithItsSubkeyAndValues) {
    Start(kJww, kOther, kZukei);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("\\", f.form.RegFile);
    EXPECT_TRUE(f.registry.HasKey(kFolderKey));
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ("C:\\Other", Stored("FileC"));
    EXPECT_EQ("C:\\Zukei", Stored("ZUKEI"));
    EXPECT_EQ(kRegSz, StoredType("ZUKEI"));
}

TEST_F(WatchTest, OnlyFileCConfiguredReadsAllThreeAndWritesOnlyFileC) {
    Put("File", "C:\\X");
    Put("ZUKEI", "C:\\Y");
    Start("", kOther, "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\X\\", f.form.RegFile);
    EXPECT_EQ("\\", f.form.RegFileC);
    EXPECT_EQ("C:\\Y\\", f.form.RegZukei);
    EXPECT_EQ(1, f.registry.writes);
    EXPECT_EQ("C:\\X", Stored("File"));
    EXPECT_EQ("C:\\Other", Stored("FileC"));
    EXPECT_EQ("C:\\Y", Stored("ZUKEI"));
}

TEST_F(WatchTest, AnEqualExpandableStringIsLeftAsItIs) {
    Put("File", "C:\\Jww", kRegExpandSz);
    Start(kJww, "", "");
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ(kRegExpandSz, StoredType("File"));
}

TEST_F(WatchTest, ANumberValueStopsTheReadAndEveryValueIsRewrittenAsAString) {
    f.registry.PutRaw(kFolderKey, "File", kRegDword, std::string("\x01\x00\x00\x00", 4));
    Put("FileC", "C:\\Other");
    Put("ZUKEI", "C:\\Zukei");
    Start(kJww, kOther, kZukei);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("", f.form.RegFile);
    EXPECT_EQ("", f.form.RegFileC);  // not read after the failure
    EXPECT_EQ("", f.form.RegZukei);
    EXPECT_EQ(3, f.registry.writes);
    EXPECT_EQ(kRegSz, StoredType("File"));
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(WatchTest, ADriveRootIsWrittenOnceAsDriveAndColon) {
    Start("C:\\", "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:", Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(WatchTest, AFolderTypedWithoutItsBackslashIsWrittenWholeAndThenFoundEqual) {
    Start("C:\\Jww", kSo, "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww", Stored("File"));
    EXPECT_EQ(kSo, Stored("FileC"));  // 0x5C as a second byte is no backslash
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ("C:\\Jww", f.form.FileFolder);  // the field keeps what was typed
}

TEST_F(WatchTest, AFolderEndingInADoubleByteCharacterThenBackslashLosesOnlyTheBackslash) {
    Start(kSo + "\\", "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ(kSo, Stored("File"));
    EXPECT_EQ(kEqual, Tick());
}

TEST_F(WatchTest, UpperCasingNeverFoldsTheSecondByteOfADoubleByteCharacter) {
    // Full-width Q (0x82 0x70) and full-width 1 (0x82 0x50) differ; folding
    // 0x70 on its own as a "p" would make them look alike.
    Put("File", "C:\\\x82\x50");
    Start("C:\\\x82\x70\\", "", "");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\\x82\x70", Stored("File"));
}

// ---- The pass: missing folders and registry failures ----------------------

TEST_F(WatchTest, AMissingFolderWritesNothingAndRepeatsEveryInterval) {
    Put("File", "C:\\Elsewhere");
    Start(kJww, kOther, kZukei);
    f.files.folders.erase(FakeFileSystem::Normal(kZukei));
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(kMissing, Tick());
        EXPECT_TRUE(f.timer.Armed());
        EXPECT_EQ(5000u, f.timer.interval);
    }
    EXPECT_EQ(0, f.registry.creates + f.registry.opens + f.registry.queries + f.registry.writes);
    EXPECT_EQ("C:\\Elsewhere", Stored("File"));

    f.files.PutFolder(kZukei);
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww", Stored("File"));
}

TEST_F(WatchTest, ARefusedWriteShowsNoChangeAndIsRetriedNextPass) {
    Start(kJww, kOther, "");
    f.registry.writesBeforeRefusal = 1;
    EXPECT_EQ(kEqual, Tick());  // no "changed", no wait
    EXPECT_EQ(0, f.app.pumps);
    EXPECT_EQ("C:\\Jww", Stored("File"));  // written before the refusal
    EXPECT_EQ("<none>", Stored("FileC"));
    EXPECT_TRUE(f.timer.Armed());

    f.registry.writesBeforeRefusal = -1;
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Other", Stored("FileC"));
}

TEST_F(WatchTest, AMainKeyThatCannotBeOpenedIsSwallowedAndTheWatchGoesOn) {
    Start(kJww, "", "");
    f.registry.failCreate = true;
    EXPECT_EQ(kEqual, Tick());
    EXPECT_EQ("", f.form.RegFile);
    EXPECT_TRUE(f.boxes.appErrors.empty());
    EXPECT_TRUE(f.timer.Armed());
}

TEST_F(WatchTest, AQueryErrorLeavesTheLaterFieldsEmptyAndRewrites) {
    Put("File", "C:\\Jww");
    Put("FileC", "C:\\Other");
    Start(kJww, kOther, "");
    f.registry.failQuery.insert("FileC");
    EXPECT_EQ(kRewritten, Tick());
    EXPECT_EQ("C:\\Jww\\", f.form.RegFile);
    EXPECT_EQ("", f.form.RegFileC);
    EXPECT_EQ("", f.form.RegZukei);
}

TEST_F(WatchTest, ARefusedTimerAtTheReArmReachesTheApplicationsErrorBox) {
    Put("File", "C:\\Jww");
    Start(kJww, "", "");
    f.timer.refuse = true;
    const int starts = f.timer.starts;
    EXPECT_EQ(kEqual, Tick());
    ASSERT_EQ(1u, f.boxes.appErrors.size());
    EXPECT_EQ(std::string(texts::kMsgNoTimer) + ".", f.boxes.appErrors[0]);
    EXPECT_EQ(starts, f.timer.starts);  // no tick comes any more
}

// ---- The pass: the watch ended during the 500 ms wait ---------------------

TEST_F(WatchTest, StopDuringTheWaitEndsTheWatchForGood) {
    Start(kJww, "", "");
    ClickDuringWait(&TForm1::Button5Click);
    const int starts = f.timer.starts;
    const Texts shown = Tick();
    EXPECT_EQ((Texts{texts::kStatusSearching, texts::kStatusChanged, texts::kStatusStopped}),
              shown);
    EXPECT_EQ(texts::kStatusStopped, f.status.text);
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(0u, f.timer.interval);
    EXPECT_EQ(starts, f.timer.starts);
    EXPECT_TRUE(Unlocked());
}

TEST_F(WatchTest, ExitDuringTheWaitEndsTheWatchAndTheApplication) {
    Start(kJww, "", "");
    ClickDuringWait(&TForm1::Button6Click);
    const int starts = f.timer.starts;
    Tick();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ(1, f.window.closeRequests);
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_EQ(starts, f.timer.starts);
    EXPECT_NE(texts::kStatusResumed, f.status.text);
}

TEST_F(WatchTest, TheWindowsCloseDuringTheWaitEndsTheWatch) {
    Start(kJww, "", "");
    f.app.Post([this] { f.window.Close(); }, 100);
    const int starts = f.timer.starts;
    Tick();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_EQ(starts, f.timer.starts);
}

TEST_F(WatchTest, StopThenStartDuringTheWaitKeepsWatching) {
    Start(kJww, "", "");
    ClickDuringWait(&TForm1::Button5Click, 100);
    f.edit4.text = "2.5";
    ClickDuringWait(&TForm1::Button4Click, 200);
    EXPECT_EQ(kRewritten.back(), Tick().back());
    EXPECT_TRUE(f.timer.Armed());
    EXPECT_EQ(2500u, f.timer.interval);
    EXPECT_TRUE(Locked());
}

// ---- Start and Stop -------------------------------------------------------

TEST_F(WatchTest, StartLocksTheInputsAndArmsTheTimerWithoutAPass) {
    Start(kJww, "", "", "5");
    EXPECT_TRUE(Locked());
    EXPECT_EQ(Texts{texts::kStatusStarted}, f.status.shown);
    EXPECT_TRUE(f.timer.Armed());
    EXPECT_EQ(5000u, f.timer.interval);
    EXPECT_EQ(0, f.registry.creates);
    EXPECT_TRUE(f.boxes.errors.empty());
}

TEST_F(WatchTest, StopUnlocksDisarmsAndLeavesTheRegistryAlone) {
    Start(kJww, "", "");
    f.Run([this] { f.form.Button5Click(); });
    EXPECT_TRUE(Unlocked());
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(0u, f.timer.interval);
    EXPECT_EQ(texts::kStatusStopped, f.status.text);
    EXPECT_EQ(0, f.registry.creates);
    EXPECT_EQ(kJww, f.form.FileFolder);
}

TEST_F(WatchTest, StartAndStopHandTheFocusBetweenEachOtherNeverToExit) {
    // Start from its own button: the focus goes to Stop, and back on Stop.
    f.button4.SetFocus();
    Start(kJww, "", "");
    EXPECT_TRUE(f.button5.HasFocus());
    f.Run([this] { f.form.Button5Click(); });
    EXPECT_TRUE(f.button4.HasFocus());
    f.Run([this] { f.form.Button5Click(); });
    EXPECT_TRUE(f.button4.HasFocus()) << "Stop without the focus leaves it alone";

    // An input about to be locked gives the focus to Stop too (Alt+S).
    for (IEdit* edit : {&f.edit2, &f.edit4}) {
        edit->SetFocus();
        f.Run([this] { f.form.Button4Click(); });
        EXPECT_TRUE(f.button5.HasFocus());
        f.Run([this] { f.form.Button5Click(); });
    }
    // A control that stays enabled keeps the focus through both.
    f.button6.SetFocus();
    f.Run([this] { f.form.Button4Click(); });
    ASSERT_TRUE(Locked());
    EXPECT_TRUE(f.button6.HasFocus());
    f.Run([this] { f.form.Button5Click(); });
    EXPECT_TRUE(f.button6.HasFocus());
}

TEST_F(WatchTest, AllFoldersBlankEmptiesTheFieldsAndAsksForAFolder) {
    TypeAndStart("  ", "\t\r\n", "\x81\x40 ");  // spaces, controls, a full-width space
    EXPECT_EQ(Texts{texts::kErrorNoFolder}, f.boxes.errors);
    EXPECT_EQ(&f.edit1, f.Focused());
    EXPECT_EQ("", f.edit1.text);
    EXPECT_EQ("", f.edit2.text);
    EXPECT_EQ("", f.edit3.text);
    EXPECT_EQ("", f.form.ZukeiFolder);
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_TRUE(f.edit1.enabled && f.button4.enabled);
}

TEST_F(WatchTest, AFolderWithRealCharactersKeepsItsBlanks) {
    f.files.PutFolder(" C:\\My Data\\");
    TypeAndStart(" C:\\My Data\\", " ", "");
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_EQ(" C:\\My Data\\", f.form.FileFolder);
    EXPECT_EQ(" C:\\My Data\\", f.edit1.text);
    EXPECT_EQ("", f.form.FileCFolder);
    EXPECT_EQ("", f.edit2.text);
}

TEST_F(WatchTest, OnlyTheFirstMissingFolderIsReportedWithItsFocus) {
    TypeAndStart("", "C:\\Missing1\\", "C:\\Missing2\\");
    EXPECT_EQ(Texts{texts::kErrorFolderMissing}, f.boxes.errors);
    EXPECT_EQ(&f.edit2, f.Focused());
    EXPECT_FALSE(f.timer.Armed());
    EXPECT_EQ("C:\\Missing1\\", f.form.FileCFolder);  // the copies stay
}

TEST_F(WatchTest, TheIntervalRangeIsInclusiveAndChecksLast) {
    struct Case {
        const char* text;
        bool accepted;
        std::uint32_t ms;
    };
    for (const Case& c :
         {Case{"0.01", true, 10}, Case{"3600", true, 3600000}, Case{"0.0099", false, 0},
          Case{"3600.5", false, 0}, Case{"abc", false, 0}, Case{"", false, 0}, Case{"-5", false, 0},
          Case{"2.5", true, 2500}, Case{"0.0625", true, 62}, Case{"0.1875", true, 188}}) {
        FakeForm g;
        g.files.PutFolder(kJww);
        g.edit1.text = kJww;
        g.edit4.text = c.text;
        g.Run([&g] { g.form.Button4Click(); });
        if (c.accepted) {
            EXPECT_TRUE(g.boxes.errors.empty()) << c.text;
            EXPECT_TRUE(g.timer.Armed()) << c.text;
            EXPECT_EQ(c.ms, g.timer.interval) << c.text;
        } else {
            EXPECT_EQ(Texts{texts::kErrorInterval}, g.boxes.errors) << c.text;
            EXPECT_EQ(&g.edit4, g.Focused()) << c.text;
            EXPECT_FALSE(g.timer.enabled) << c.text;
            EXPECT_TRUE(g.edit4.enabled && g.button4.enabled) << c.text;
        }
    }
}

TEST_F(WatchTest, AFolderErrorComesBeforeAnIntervalError) {
    TypeAndStart("C:\\Missing\\", "", "", "abc");
    EXPECT_EQ(Texts{texts::kErrorFolderMissing}, f.boxes.errors);
    EXPECT_EQ(&f.edit1, f.Focused());
}

TEST_F(WatchTest, AnOverflowingIntervalEscapesToTheApplicationsErrorBox) {
    f.files.PutFolder(kJww);
    TypeAndStart(kJww, "", "", "1e400");
    ASSERT_EQ(1u, f.boxes.appErrors.size());
    EXPECT_EQ(std::string(texts::kMsgOverflow) + ".", f.boxes.appErrors[0]);
    EXPECT_EQ(kJww, f.form.FileFolder);  // copied before the conversion failed
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_EQ(Texts{}, f.status.shown);
    EXPECT_TRUE(f.edit1.enabled && f.edit4.enabled && f.button4.enabled);
}

TEST_F(WatchTest, ARefusedTimerAtStartIsShownAfterTheInputsAreLocked) {
    f.timer.refuse = true;
    Start(kJww, "", "");
    ASSERT_EQ(1u, f.boxes.appErrors.size());
    EXPECT_EQ(std::string(texts::kMsgNoTimer) + ".", f.boxes.appErrors[0]);
    EXPECT_TRUE(Locked());
}

TEST_F(WatchTest, TheReArmRoundsTheIntervalLikeStart) {
    Start(kJww, "", "", "0.0625");
    EXPECT_EQ(62u, f.timer.interval);
    f.form.IntervalSec = 0.1875;
    Tick();
    EXPECT_EQ(188u, f.timer.interval);
}

// ---- The interval helpers -------------------------------------------------

TEST(IntervalTest, MillisecondsAreRoundedOnceFromTheExactProduct) {
    // Exact ties go to the even neighbour.
    EXPECT_EQ(62u, IntervalMilliseconds(0.0625));
    EXPECT_EQ(188u, IntervalMilliseconds(0.1875));
    EXPECT_EQ(2500u, IntervalMilliseconds(2.5));
    EXPECT_EQ(10u, IntervalMilliseconds(0.01));
    EXPECT_EQ(3600000u, IntervalMilliseconds(3600.0));
    // Doubles whose product rounds to an exact .5 but lies beside it:
    // rounding that rounded product again would give the other neighbour.
    EXPECT_EQ(2501u, IntervalMilliseconds(2.5005));  // 2500.50000000000016...
    EXPECT_EQ(13u, IntervalMilliseconds(0.0125));    // 12.50000000000000069...
    EXPECT_EQ(11u, IntervalMilliseconds(0.0105));    // 10.50000000000000065...
    EXPECT_EQ(13u, IntervalMilliseconds(0.0135));    // 13.49999999999999984...
    EXPECT_EQ(7003u, IntervalMilliseconds(7.0035));  // 7003.49999999999983...
    EXPECT_EQ(0u, IntervalMilliseconds(-1.0));
    EXPECT_EQ(0u, IntervalMilliseconds(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(4294967295u, IntervalMilliseconds(1e300));
}

TEST(IntervalTest, RangeBoundsAreTheDecimalsThemselves) {
    EXPECT_TRUE(IntervalInRange(0.01));
    EXPECT_FALSE(IntervalInRange(std::nextafter(0.01, 0.0)));
    EXPECT_FALSE(IntervalInRange(0.0099));
    EXPECT_TRUE(IntervalInRange(3600.0));
    EXPECT_FALSE(IntervalInRange(std::nextafter(3600.0, 4000.0)));
    EXPECT_FALSE(IntervalInRange(0.0));
    EXPECT_FALSE(IntervalInRange(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(IntervalInRange(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace

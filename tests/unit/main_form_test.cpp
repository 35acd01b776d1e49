// The main form's sequencing over test doubles of every port: the settings
// into the controls at show and out of them at close, start and stop with
// their error boxes, focus and locks, the status line for each pass, and the
// browse buttons. The rules behind it are tested with the units that own them.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/texts.h"
#include "fakes/main_form_fixture.h"

namespace {

constexpr wchar_t kDat[] = L"C:\\Tools\\Dirmind.dat";
constexpr char kFolderKey[] = "SOFTWARE\\Jw_cad\\jw_win\\Folder";
const std::string kJww = "C:\\Jww\\";
const std::string kSpace = texts::kFullWidthSpace;

using Texts = std::vector<std::string>;

std::string Dat(const std::string& left, const std::string& top, const std::string& file,
                const std::string& interval, const std::string& autoStart,
                const std::string& minimised) {
    return left + "\r\n" + top + "\r\n" + file + "\r\n\r\n\r\n" + interval + "\r\n" + autoStart +
           "\r\n" + minimised + "\r\n";
}

class MainFormTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, f.registry.OpenHandles()); }

    void Show() {
        f.Run([this] { f.form.OnShown(); });
    }
    void Click(void (MainForm::*handler)()) {
        f.Run([this, handler] { (f.form.*handler)(); });
    }
    // Types the fields and clicks Start.
    void TypeAndStart(const std::string& file, const std::string& fileC = "",
                      const std::string& zukei = "", const std::string& interval = "5") {
        f.jwwField.text = file;
        f.otherField.text = fileC;
        f.figureField.text = zukei;
        f.intervalField.text = interval;
        Click(&MainForm::OnStart);
    }
    // One tick of the armed timer, one interval on; the status texts it
    // showed.
    Texts Tick() {
        EXPECT_TRUE(f.timer.armed);
        f.loop.Pass(f.timer.interval);
        f.status.shown.clear();
        f.Run([this] { f.form.OnWatchTick(); });
        return f.status.shown;
    }
    void Browse(std::size_t row) {
        f.Run([this, row] { f.form.OnBrowse(row); });
    }
    // The folder the dialog is asked to open in when the JWW field holds text.
    std::string InitialFolderFor(const std::string& text) {
        f.jwwField.text = text;
        f.dialog.initialFoldersSeen.clear();
        Browse(0);
        EXPECT_EQ(1u, f.dialog.initialFoldersSeen.size());
        return f.dialog.initialFoldersSeen.empty() ? std::string("<no run>")
                                                   : f.dialog.initialFoldersSeen.back();
    }
    bool Locked() const {
        return !f.jwwField.enabled && !f.otherField.enabled && !f.figureField.enabled &&
               !f.intervalField.enabled && !f.jwwBrowse.enabled && !f.otherBrowse.enabled &&
               !f.figureBrowse.enabled && !f.startButton.enabled && f.stopButton.enabled;
    }
    bool Unlocked() const {
        return f.jwwField.enabled && f.otherField.enabled && f.figureField.enabled &&
               f.intervalField.enabled && f.jwwBrowse.enabled && f.otherBrowse.enabled &&
               f.figureBrowse.enabled && f.startButton.enabled && !f.stopButton.enabled;
    }

    FakeMainForm f;
};

// ---- Start and Stop ----------------------------------------------------------

TEST_F(MainFormTest, StartLocksTheInputsAndStopUnlocksThem) {
    f.files.PutFolder(kJww);
    TypeAndStart(kJww);
    EXPECT_TRUE(Locked());
    EXPECT_EQ(Texts{texts::kStatusStarted}, f.status.shown);
    EXPECT_TRUE(f.timer.armed);
    EXPECT_EQ(5000u, f.timer.interval);
    EXPECT_TRUE(f.boxes.errors.empty());

    Click(&MainForm::OnStop);
    EXPECT_TRUE(Unlocked());
    EXPECT_FALSE(f.timer.armed);
    EXPECT_EQ(texts::kStatusStopped, f.status.text);
    EXPECT_EQ(kJww, f.jwwField.text);
    EXPECT_EQ(0, f.registry.creates);
}

// A share that answers in 1.5 s: accepted at the first click; meanwhile
// Start and the inputs are locked, Stop too, and the pointer is busy.
TEST_F(MainFormTest, StartWaitsForASlowShareWithTheInputsLockedAndTheBusyPointer) {
    const std::string share = "\\\\server\\share\\";
    f.files.PutFolder(share);
    f.files.answerDelay[FakeFileSystem::Normal(share)] = 1500;
    Show();
    bool lockedMeanwhile = false;
    f.loop.Post(
        [this, &lockedMeanwhile] {
            lockedMeanwhile = !f.startButton.enabled && !f.jwwField.enabled &&
                              !f.intervalField.enabled && !f.stopButton.enabled && f.window.busy;
        },
        100);
    f.startButton.Focus();
    TypeAndStart(share);
    EXPECT_TRUE(lockedMeanwhile);
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_TRUE(Locked());
    EXPECT_FALSE(f.window.busy);
    EXPECT_TRUE(f.stopButton.HasFocus());
}

// A close during the wait (Exit, the close box, one from outside) saves the
// settings, and nothing is shown or started afterwards.
TEST_F(MainFormTest, ACloseDuringStartsWaitSavesAndStartsNothing) {
    const std::string share = "\\\\server\\share\\";
    f.files.held.insert(FakeFileSystem::Normal(share));
    Show();
    // Exit, which closes as the close box and a close from outside do.
    f.loop.Post([this] { Click(&MainForm::OnExit); }, 100);
    TypeAndStart(share);
    EXPECT_TRUE(f.app.terminated);
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_FALSE(f.timer.armed);
    EXPECT_LT(f.loop.now, 1000u) << "the wait ended with the close";
    ASSERT_TRUE(f.files.Content(kDat).has_value());
    EXPECT_NE(std::string::npos, f.files.Content(kDat)->find(share));
}

TEST_F(MainFormTest, StartAndStopHandTheFocusBetweenEachOtherNeverToExit) {
    f.files.PutFolder(kJww);
    f.jwwField.text = kJww;
    f.intervalField.text = "5";
    // From the start button itself, and from inputs about to be locked (Alt+S).
    for (IControl* from : std::initializer_list<IControl*>{&f.startButton, &f.otherField,
                                                           &f.intervalField, &f.jwwBrowse}) {
        from->Focus();
        Click(&MainForm::OnStart);
        EXPECT_TRUE(f.stopButton.HasFocus());
        Click(&MainForm::OnStop);
        EXPECT_TRUE(f.startButton.HasFocus());
    }
    // A control that stays enabled (a check box, Exit) keeps the focus.
    f.focused = &f.autoStartBox;
    Click(&MainForm::OnStart);
    ASSERT_TRUE(Locked());
    Click(&MainForm::OnStop);
    EXPECT_EQ(&f.autoStartBox, f.focused);
}

TEST_F(MainFormTest, EachStartProblemHasItsBoxAndItsFocus) {
    struct Case {
        const char* name;
        std::array<const char*, 3> folders;
        const char* interval;
        const char* error;
        const FakeEdit FakeMainForm::*focus;
    };
    for (const Case& c : {
             Case{"no folder", {"", "", ""}, "abc", texts::kErrorNoFolder, &FakeMainForm::jwwField},
             Case{"first missing folder",
                  {"", "C:\\Missing1\\", "C:\\Missing2\\"},
                  "5",
                  texts::kErrorFolderMissing,
                  &FakeMainForm::otherField},
             Case{"interval",
                  {"C:\\Jww\\", "", ""},
                  "3600.5",
                  texts::kErrorInterval,
                  &FakeMainForm::intervalField},
             Case{"unreadable interval",
                  {"C:\\Jww\\", "", ""},
                  "abc",
                  texts::kErrorInterval,
                  &FakeMainForm::intervalField},
         }) {
        SCOPED_TRACE(c.name);
        FakeMainForm g;
        g.files.PutFolder(kJww);
        g.jwwField.text = c.folders[0];
        g.otherField.text = c.folders[1];
        g.figureField.text = c.folders[2];
        g.intervalField.text = c.interval;
        g.Run([&g] { g.form.OnStart(); });
        EXPECT_EQ(Texts{c.error}, g.boxes.errors);
        EXPECT_EQ(&(g.*c.focus), g.Focused());
        EXPECT_FALSE(g.timer.armed);
        EXPECT_TRUE(g.status.shown.empty());
        EXPECT_TRUE(g.jwwField.enabled && g.intervalField.enabled && g.startButton.enabled);
        EXPECT_EQ(c.folders[1], g.otherField.text);  // the fields keep what was typed
    }
}

TEST_F(MainFormTest, BlankFieldsAreEmptiedAndFieldsWithTextKeepTheirBlanks) {
    TypeAndStart("  ", "\t\r\n", "\x81\x40 ");  // spaces, controls, a full-width space
    EXPECT_EQ(Texts{texts::kErrorNoFolder}, f.boxes.errors);
    EXPECT_EQ("", f.jwwField.text);
    EXPECT_EQ("", f.otherField.text);
    EXPECT_EQ("", f.figureField.text);

    // The folder is watched as typed; the blank field is not watched.
    f.boxes.errors.clear();
    f.files.PutFolder(" C:\\My Data\\");
    TypeAndStart(" C:\\My Data\\", " ");
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_EQ(" C:\\My Data\\", f.jwwField.text);
    EXPECT_EQ("", f.otherField.text);
    EXPECT_EQ((Texts{texts::kStatusSearching, texts::kStatusChanged, texts::kStatusResumed}),
              Tick());
    EXPECT_EQ(std::string(" C:\\My Data") + '\0', f.registry.Get(kFolderKey, "File")->data);
    EXPECT_FALSE(f.registry.Get(kFolderKey, "FileC"));
}

TEST_F(MainFormTest, AnOverflowingIntervalAtStartChangesNothing) {
    f.files.PutFolder(kJww);
    TypeAndStart(kJww, " ", "", "1e400");
    EXPECT_EQ(Texts{std::string(texts::kMsgOverflow) + "."}, f.boxes.appErrors);
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_EQ(" ", f.otherField.text);
    EXPECT_FALSE(f.timer.armed);
    EXPECT_TRUE(f.status.shown.empty());
    EXPECT_TRUE(f.jwwField.enabled && f.intervalField.enabled && f.startButton.enabled);
}

TEST_F(MainFormTest, ARefusedTimerLeavesOrMakesTheWindowIdleBeforeItsBox) {
    // At Start: the window as it was, status included.
    f.files.PutFolder(kJww);
    Show();
    f.timer.refuse = true;
    TypeAndStart(kJww);
    const Texts box{std::string(texts::kMsgNoTimer) + "."};
    EXPECT_EQ(box, f.boxes.appErrors);
    EXPECT_TRUE(Unlocked());
    EXPECT_EQ(texts::kStatusReady, f.status.text);

    // At a pass's re-arm: the watch ends as a stop ends it.
    f.timer.refuse = false;
    TypeAndStart(kJww);
    f.timer.refuse = true;
    Tick();
    EXPECT_EQ(texts::kStatusStopped, f.status.text);
    EXPECT_TRUE(Unlocked());
    EXPECT_FALSE(f.changes.listening);
    EXPECT_EQ((Texts{box[0], box[0]}), f.boxes.appErrors);

    // At the re-arm of a pass that a change started: the same.
    f.timer.refuse = false;
    TypeAndStart(kJww);
    f.timer.refuse = true;
    f.Run([this] { f.form.OnFolderChange(); });
    EXPECT_EQ(texts::kStatusStopped, f.status.text);
    EXPECT_TRUE(Unlocked());
    EXPECT_EQ(3u, f.boxes.appErrors.size());
}

// ---- The watch's passes --------------------------------------------------------

TEST_F(MainFormTest, EachPassReportShowsItsStatusText) {
    f.files.PutFolder(kJww);
    TypeAndStart(kJww);
    EXPECT_EQ((Texts{texts::kStatusSearching, texts::kStatusChanged, texts::kStatusResumed}),
              Tick());
    EXPECT_EQ((Texts{texts::kStatusSearching, texts::kStatusResumed}), Tick());
    f.files.folders.clear();
    EXPECT_EQ((Texts{texts::kStatusSearching, texts::kStatusFolderMissing}), Tick());
}

TEST_F(MainFormTest, ExitOrCloseDuringTheWaitEndsTheWatchAndTheApplication) {
    for (const bool exitButton : {true, false}) {
        SCOPED_TRACE(exitButton ? "Exit" : "close box");
        FakeMainForm g;
        g.files.PutFolder(kJww);
        g.jwwField.text = kJww;
        g.intervalField.text = "5";
        g.Run([&g] { g.form.OnStart(); });
        if (exitButton) {
            g.loop.Post([&g] { g.Run([&g] { g.form.OnExit(); }); }, 100);
        } else {
            g.loop.Post([&g] { g.window.Close(); }, 100);
        }
        const int starts = g.timer.starts;
        g.Run([&g] { g.form.OnWatchTick(); });
        EXPECT_TRUE(g.app.terminated);
        EXPECT_EQ(1, g.window.closeRequests);
        EXPECT_FALSE(g.timer.armed);
        EXPECT_EQ(starts, g.timer.starts);
        EXPECT_NE(texts::kStatusResumed, g.status.text);
    }
}

// ---- Show ------------------------------------------------------------------

TEST_F(MainFormTest, WithoutAFileTheDefaultsAreShown) {
    f.jwwField.text = "designer text";
    Show();
    EXPECT_EQ("", f.jwwField.text);
    EXPECT_EQ("", f.otherField.text);
    EXPECT_EQ("", f.figureField.text);
    EXPECT_EQ("5", f.intervalField.text);
    EXPECT_FALSE(f.autoStartBox.checked);
    EXPECT_FALSE(f.startMinimisedBox.checked);
    EXPECT_FALSE(f.stopButton.enabled);
    EXPECT_TRUE(f.startButton.enabled);
    EXPECT_EQ(Texts{texts::kStatusReady}, f.status.shown);
    EXPECT_EQ(0, f.window.moves);
    EXPECT_FALSE(f.window.minimized);
    EXPECT_FALSE(f.timer.armed);
    EXPECT_FALSE(f.files.FileExists(kDat)) << "created only at close";
}

TEST_F(MainFormTest, TheFileBesideTheExecutableFillsTheControlsAndMovesTheWindow) {
    // A folder name that code page 932 cannot write.
    f.app.exeName = L"C:\\Users\\Jos\u00e9\\Dirmind.exe";
    f.files.PutFile(L"C:\\Users\\Jos\u00e9\\Dirmind.dat",
                    "-30\r\n40\r\nC:\\A\\\r\nC:\\B\\\r\nC:\\C\\\r\n0.25\r\n0\r\n1\r\n");
    Show();
    EXPECT_EQ(-30, f.window.left);
    EXPECT_EQ(40, f.window.top);
    EXPECT_EQ(1, f.window.moves);
    EXPECT_EQ("C:\\A\\", f.jwwField.text);
    EXPECT_EQ("C:\\B\\", f.otherField.text);
    EXPECT_EQ("C:\\C\\", f.figureField.text);
    EXPECT_EQ("0.25", f.intervalField.text);
    EXPECT_FALSE(f.autoStartBox.checked);
    EXPECT_TRUE(f.startMinimisedBox.checked);
    EXPECT_TRUE(f.window.minimized);
    EXPECT_FALSE(f.timer.armed);
}

TEST_F(MainFormTest, APositionThatDiffersInOneCoordinateMovesTheWindow) {
    f.files.PutFile(kDat, Dat("192", "40", "", "5", "0", "0"));
    Show();
    EXPECT_EQ(1, f.window.moves);
    EXPECT_EQ(40, f.window.top);
}

TEST_F(MainFormTest, TheIntervalRuleKeepsBothBoundsAndRepairsTheRest) {
    const auto shown = [](const std::string& text) {
        FakeMainForm g;
        g.files.PutFile(kDat, Dat("0", "0", "", text, "0", "0"));
        g.Run([&g] { g.form.OnShown(); });
        return g.intervalField.text;
    };
    EXPECT_EQ("0.01", shown("0.01"));
    EXPECT_EQ("3600", shown("3600"));
    EXPECT_EQ("2.25", shown("2.25"));
    for (const char* bad : {"0.0099", "3600.5", "0", "-1", "abc", "1e400", ""}) {
        EXPECT_EQ("5", shown(bad)) << bad;
    }
}

TEST_F(MainFormTest, AutoStartWithAMissingFolderShowsTheErrorBeforeMinimising) {
    f.files.PutFile(kDat, Dat("0", "0", "C:\\Gone\\", "5", "1", "1"));
    bool minimisedAtError = true;
    f.boxes.onError = [&](const std::string&) { minimisedAtError = f.window.minimized; };
    Show();
    EXPECT_EQ(Texts{texts::kErrorFolderMissing}, f.boxes.errors);
    EXPECT_FALSE(minimisedAtError);
    EXPECT_EQ(&f.jwwField, f.Focused());
    EXPECT_FALSE(f.timer.armed);
    EXPECT_TRUE(Unlocked());
    EXPECT_TRUE(f.window.minimized);
    EXPECT_EQ(texts::kStatusReady, f.status.text);
}

TEST_F(MainFormTest, AutoStartAndMinimiseComeUpWatching) {
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "2.5", "1", "1"));
    Show();
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_TRUE(f.timer.armed);
    EXPECT_EQ(2500u, f.timer.interval);
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(f.autoStartBox.checked);
    EXPECT_TRUE(f.window.minimized);
    EXPECT_EQ((Texts{texts::kStatusReady, texts::kStatusStarted}), f.status.shown);
}

TEST_F(MainFormTest, ARefusedTimerAtAutoStartIsShownAndTheWindowIsMinimisedAfterIt) {
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "5", "1", "1"));
    f.timer.refuse = true;
    bool minimisedAtError = true;
    f.boxes.onAppError = [&](const std::string&) { minimisedAtError = f.window.minimized; };
    Show();
    EXPECT_EQ(Texts{std::string(texts::kMsgNoTimer) + "."}, f.boxes.appErrors);
    EXPECT_FALSE(minimisedAtError);
    EXPECT_TRUE(f.window.minimized);
}

// ---- Close -----------------------------------------------------------------

TEST_F(MainFormTest, CloseSavesTheControlsAndThePosition) {
    Show();
    f.jwwField.text = " C:\\Typed ";
    f.otherField.text = "not a folder";
    f.intervalField.text = "2.5";
    f.autoStartBox.checked = true;
    f.window.left = 300;
    f.window.top = -20;
    f.window.Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ("300\r\n-20\r\n C:\\Typed \r\nnot a folder\r\n\r\n2.5\r\n1\r\n0\r\n",
              f.files.Content(kDat).value_or("<no file>"));
}

TEST_F(MainFormTest, AFolderNameThatIsNotExactIsSavedAsTheFileHeldItAtTheStart) {
    f.files.PutFile(kDat, Dat("0", "0", "C:\\Old\\", "5", "0", "0"));
    Show();
    f.jwwField.text = "C:\\Cafe\\";
    f.jwwField.exact = false;
    f.otherField.text = "D:\\Cafe";
    f.otherField.exact = false;
    f.window.Close();
    EXPECT_EQ(Dat("0", "0", "C:\\Old\\", "5", "0", "0"), f.files.Content(kDat));
}

TEST_F(MainFormTest, ClosingWhileWatchingStopsTheTimerFirst) {
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "5", "1", "0"));
    Show();
    ASSERT_TRUE(f.timer.armed);
    f.window.Close();
    EXPECT_FALSE(f.timer.armed);
    EXPECT_EQ(Dat("0", "0", "C:\\CAD\\", "5", "1", "0"), f.files.Content(kDat));
}

TEST_F(MainFormTest, AnUnreadableIntervalIsSavedAsZeroAndComesBackAsFive) {
    Show();
    f.intervalField.text = "abc";
    f.window.Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ(Dat("192", "107", "", "0", "0", "0"), f.files.Content(kDat));

    FakeMainForm next;
    next.files = f.files;
    next.Run([&next] { next.form.OnShown(); });
    EXPECT_EQ("5", next.intervalField.text);
}

TEST_F(MainFormTest, AnOverflowingIntervalAtCloseKeepsTheWindowOpenAndSavesNothing) {
    f.files.PutFolder("C:\\CAD");
    const std::string old = Dat("0", "0", "C:\\CAD\\", "5", "1", "0");
    f.files.PutFile(kDat, old);
    Show();
    for (const char* overflow : {"1e400", "-1e400"}) {
        f.intervalField.text = overflow;
        f.window.Close();
    }
    EXPECT_EQ(Texts(2, std::string(texts::kMsgOverflow) + "."), f.boxes.appErrors);
    EXPECT_FALSE(f.app.terminated);
    EXPECT_FALSE(f.timer.armed);
    EXPECT_EQ(old, f.files.Content(kDat));

    f.intervalField.text = "7";
    f.window.Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ(Dat("0", "0", "C:\\CAD\\", "7", "1", "0"), f.files.Content(kDat));
}

// Told once, at the start; neither a close nor the session's end writes.
TEST_F(MainFormTest, ASettingsFileThatCannotBeReadIsToldAndNeverWrittenOver) {
    const std::string old = Dat("0", "0", "C:\\CAD\\", "7", "0", "0");
    f.files.PutFile(kDat, old);
    // Read in part: the folder's line is read, the next read fails.
    f.files.readChunk = 15;
    f.files.readsBeforeError = 1;
    Show();
    using Box = FakeBoxes::FileError;
    const std::vector<Box> told{{texts::kMsgSettingsUnreadable, kDat, f.files.reason}};
    EXPECT_EQ(told, f.boxes.fileErrors);
    EXPECT_EQ("", f.jwwField.text);
    EXPECT_EQ("5", f.intervalField.text);
    f.files.readsBeforeError = -1;
    f.form.SaveAtSessionEnd();
    f.files.PutFolder(kJww);
    TypeAndStart(kJww);
    f.window.Close();
    EXPECT_TRUE(f.app.terminated);
    EXPECT_FALSE(f.timer.armed || f.changes.listening) << "the watch stopped";
    EXPECT_EQ(old, f.files.Content(kDat));
    EXPECT_EQ(told, f.boxes.fileErrors);
}

// A read-only file is a lock: silent. Any other failure is told at a close,
// never at the session's end.
TEST_F(MainFormTest, AFailedSaveIsToldAtACloseOnly) {
    const std::string old = Dat("0", "0", "", "7", "0", "0");
    f.files.PutFile(kDat, old);
    Show();
    f.files.readOnly.insert(FakeFileSystem::FileKey(kDat));
    f.window.Close();
    EXPECT_TRUE(f.app.terminated);
    f.files.readOnly.clear();
    f.files.failReplace = true;
    f.form.SaveAtSessionEnd();
    EXPECT_TRUE(f.boxes.fileErrors.empty());
    f.app.terminated = false;
    f.window.Close();
    EXPECT_EQ(
        (std::vector<FakeBoxes::FileError>{{texts::kMsgSettingsNotSaved, kDat, f.files.reason}}),
        f.boxes.fileErrors);
    EXPECT_TRUE(f.app.terminated);
    EXPECT_EQ(old, f.files.Content(kDat));
}

// ---- Browse ----------------------------------------------------------------

TEST_F(MainFormTest, TheDialogOpensInTheFieldsFolderLessOneTrailingBackslash) {
    const std::string so = "\x83\x5C";      // ソ: its second byte is "\"
    const std::string equals = "\x81\x81";  // ＝: two lead-range bytes
    EXPECT_EQ("D:\\Drawings", InitialFolderFor("D:\\Drawings\\"));
    EXPECT_EQ("D:\\Drawings\\", InitialFolderFor("D:\\Drawings\\\\"));  // only one of two
    EXPECT_EQ("C:\\", InitialFolderFor("C:\\"));                        // a drive root stays
    EXPECT_EQ("\\", InitialFolderFor("\\"));
    EXPECT_EQ("", InitialFolderFor(""));
    // A character whose second byte is "\" stays; a real "\" after it goes.
    EXPECT_EQ("C:\\" + so, InitialFolderFor("C:\\" + so));
    EXPECT_EQ(so, InitialFolderFor(so));
    EXPECT_EQ("C:\\" + so, InitialFolderFor("C:\\" + so + "\\"));
    // An even run of lead-range bytes: the "\" after it is a character of its own.
    EXPECT_EQ("C:\\" + equals, InitialFolderFor("C:\\" + equals + "\\"));
    // Blanks are not stripped and the folder is not tested.
    EXPECT_EQ(" X:\\nowhere\\ ", InitialFolderFor(" X:\\nowhere\\ "));
}

TEST_F(MainFormTest, TheNameIsPresetForEveryRunAndTheChoicesFolderFillsTheField) {
    f.jwwField.text = "C:\\A\\";
    f.dialog.onPick = [] { return std::optional<std::string>("C:\\B\\b.jww"); };
    Browse(0);
    EXPECT_EQ("C:\\B\\", f.jwwField.text);
    f.dialog.onPick = [&] { return std::optional<std::string>("E:\\Zukei\\" + kSpace); };
    Browse(0);
    EXPECT_EQ("E:\\Zukei\\", f.jwwField.text);
    f.dialog.onPick = nullptr;
    Browse(0);

    ASSERT_EQ(3, f.dialog.runs);
    EXPECT_EQ((Texts{kSpace, kSpace, kSpace}), f.dialog.fileNamesSeen);
    EXPECT_EQ((Texts{"C:\\A", "C:\\B", "E:\\Zukei"}), f.dialog.initialFoldersSeen);
    EXPECT_EQ("E:\\Zukei\\", f.jwwField.text);  // the cancelled run changed nothing
    EXPECT_TRUE(f.boxes.errors.empty());
    EXPECT_TRUE(f.boxes.appErrors.empty());
}

TEST_F(MainFormTest, AChoiceCodePage932CannotWriteLeavesTheFieldAndSaysWhy) {
    f.otherField.text = "C:\\Kept\\";
    f.dialog.onPick = [] { return std::optional<std::string>("C:\\Users\\?\\a.jww"); };
    f.dialog.notShiftJis = true;
    Browse(1);
    EXPECT_EQ("C:\\Kept\\", f.otherField.text);
    EXPECT_EQ(Texts{texts::kErrorFolderName}, f.boxes.errors);
}

TEST_F(MainFormTest, EachBrowseButtonWorksOnItsOwnField) {
    const std::array<FakeEdit FakeMainForm::*, 3> fields = {
        &FakeMainForm::jwwField, &FakeMainForm::otherField, &FakeMainForm::figureField};
    for (std::size_t row = 0; row < fields.size(); ++row) {
        SCOPED_TRACE(row);
        FakeMainForm g;
        g.jwwField.text = "C:\\One\\";
        g.otherField.text = "C:\\Two\\";
        g.figureField.text = "C:\\Three\\";
        g.intervalField.text = "5";
        (g.*fields[row]).text = "D:\\Mine\\";
        g.dialog.onPick = [] { return std::optional<std::string>("D:\\Chosen\\\x81\x40"); };
        g.Run([&g, row] { g.form.OnBrowse(row); });

        ASSERT_EQ(1, g.dialog.runs);
        EXPECT_EQ("D:\\Mine", g.dialog.initialFoldersSeen[0]);
        const char* expected[] = {"C:\\One\\", "C:\\Two\\", "C:\\Three\\"};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(i == row ? "D:\\Chosen\\" : expected[i], (g.*fields[i]).text);
        }
        EXPECT_EQ("5", g.intervalField.text);
    }
}

// ---- The session's end -------------------------------------------------------

TEST_F(MainFormTest, TheSessionsEndSavesWhatACloseSavesAndNeverShowsABox) {
    f.form.SaveAtSessionEnd();  // before the first showing: no settings path yet
    EXPECT_EQ(0, f.files.tempCount) << "nothing tried";
    f.files.PutFolder("C:\\CAD");
    f.files.PutFile(kDat, Dat("0", "0", "C:\\CAD\\", "5", "1", "0"));
    Show();
    ASSERT_TRUE(f.timer.armed);
    f.window.left = -40;
    f.startMinimisedBox.checked = true;
    f.form.SaveAtSessionEnd();
    EXPECT_FALSE(f.timer.armed);
    const std::string saved = Dat("-40", "0", "C:\\CAD\\", "5", "1", "1");
    EXPECT_EQ(saved, f.files.Content(kDat));

    // An interval that does not convert saves nothing and shows nothing.
    f.jwwField.text = "C:\\New\\";
    f.intervalField.text = "1e400";
    f.form.SaveAtSessionEnd();
    EXPECT_EQ(saved, f.files.Content(kDat));
    EXPECT_TRUE(f.boxes.appErrors.empty());
    EXPECT_TRUE(f.boxes.errors.empty());
}

}  // namespace

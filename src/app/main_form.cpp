#include "app/main_form.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/error_boundary.h"
#include "app/texts.h"
#include "settings/settings_file.h"
#include "util/errors.h"
#include "util/number_text.h"
#include "util/sjis.h"
#include "watch/interval.h"

namespace {

// The folder the dialog opens in for a field's text: the text less one
// trailing "\", except for a root such as "C:\" or a lone "\", and except
// when that "\" is the second byte of a double-byte character.
std::string InitialFolder(const std::string& text) {
    if (text.size() > 1 && EndsWithBackslash(text) && text[text.size() - 2] != ':') {
        return text.substr(0, text.size() - 1);
    }
    return text;
}

}  // namespace

MainForm::MainForm(const MainFormControls& controls, const MainFormServices& services)
    : controls_(controls),
      application_(services.application),
      files_(services.files),
      watch_(services.registry, services.folderProbe, services.watchTimer, services.changeSignal,
             services.eventLoop, *this) {}

void MainForm::OnShown() {
    settingsPath_ = SettingsPathFor(application_.ExeName());

    Settings settings;
    settings.left = controls_.window.Left();
    settings.top = controls_.window.Top();
    // A file that could not be read leaves the defaults, and is left for the
    // user to mend.
    const FileStatus read = LoadSettings(files_, settingsPath_, settings);
    mayWriteSettings_ = read.code != FileStatus::Code::Failed;
    if (settings.left != controls_.window.Left() || settings.top != controls_.window.Top()) {
        controls_.window.MoveTo(settings.left, settings.top);
    }
    if (!IntervalInRange(settings.intervalSeconds)) {
        settings.intervalSeconds = kDefaultIntervalSeconds;
    }

    loadedFolders_ = settings.folders;
    for (std::size_t i = 0; i < kFolderCount; ++i) {
        controls_.folderRows[i].field.SetText(settings.folders[i]);
    }
    controls_.intervalField.SetText(FloatToText(settings.intervalSeconds));
    controls_.autoStartBox.SetChecked(settings.autoStart);
    controls_.startMinimisedBox.SetChecked(settings.startMinimised);
    controls_.stopButton.SetEnabled(false);
    ShowStatus(texts::kStatusReady);
    if (!mayWriteSettings_) {
        controls_.boxes.ShowFileError(texts::kMsgSettingsUnreadable, settingsPath_, read.reason);
    }

    // Auto-start is a click on Start, its error boxes included: an error that
    // escapes it (a refused timer) is shown as for a click, and the window is
    // minimised all the same.
    if (settings.autoStart) RunHandler(controls_.boxes, [this] { OnStart(); });
    // A close during auto-start's wait: the window is not shown any more.
    if (settings.startMinimised && !ending_) controls_.window.Minimize();
}

void MainForm::OnBrowse(std::size_t row) {
    IEdit& field = controls_.folderRows.at(row).field;
    // The preset name is the same for every run: a path chosen earlier is
    // never carried into the next one.
    const FolderChoice choice =
        controls_.folderDialog.Pick(InitialFolder(field.Text()), texts::kFullWidthSpace);
    switch (choice.outcome) {
        case FolderChoice::Outcome::Chosen:
            field.SetText(FolderPart(choice.path));
            break;
        case FolderChoice::Outcome::NotShiftJis:
            // Jw_cad reads its folders in code page 932: a look-alike or "?"
            // in their place would name another folder, or none.
            controls_.boxes.ShowError(texts::kErrorFolderName);
            break;
        case FolderChoice::Outcome::Cancelled:
            break;
    }
}

void MainForm::OnStart() {
    WatchedFolders folders;
    FolderNamesExact namesExact;
    for (std::size_t i = 0; i < kFolderCount; ++i) {
        folders[i] = controls_.folderRows[i].field.Text();
        namesExact[i] = controls_.folderRows[i].field.TextIsExact();
    }
    // A number too large for a double: its box, and nothing changes.
    const double intervalSeconds = TextToFloat(controls_.intervalField.Text());
    if (std::isinf(intervalSeconds)) {
        ShowOverflow();
        return;
    }

    for (std::size_t i = 0; i < kFolderCount; ++i) {
        if (RemoveBlanks(folders[i]).empty()) {
            folders[i].clear();
            controls_.folderRows[i].field.SetText("");
        }
    }

    // The check may wait for folders on a share: meanwhile the window goes
    // on answering, but Start cannot run again and the inputs cannot change.
    const bool inputFocused = AnInputHasTheFocus();
    for (IControl* input : Inputs()) input->SetEnabled(false);
    controls_.window.ShowBusy(true);
    StartCheck check;
    try {
        check = watch_.CheckStart(folders, namesExact, intervalSeconds);
    } catch (...) {
        controls_.window.ShowBusy(false);
        UnlockInputs();
        throw;
    }
    controls_.window.ShowBusy(false);
    // Closed during the wait: the settings are saved, and nothing follows.
    if (ending_) return;
    if (check.problem != StartProblem::None) UnlockInputs();
    switch (check.problem) {
        case StartProblem::NoFolder:
            controls_.boxes.ShowError(texts::kErrorNoFolder);
            controls_.folderRows[0].field.Focus();
            return;
        case StartProblem::FolderName:
            controls_.boxes.ShowError(texts::kErrorFolderName);
            controls_.folderRows[check.folder].field.Focus();
            return;
        case StartProblem::FolderMissing:
            controls_.boxes.ShowError(texts::kErrorFolderMissing);
            controls_.folderRows[check.folder].field.Focus();
            return;
        case StartProblem::IntervalOutOfRange:
            controls_.boxes.ShowError(texts::kErrorInterval);
            controls_.intervalField.Focus();
            return;
        case StartProblem::Stopped:
            return;
        case StartProblem::None:
            break;
    }

    // The timer first: when the system refuses it, the window stays as it
    // was and the error goes on to its box.
    try {
        watch_.Start(folders, intervalSeconds);
    } catch (const TimerRefused&) {
        UnlockInputs();
        throw;
    }
    LockInputs(inputFocused);
    ShowStatus(texts::kStatusStarted);
}

void MainForm::OnStop() {
    watch_.Stop();
    UnlockInputs();
    ShowStatus(texts::kStatusStopped);
}

void MainForm::OnExit() {
    watch_.Stop();
    controls_.window.Close();
}

void MainForm::OnWatchTick() { RunWatch(&FolderWatch::RunPass); }

void MainForm::OnFolderChange() { RunWatch(&FolderWatch::OnChange); }

void MainForm::RunWatch(void (FolderWatch::*pass)()) {
    try {
        (watch_.*pass)();
    } catch (const TimerRefused&) {
        // The watch has ended as a stop ends it.
        UnlockInputs();
        ShowStatus(texts::kStatusStopped);
        throw;
    }
}

void MainForm::OnCloseRequested() {
    watch_.Stop();
    const std::optional<Settings> settings = SettingsToSave();
    // The user can mend the interval and close again.
    if (!settings) {
        ShowOverflow();
        return;
    }
    ending_ = true;
    const FileStatus saved = Save(*settings);
    // A read-only file is a lock the user may have set: left alone, silently.
    if (saved.code == FileStatus::Code::Failed) {
        controls_.boxes.ShowFileError(texts::kMsgSettingsNotSaved, settingsPath_, saved.reason);
    }
    application_.Terminate();
}

void MainForm::SaveAtSessionEnd() noexcept {
    // The close sequence itself: an interval that does not convert ends it
    // before the save, and at session end that is not shown.
    try {
        watch_.Stop();
        if (const std::optional<Settings> settings = SettingsToSave()) Save(*settings);
    } catch (...) {
    }
}

void MainForm::ShowOverflow() { controls_.boxes.ShowAppError(AppErrorText(texts::kMsgOverflow)); }

std::optional<Settings> MainForm::SettingsToSave() const {
    Settings settings;
    for (std::size_t i = 0; i < kFolderCount; ++i) {
        // A look-alike may be exact for another folder that exists: the next
        // start would pin Jw_cad to that one.
        const IEdit& field = controls_.folderRows[i].field;
        settings.folders[i] = field.TextIsExact() ? field.Text() : loadedFolders_[i];
    }
    // No range check: an unreadable interval is saved as 0 and repaired at the
    // next start.
    settings.intervalSeconds = TextToFloat(controls_.intervalField.Text());
    if (std::isinf(settings.intervalSeconds)) return std::nullopt;
    settings.autoStart = controls_.autoStartBox.Checked();
    settings.startMinimised = controls_.startMinimisedBox.Checked();
    settings.left = controls_.window.Left();
    settings.top = controls_.window.Top();
    return settings;
}

FileStatus MainForm::Save(const Settings& settings) {
    if (!mayWriteSettings_) return {FileStatus::Code::Skipped, {}};
    return SaveSettings(files_, settingsPath_, settings);
}

void MainForm::OnPassReport(PassReport report) {
    switch (report) {
        case PassReport::Searching:
            ShowStatus(texts::kStatusSearching);
            break;
        case PassReport::FolderMissing:
            ShowStatus(texts::kStatusFolderMissing);
            break;
        case PassReport::Changed:
            ShowStatus(texts::kStatusChanged);
            break;
        case PassReport::Resumed:
            ShowStatus(texts::kStatusResumed);
            break;
    }
}

void MainForm::ShowStatus(const std::string& text) { controls_.statusLine.Show(text); }

std::array<IControl*, 8> MainForm::Inputs() const {
    const auto& rows = controls_.folderRows;
    return {&rows[0].field,           &rows[1].field,        &rows[2].field,
            &controls_.intervalField, &rows[0].browseButton, &rows[1].browseButton,
            &rows[2].browseButton,    &controls_.startButton};
}

bool MainForm::AnInputHasTheFocus() const {
    const auto inputs = Inputs();
    return std::any_of(inputs.begin(), inputs.end(), [](IControl* c) { return c->HasFocus(); });
}

void MainForm::LockInputs(bool takeFocus) {
    // Stop is enabled first and takes the focus from an input about to be
    // locked, so that the focus never moves on to Exit by itself.
    controls_.stopButton.SetEnabled(true);
    if (takeFocus || AnInputHasTheFocus()) controls_.stopButton.Focus();
    for (IControl* input : Inputs()) input->SetEnabled(false);
}

void MainForm::UnlockInputs() {
    for (IControl* input : Inputs()) input->SetEnabled(true);
    // Start takes the focus from Stop before Stop is disabled.
    if (controls_.stopButton.HasFocus()) controls_.startButton.Focus();
    controls_.stopButton.SetEnabled(false);
}

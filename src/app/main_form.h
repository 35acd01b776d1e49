// The main window's logic: copies the settings to and from the controls,
// starts and stops the watch, and tells the user what happens. It sequences
// the interface only; the rules live in settings/ and watch/.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "app/toolkit.h"
#include "settings/file_port.h"
#include "settings/settings.h"
#include "watch/folder_watch.h"

// A folder field with its browse button.
struct FolderRow {
    IEdit& field;
    IButton& browseButton;
};

struct MainFormControls {
    IWindow& window;
    IMessageBoxes& boxes;
    // JWW files, other files, figure files: the order of Settings::folders.
    std::array<FolderRow, kFolderCount> folderRows;
    IEdit& intervalField;
    IButton& startButton;
    IButton& stopButton;
    ICheckBox& autoStartBox;
    ICheckBox& startMinimisedBox;
    IStatusLine& statusLine;
    IFolderDialog& folderDialog;
};

struct MainFormServices {
    IApplication& application;
    IEventLoop& eventLoop;
    ISettingsFiles& files;
    IFolderProbe& folderProbe;
    IRegistry& registry;
    IWatchTimer& watchTimer;
    IChangeSignal& changeSignal;
};

class MainForm : private IWatchObserver {
public:
    MainForm(const MainFormControls& controls, const MainFormServices& services);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Event handlers. An error that escapes one is for RunHandler to show.

    // Before the window first shows: the settings file into the controls,
    // then auto-start and minimising as the settings ask.
    void OnShown();
    void OnBrowse(std::size_t row);
    void OnStart();
    void OnStop();
    // Ends the watch and asks the window to close.
    void OnExit();
    void OnWatchTick();
    // The registry told of a change to Jw_cad's folder values.
    void OnFolderChange();
    // The window asks to close (close box, system menu, Exit): saves the
    // settings and ends the application; a save that fails is told first. A
    // folder field whose text code page 932 cannot write is saved as the
    // settings file held it at start-up.
    // When the interval field holds a number too large for a double, nothing
    // is saved, the overflow box is shown and the window stays open.
    void OnCloseRequested();
    // The session ends (log-off, shutdown) and the process with it: saves
    // what a close saves, as far as that goes without a box; nothing is saved
    // when the interval field does not convert, nothing is shown.
    void SaveAtSessionEnd() noexcept;

private:
    void OnPassReport(PassReport report) override;
    void ShowStatus(const std::string& text);
    // The inputs that are locked while the watch runs, in the order they are
    // locked: a focused control that is disabled passes the focus on.
    std::array<IControl*, 8> Inputs() const;
    bool AnInputHasTheFocus() const;
    // With takeFocus, Stop takes the focus as the inputs are locked.
    void LockInputs(bool takeFocus);
    void UnlockInputs();
    // The application's box for an interval too large for a double.
    void ShowOverflow();
    // The settings as the controls hold them; none when the interval field
    // holds a number too large for a double.
    std::optional<Settings> SettingsToSave() const;
    // Skipped when the file could not be read at start-up.
    FileStatus Save(const Settings& settings);
    // Runs a pass; a refused timer at its end leaves the window idle, as a
    // stop does, before the error goes on to its box.
    void RunWatch(void (FolderWatch::*pass)());

    MainFormControls controls_;
    IApplication& application_;
    ISettingsFiles& files_;
    FolderWatch watch_;
    FilePath settingsPath_;
    // False once the settings file was there but could not be read: it is
    // never written over in this run.
    bool mayWriteSettings_ = true;
    // The folders as the settings file held them at start-up: saved in place
    // of a field's text that code page 932 cannot write.
    std::array<std::string, kFolderCount> loadedFolders_;
    // A close has ended the application: nothing more is shown and no watch
    // starts.
    bool ending_ = false;
};

// Drives the real Dirmind.exe from outside, as a user would: through window
// messages and keyboard input, reading window texts, the registry and the
// settings file. Every wait is bounded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// UTF-8 (the tests' literals) to UTF-16 and back.
std::wstring W(const std::string& utf8);
std::string U8(const std::wstring& wide);
// Code page 932 bytes to UTF-16 and back (for the settings file).
std::wstring FromCp932(const std::string& bytes);
std::string ToCp932(const std::wstring& wide);

// Polls cond every 10 ms until it holds or timeoutMs passes; true if it held.
// The main window's caption: "Dirmind Ver." and the version of app/version.h.
std::wstring MainCaption();

bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 5000);

// A fresh temporary folder holding a copy of Dirmind.exe; removed at the end.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::wstring& Dir() const { return dir_; }  // ends with "\"
    std::wstring ExePath() const { return dir_ + L"Dirmind.exe"; }
    std::wstring DatPath() const { return dir_ + L"Dirmind.dat"; }
    // A new folder below Dir(); returns its path with a trailing "\".
    std::wstring MakeFolder(const std::wstring& name) const;
    void WriteDat(const std::string& bytes) const;
    std::optional<std::string> ReadDat() const;

private:
    std::wstring dir_;
};

// The values of Jw_cad under HKCU\SOFTWARE\Jw_cad\jw_win\Folder.
namespace jw {
void DeleteAll();  // removes HKCU\SOFTWARE\Jw_cad
void Set(const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
void SetDword(const std::wstring& name, DWORD value);
// nullopt when the value (or key) is missing; *type receives the type.
std::optional<std::wstring> Get(const std::wstring& name, DWORD* type = nullptr);
}  // namespace jw

// One running Dirmind.exe.
class App {
public:
    // Starts the executable and waits (10 s at most) until its main window
    // (MainCaption) is visible. Fails the test (ADD_FAILURE) otherwise.
    explicit App(const std::wstring& exePath);
    // Starts the executable; without waitForMain it returns at once (a box
    // shown while the window comes up keeps it hidden) and WaitForMain finds
    // the main window later.
    App(const std::wstring& exePath, bool waitForMain);
    // Waits (timeoutMs at most) until the main window is visible; true once
    // found.
    bool WaitForMain(int timeoutMs = 20000);
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool Started() const { return main_ != nullptr; }
    HWND Main() const { return main_; }
    DWORD Pid() const { return pid_; }
    DWORD ThreadId() const { return tid_; }

    // Controls by role, found by their control ID (layout::ControlId).
    HWND Control(int id) const;
    HWND FolderField(int row) const;   // 0..2: JWW files, other files, figure files
    HWND BrowseButton(int row) const;  // 0..2: the button beside FolderField(row)
    HWND IntervalField() const;
    HWND StartButton() const;
    HWND StopButton() const;
    HWND ExitButton() const;
    HWND AutoStartBox() const;
    HWND StartMinimisedBox() const;
    HWND HelpMemo() const;
    HWND StatusLine() const;

    // Texts (WM_GETTEXT), the status line's text, check state, enabled state.
    std::wstring Text(HWND hwnd) const;
    std::wstring Status() const;
    bool Checked(HWND checkBox) const;
    bool Enabled(HWND hwnd) const;
    RECT MainClientRect() const;

    // Input. Click posts BM_CLICK (does not wait for the handler to finish).
    void SetText(HWND edit, const std::wstring& text) const;
    void Click(HWND button) const;
    void SetChecked(HWND checkBox, bool checked) const;
    // Brings the main window to the front and gives the focus to hwnd.
    void Focus(HWND hwnd) const;
    HWND Focused() const;  // the control with the keyboard focus, or nullptr
    // Real keyboard input (SendInput) to the foreground window; modifiers
    // such as VK_SHIFT or VK_MENU are held while the key is pressed.
    void Key(WORD vk, std::initializer_list<WORD> modifiers = {}) const;
    void Type(const std::wstring& text) const;  // Unicode characters
    // The same to another window of the program (a dialog or a box, while a
    // modal one has disabled the main window).
    void KeyTo(HWND window, WORD vk, std::initializer_list<WORD> modifiers = {}) const;
    void TypeTo(HWND window, const std::wstring& text) const;
    // The visible top-level windows of the process, less those given.
    std::vector<HWND> OtherWindows(std::initializer_list<HWND> known = {}) const;

    // A top-level window of this process with the given caption, as soon as
    // it is visible (nullptr after timeoutMs).
    HWND WaitForWindow(const std::wstring& caption, int timeoutMs = 5000) const;
    // The texts of a message box: its message (the static text that is not
    // the icon) and the buttons' captions.
    std::wstring MessageText(HWND box) const;
    // Presses the box's button with that caption (BM_CLICK), e.g. L"OK".
    void PressButton(HWND box, const std::wstring& caption) const;

    // Requests a close with the window's close box (WM_SYSCOMMAND SC_CLOSE).
    void CloseBox() const;
    // Waits for the process to end; its exit code, or nullopt on time-out.
    std::optional<DWORD> WaitForExit(int timeoutMs = 10000);
    bool Running() const;

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
    DWORD pid_ = 0;
    DWORD tid_ = 0;
};

}  // namespace e2e

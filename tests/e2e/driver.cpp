#include "driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/layout.h"
#include "app/version.h"

namespace e2e {
namespace {

constexpr wchar_t kJwKey[] = L"SOFTWARE\\Jw_cad\\jw_win\\Folder";

std::wstring Convert(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return {};
    int n =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string Convert(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// The executable under test: $DIRMIND_EXE, else the one this program was
// built beside. A Unix path is reached through Wine's drive Z:.
std::wstring SourceExe() {
    std::wstring path;
    if (const char* env = std::getenv("DIRMIND_EXE"); env && *env) {
        path = W(env);
    } else {
        path = W(DIRMIND_EXE_PATH);
    }
    if (!path.empty() && path[0] == L'/') {
        for (auto& c : path) {
            if (c == L'/') c = L'\\';
        }
        path = L"Z:" + path;
    }
    return path;
}

std::wstring WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

struct FindTop {
    DWORD pid;
    const std::wstring* caption;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<FindTop*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != f->pid) return TRUE;
    if (f->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
    if (WindowText(hwnd) != *f->caption) return TRUE;
    f->found = hwnd;
    return FALSE;
}

HWND FindTopWindow(DWORD pid, const std::wstring& caption, bool visibleOnly) {
    FindTop f{pid, &caption, visibleOnly, nullptr};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

BOOL CALLBACK CollectProc(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectProc, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> direct;
    for (HWND h : all) {
        if (GetParent(h) == parent) direct.push_back(h);
    }
    return direct;
}

struct VisibleTop {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK VisibleTopProc(HWND hwnd, LPARAM lp) {
    auto* v = reinterpret_cast<VisibleTop*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == v->pid && IsWindowVisible(hwnd)) v->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleTopWindows(DWORD pid) {
    VisibleTop v{pid, {}};
    EnumWindows(VisibleTopProc, reinterpret_cast<LPARAM>(&v));
    return v.found;
}

void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

}  // namespace

std::wstring W(const std::string& utf8) { return Convert(CP_UTF8, utf8); }
std::string U8(const std::wstring& wide) { return Convert(CP_UTF8, wide); }
std::wstring FromCp932(const std::string& bytes) { return Convert(932, bytes); }
std::string ToCp932(const std::wstring& wide) { return Convert(932, wide); }

std::wstring MainCaption() { return L"Dirmind Ver." + W(DIRMIND_VERSION); }

bool WaitFor(const std::function<bool()>& cond, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (cond()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(10);
    }
}

Sandbox::Sandbox() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    dir_ = std::wstring(temp) + L"dirmind-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L"\\";
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    std::filesystem::create_directories(dir_, ec);
    EXPECT_FALSE(ec) << "cannot create " << U8(dir_);
    EXPECT_TRUE(CopyFileW(SourceExe().c_str(), ExePath().c_str(), FALSE))
        << "cannot copy " << U8(SourceExe());
}

Sandbox::~Sandbox() {
    std::error_code ec;
    // The process may still be letting go of its files: retry briefly.
    WaitFor([&] { return std::filesystem::remove_all(dir_, ec), !ec; }, 3000);
}

std::wstring Sandbox::MakeFolder(const std::wstring& name) const {
    std::wstring path = dir_ + name;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    EXPECT_FALSE(ec);
    return path + L"\\";
}

void Sandbox::WriteDat(const std::string& bytes) const {
    std::ofstream out(std::filesystem::path(DatPath()), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good());
}

std::optional<std::string> Sandbox::ReadDat() const {
    std::ifstream in(std::filesystem::path(DatPath()), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace jw {

void DeleteAll() { RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Jw_cad"); }

namespace {
void SetRaw(const std::wstring& name, DWORD type, const BYTE* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kJwKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, type, data, size));
    RegCloseKey(key);
}
}  // namespace

void Set(const std::wstring& name, const std::wstring& value, DWORD type) {
    SetRaw(name, type, reinterpret_cast<const BYTE*>(value.c_str()),
           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void SetDword(const std::wstring& name, DWORD value) {
    SetRaw(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

std::optional<std::wstring> Get(const std::wstring& name, DWORD* type) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kJwKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD t = 0;
    DWORD size = 0;
    std::optional<std::wstring> result;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &t, nullptr, &size) == ERROR_SUCCESS) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, name.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            data.resize(size / sizeof(wchar_t));
            if (t == REG_SZ || t == REG_EXPAND_SZ) {
                auto zero = data.find(L'\0');
                if (zero != std::wstring::npos) data.resize(zero);
            }
            result = data;
            if (type) *type = t;
        }
    }
    RegCloseKey(key);
    return result;
}

}  // namespace jw

App::App(const std::wstring& exePath) : App(exePath, false) {
    if (pid_ && !WaitForMain()) ADD_FAILURE() << "the main window did not appear";
}

App::App(const std::wstring& exePath, bool waitForMain) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring cmd = L"\"" + exePath + L"\"";
    std::wstring dir = exePath.substr(0, exePath.find_last_of(L'\\') + 1);
    if (!CreateProcessW(exePath.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &si, &pi_)) {
        ADD_FAILURE() << "cannot start " << U8(exePath) << " (error " << GetLastError() << ")";
        return;
    }
    pid_ = pi_.dwProcessId;
    if (waitForMain && !WaitForMain()) ADD_FAILURE() << "the main window did not appear";
}

bool App::WaitForMain(int timeoutMs) {
    if (main_) return true;
    if (!pid_) return false;
    WaitForInputIdle(pi_.hProcess, static_cast<DWORD>(timeoutMs));
    HWND found = nullptr;
    bool ok = WaitFor(
        [&] {
            found = FindTopWindow(pid_, MainCaption(), true);
            return found != nullptr || !Running();
        },
        timeoutMs);
    if (!ok || !found) return false;
    main_ = found;
    tid_ = GetWindowThreadProcessId(main_, nullptr);
    return true;
}

App::~App() {
    if (pi_.hProcess) {
        if (Running()) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
}

RECT App::MainClientRect() const {
    RECT r{};
    GetClientRect(main_, &r);
    return r;
}

HWND App::Control(int id) const { return main_ ? GetDlgItem(main_, id) : nullptr; }

HWND App::FolderField(int row) const {
    static constexpr int kIds[] = {layout::kJwwField, layout::kOtherField, layout::kFigureField};
    return (row >= 0 && row < 3) ? Control(kIds[row]) : nullptr;
}

HWND App::BrowseButton(int row) const {
    static constexpr int kIds[] = {layout::kJwwBrowse, layout::kOtherBrowse, layout::kFigureBrowse};
    return (row >= 0 && row < 3) ? Control(kIds[row]) : nullptr;
}

HWND App::IntervalField() const { return Control(layout::kIntervalField); }
HWND App::StartButton() const { return Control(layout::kStartButton); }
HWND App::StopButton() const { return Control(layout::kStopButton); }
HWND App::ExitButton() const { return Control(layout::kExitButton); }
HWND App::AutoStartBox() const { return Control(layout::kAutoStartBox); }
HWND App::StartMinimisedBox() const { return Control(layout::kStartMinimisedBox); }
HWND App::HelpMemo() const { return Control(layout::kHelpMemo); }
HWND App::StatusLine() const { return Control(layout::kStatusLine); }

std::wstring App::Text(HWND hwnd) const { return WindowText(hwnd); }

std::wstring App::Status() const {
    HWND bar = StatusLine();
    return bar ? WindowText(bar) : std::wstring();
}

bool App::Checked(HWND checkBox) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

bool App::Enabled(HWND hwnd) const { return IsWindowEnabled(hwnd) != FALSE; }

void App::SetText(HWND edit, const std::wstring& text) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &result);
}

void App::Click(HWND button) const { PostMessageW(button, BM_CLICK, 0, 0); }

void App::SetChecked(HWND checkBox, bool checked) const {
    if (Checked(checkBox) != checked) {
        Click(checkBox);
        WaitFor([&] { return Checked(checkBox) == checked; }, 5000);
    }
}

void App::Focus(HWND hwnd) const {
    SetForegroundWindow(main_);
    DWORD self = GetCurrentThreadId();
    AttachThreadInput(self, tid_, TRUE);
    SetFocus(hwnd);
    AttachThreadInput(self, tid_, FALSE);
    WaitFor([&] { return Focused() == hwnd; }, 3000);
}

HWND App::Focused() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(tid_, &info)) return nullptr;
    return info.hwndFocus;
}

void App::Key(WORD vk, std::initializer_list<WORD> modifiers) const { KeyTo(main_, vk, modifiers); }

void App::Type(const std::wstring& text) const { TypeTo(main_, text); }

void App::KeyTo(HWND window, WORD vk, std::initializer_list<WORD> modifiers) const {
    SetForegroundWindow(window);
    for (WORD m : modifiers) SendKey(m, false);
    SendKey(vk, false);
    SendKey(vk, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) SendKey(*it, true);
}

void App::TypeTo(HWND window, const std::wstring& text) const {
    SetForegroundWindow(window);
    for (wchar_t c : text) {
        INPUT in[2] = {};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = c;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof(INPUT));
    }
}

std::vector<HWND> App::OtherWindows(std::initializer_list<HWND> known) const {
    std::vector<HWND> others;
    for (HWND h : VisibleTopWindows(pid_)) {
        if (std::find(known.begin(), known.end(), h) == known.end()) others.push_back(h);
    }
    return others;
}

HWND App::WaitForWindow(const std::wstring& caption, int timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopWindow(pid_, caption, true)) != nullptr; }, timeoutMs);
    return found;
}

std::wstring App::MessageText(HWND box) const {
    std::wstring text;
    for (HWND h : DirectChildren(box)) {
        if (_wcsicmp(ClassOf(h).c_str(), L"Static") != 0) continue;
        std::wstring t = WindowText(h);
        if (!t.empty()) text += t;
    }
    return text;
}

void App::PressButton(HWND box, const std::wstring& caption) const {
    for (HWND h : DirectChildren(box)) {
        if (_wcsicmp(ClassOf(h).c_str(), L"Button") == 0 && WindowText(h) == caption) {
            PostMessageW(h, BM_CLICK, 0, 0);
            return;
        }
    }
    ADD_FAILURE() << "no button " << U8(caption);
}

void App::CloseBox() const { PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::optional<DWORD> App::WaitForExit(int timeoutMs) {
    if (!pi_.hProcess) return std::nullopt;
    if (WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

bool App::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace e2e

// Benchmarks of the watch on Windows (or under Wine); they print figures.
//
//   bench_pass_bench_win32 [passes]
//     Times one monitoring pass against the real registry and real folders,
//     with the window toolkit faked: values equal, and values rewritten (the
//     500 ms wait runs on the fake counter, so it is left out). Jw_cad's
//     values are saved before and put back afterwards.
//
//   bench_pass_bench_win32 --idle-cpu <path of Dirmind.exe> [seconds] [interval]
//     Starts a copy of Dirmind.exe watching one folder every 5 s, or at the
//     given interval in seconds (through its settings file), and prints its
//     share of one CPU over the given time (default 60 s), taken from
//     GetProcessTimes.
//
//   bench_pass_bench_win32 --unrelated-writes <path of Dirmind.exe> [seconds]
//     With Jw_cad's key missing, starts a copy of Dirmind.exe watching one
//     folder every 3600 s, removes that folder (so that no pass creates the
//     key), then writes a value of another key under HKCU\SOFTWARE about once
//     per millisecond for the given time (default 10 s) and prints the copy's
//     share of one CPU meanwhile.
//
//   bench_pass_bench_win32 --latency <path of Dirmind.exe> <interval> [writes]
//     Starts a copy of Dirmind.exe watching one folder at the given interval
//     (in seconds), then writes Jw_cad's value from outside the given number
//     of times (default 200), 0.6 to 1.6 s apart, and prints how long each
//     took until the value read back as the folder: median, p99 and max.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../pass_timing.h"
#include "fakes/fake_toolkit.h"
#include "watch/folder_watch.h"
#include "win32/registry.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace {

constexpr wchar_t kJwFolderKey[] = L"SOFTWARE\\Jw_cad\\jw_win\\Folder";
const wchar_t* const kNames[] = {L"File", L"FileC", L"ZUKEI"};

// Jw_cad's three values as they were, put back on destruction.
class SavedJwValues {
public:
    SavedJwValues() {
        HKEY probe = nullptr;
        hadJwCad_ = RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Jw_cad", 0, KEY_READ, &probe) ==
                    ERROR_SUCCESS;
        if (probe) RegCloseKey(probe);
        for (int i = 0; i < 3; ++i) values_[i] = Read(kNames[i]);
    }
    ~SavedJwValues() {
        if (!hadJwCad_) {
            RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Jw_cad");
            return;
        }
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kJwFolderKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        for (int i = 0; i < 3; ++i) {
            if (values_[i]) {
                RegSetValueExW(key, kNames[i], 0, values_[i]->type,
                               reinterpret_cast<const BYTE*>(values_[i]->data.data()),
                               static_cast<DWORD>(values_[i]->data.size()));
            } else {
                RegDeleteValueW(key, kNames[i]);
            }
        }
        RegCloseKey(key);
    }
    SavedJwValues(const SavedJwValues&) = delete;
    SavedJwValues& operator=(const SavedJwValues&) = delete;

private:
    struct Value {
        DWORD type;
        std::string data;
    };
    static std::optional<Value> Read(const wchar_t* name) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, kJwFolderKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                         nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string data(size, '\0');
        if (RegGetValueW(HKEY_CURRENT_USER, kJwFolderKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                         data.data(), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return Value{type, data};
    }
    bool hadJwCad_ = false;
    std::optional<Value> values_[3];
};

void SetJwText(const wchar_t* name, const std::wstring& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kJwFolderKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::optional<std::wstring> GetJwText(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, kJwFolderKey, name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

// A fresh folder in the temporary folder; removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::wstring& name) {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        for (int i = 0; i < 50 && std::filesystem::exists(path_, ec); ++i) {
            std::filesystem::remove_all(path_, ec);
            if (ec) Sleep(100);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring MakeFolder(const std::wstring& name) const {
        std::filesystem::create_directories(path_ + name);
        return path_ + name + L"\\";
    }

private:
    std::wstring path_;
};

// The system's folder test, run at once, its answer handed back through the
// fake event loop.
class SystemFolderProbe : public IFolderProbe {
public:
    explicit SystemFolderProbe(FakeEventLoop& loop) : loop_(loop) {}
    void Listen(IFolderAnswerSink* sink) override { sink_ = sink; }
    void Begin(std::uint32_t ticket, const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
        const bool exists =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        loop_.Post([this, ticket, exists] {
            if (sink_) sink_->OnFolderAnswer(ticket, exists);
        });
    }

private:
    FakeEventLoop& loop_;
    IFolderAnswerSink* sink_ = nullptr;
};

int PassBench(int passes) {
    SavedJwValues saved;
    TempDir dir(L"dirmind-bench");
    const std::wstring folders[] = {dir.MakeFolder(L"Jww"), dir.MakeFolder(L"Other"),
                                    dir.MakeFolder(L"Zukei")};

    // The real registry and folders; the timer and the event loop are doubles.
    Win32Registry registry;
    FakeTimer timer;
    FakeEventLoop loop;
    SystemFolderProbe files(loop);
    struct : IWatchObserver {
        void OnPassReport(PassReport) override {}
    } observer;
    FakeChangeSignal changes;
    FolderWatch watch(registry, files, timer, changes, loop, observer);
    const WatchedFolders watched = {ToCp932(folders[0]), ToCp932(folders[1]), ToCp932(folders[2])};
    if (watch.CheckStart(watched, {true, true, true}, 5.0).problem != StartProblem::None) {
        std::fprintf(stderr, "Start was refused: are the folders there?\n");
        return 1;
    }
    watch.Start(watched, 5.0);
    watch.RunPass();  // the first pass writes the values
    const std::wstring expected = folders[0].substr(0, folders[0].size() - 1);
    if (GetJwText(L"File") != expected) {
        std::fprintf(stderr, "the first pass did not write the values\n");
        return 1;
    }

    const Figures equal = TimePasses(watch, passes, [] {});
    const Figures rewrite = TimePasses(watch, passes, [] { SetJwText(L"File", L"C:\\Elsewhere"); });
    if (GetJwText(L"File") != expected) {
        std::fprintf(stderr, "the rewrite passes did not write the values\n");
        return 1;
    }

    std::printf("passes per case: %d (real registry and folders, fake timer and event loop)\n",
                passes);
    PrintFigures("pass, values equal:", equal);
    PrintFigures("pass, values rewritten:", rewrite, "  (without its 500 ms wait)");
    return 0;
}

double Seconds(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
}

std::optional<double> CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
    return Seconds(kernel) + Seconds(user);
}

// Under Wine, GetProcessTimes gives no times for another process. The host's
// /proc (drive Z:) has them: the process whose command line holds marker;
// utime + stime in clock ticks of 1/100 s.
std::optional<double> HostCpuSeconds(const std::string& marker) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(L"Z:\\proc", ec)) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::ifstream cmdline(entry.path() / L"cmdline", std::ios::binary);
        const std::string args((std::istreambuf_iterator<char>(cmdline)),
                               std::istreambuf_iterator<char>());
        if (args.find(marker) == std::string::npos) continue;
        std::ifstream statFile(entry.path() / L"stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)),
                         std::istreambuf_iterator<char>());
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) return std::nullopt;
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        double ticks = 0;
        // Fields 3 .. 15 of stat follow the command name; utime is 14, stime 15.
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i >= 14) ticks += std::atof(field.c_str());
        }
        return ticks / 100.0;
    }
    return std::nullopt;
}

// A copy of Dirmind.exe in a folder of its own, started with auto-start on
// and one folder to keep at the given interval; ended on destruction.
class WatchingCopy {
public:
    // The folder is named dirName-<this process's id>.
    WatchingCopy(const std::wstring& exe, const std::string& interval, const wchar_t* dirName)
        : dir_(dirName), folder_(dir_.MakeFolder(L"Jww")) {
        const std::wstring copy = dir_.Path() + L"Dirmind.exe";
        if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy the executable\n");
            return;
        }
        // Left, top, three folders, the interval, auto-start on, not minimised.
        const std::string dat =
            "100\r\n100\r\n" + ToCp932(folder_) + "\r\n\r\n\r\n" + interval + "\r\n1\r\n0\r\n";
        std::ofstream(std::filesystem::path(dir_.Path() + L"Dirmind.dat"), std::ios::binary) << dat;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring command = L"\"" + copy + L"\"";
        if (!CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            dir_.Path().c_str(), &si, &pi_)) {
            std::fprintf(stderr, "cannot start the executable\n");
            return;
        }
        WaitForInputIdle(pi_.hProcess, 10000);
    }
    ~WatchingCopy() {
        if (!pi_.hProcess) return;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 10000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    WatchingCopy(const WatchingCopy&) = delete;
    WatchingCopy& operator=(const WatchingCopy&) = delete;

    bool Started() const { return pi_.hProcess != nullptr; }
    const PROCESS_INFORMATION& Process() const { return pi_; }
    // The folder as the registry holds it.
    std::wstring Pinned() const { return folder_.substr(0, folder_.size() - 1); }
    // Waits (timeoutMs at most) until File reads back as the folder.
    bool WaitPinned(DWORD timeoutMs) const {
        for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
            if (GetJwText(L"File") == Pinned()) return true;
            Sleep(20);
        }
        return false;
    }

private:
    TempDir dir_;
    std::wstring folder_;
    PROCESS_INFORMATION pi_{};
};

// The CPU time of a process as far as it can be had: GetProcessTimes, and
// under Wine the host's /proc.
struct CpuReading {
    std::optional<double> system;
    std::optional<double> host;
};

CpuReading ReadCpu(HANDLE process, const std::string& marker) {
    return {CpuSeconds(process), HostCpuSeconds(marker)};
}

void PrintCpuShare(const CpuReading& before, const CpuReading& after, double wall) {
    if (before.system && after.system) {
        std::printf("GetProcessTimes: CPU %.4f s, share %.4f %% of one CPU\n",
                    *after.system - *before.system,
                    100.0 * (*after.system - *before.system) / wall);
    }
    if (before.host && after.host) {
        std::printf("host /proc (Wine): CPU %.2f s, share %.4f %% of one CPU (10 ms ticks)\n",
                    *after.host - *before.host, 100.0 * (*after.host - *before.host) / wall);
    }
}

struct MainWindowSearch {
    DWORD pid;
    bool found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<MainWindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    search->found =
        owner == search->pid && IsWindowVisible(hwnd) && std::wstring(cls) == kMainWindowClass;
    return !search->found;
}

// True once a visible main window of the process is there (its auto-start
// has run before it shows).
bool WaitForMainWindow(DWORD pid, DWORD timeoutMs) {
    MainWindowSearch search{pid, false};
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return true;
        Sleep(20);
    }
    return false;
}

int UnrelatedWritesBench(const std::wstring& exe, int seconds) {
    SavedJwValues saved;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Jw_cad");
    const std::wstring otherKey =
        L"SOFTWARE\\DirmindBench-" + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, otherKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot create the other key\n");
        return 1;
    }
    int result = 0;
    {
        WatchingCopy copy(exe, "3600", L"dirmind-unrelated");
        const PROCESS_INFORMATION& pi = copy.Process();
        const std::wstring folder = copy.Pinned();
        if (!copy.Started() || !WaitForMainWindow(pi.dwProcessId, 20000) ||
            !RemoveDirectoryW(folder.c_str())) {
            std::fprintf(stderr, "the program did not start watching\n");
            result = 1;
        } else {
            const std::string marker = "dirmind-unrelated-" + std::to_string(GetCurrentProcessId());
            const CpuReading before = ReadCpu(pi.hProcess, marker);
            const auto start = std::chrono::steady_clock::now();
            const auto end = start + std::chrono::seconds(seconds);
            DWORD writes = 0;
            while (std::chrono::steady_clock::now() < end) {
                ++writes;
                RegSetValueExW(key, L"Counter", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&writes), sizeof(writes));
                Sleep(1);
            }
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const CpuReading after = ReadCpu(pi.hProcess, marker);
            DWORD exitCode = 0;
            GetExitCodeProcess(pi.hProcess, &exitCode);
            if (exitCode != STILL_ACTIVE) {
                std::fprintf(stderr, "the program ended during the measurement\n");
                result = 1;
            } else {
                std::printf(
                    "%lu writes to HKCU\\%ls in %.1f s (%.2f per ms), Jw_cad's key "
                    "and the watched folder missing\n",
                    static_cast<unsigned long>(writes), otherKey.c_str(), wall,
                    writes / wall / 1000.0);
                PrintCpuShare(before, after, wall);
            }
        }
    }
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, otherKey.c_str());
    return result;
}

int IdleCpuBench(const std::wstring& exe, int seconds, const std::string& interval) {
    SavedJwValues saved;
    WatchingCopy copy(exe, interval, L"dirmind-idle");
    if (!copy.Started()) return 1;
    const PROCESS_INFORMATION& pi = copy.Process();
    // Watching: the first pass, one interval after the start, writes the folder.
    const bool watching = copy.WaitPinned(20000);

    int result = 0;
    if (!watching) {
        std::fprintf(stderr, "the program did not start watching\n");
        result = 1;
    } else {
        const std::string marker = "dirmind-idle-" + std::to_string(GetCurrentProcessId());
        const auto host0 = HostCpuSeconds(marker);
        const auto cpu0 = CpuSeconds(pi.hProcess);
        const auto wall0 = std::chrono::steady_clock::now();
        Sleep(static_cast<DWORD>(seconds) * 1000);
        const auto cpu1 = CpuSeconds(pi.hProcess);
        const auto host1 = HostCpuSeconds(marker);
        const auto wall1 = std::chrono::steady_clock::now();
        const double wall = std::chrono::duration<double>(wall1 - wall0).count();
        DWORD exitCode = 0;
        GetExitCodeProcess(pi.hProcess, &exitCode);
        if (exitCode != STILL_ACTIVE) {
            std::fprintf(stderr, "the program ended during the measurement (exit code %lu)\n",
                         static_cast<unsigned long>(exitCode));
            result = 1;
        } else if (!cpu0 || !cpu1) {
            std::fprintf(stderr, "GetProcessTimes failed\n");
            result = 1;
        } else {
            std::printf("watching every %s s for %.1f s\n", interval.c_str(), wall);
            std::printf("GetProcessTimes: CPU %.4f s, share %.4f %% of one CPU\n", *cpu1 - *cpu0,
                        100.0 * (*cpu1 - *cpu0) / wall);
            if (host0 && host1) {
                std::printf(
                    "host /proc (Wine): CPU %.2f s, share %.4f %% of one CPU"
                    " (10 ms ticks)\n",
                    *host1 - *host0, 100.0 * (*host1 - *host0) / wall);
            }
            std::printf("Windows process id %lu\n", static_cast<unsigned long>(pi.dwProcessId));
        }
    }
    return result;
}

// Waits until File reads back as pinned, told by the registry's own
// notification so that the waiting adds no load; false after timeoutMs.
bool WaitForValue(const std::wstring& pinned, DWORD timeoutMs) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kJwFolderKey, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS) {
        return false;
    }
    HANDLE changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const DWORD start = GetTickCount();
    bool done = false;
    for (;;) {
        RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
        done = GetJwText(L"File") == pinned;
        const DWORD elapsed = GetTickCount() - start;
        if (done || elapsed >= timeoutMs) break;
        WaitForSingleObject(changed, timeoutMs - elapsed);
    }
    CloseHandle(changed);
    RegCloseKey(key);
    return done;
}

int LatencyBench(const std::wstring& exe, const std::string& interval, int writes) {
    SavedJwValues saved;
    WatchingCopy copy(exe, interval, L"dirmind-latency");
    if (!copy.Started()) return 1;
    const std::wstring pinned = copy.Pinned();
    const DWORD timeoutMs = static_cast<DWORD>(std::atof(interval.c_str()) * 1000) + 3000;
    // Written until the program, once it watches, corrects it.
    bool watching = false;
    for (int attempt = 0; attempt < 20 && !watching; ++attempt) {
        SetJwText(L"File", L"C:\\Elsewhere");
        watching = copy.WaitPinned(timeoutMs);
    }
    if (!watching) {
        std::fprintf(stderr, "the program did not start watching\n");
        return 1;
    }
    std::vector<double> ms;
    std::uint32_t seed = 12345;
    for (int i = 0; i < writes; ++i) {
        // Irregular moments, each after the 500 ms wait that follows a rewrite.
        seed = seed * 1664525u + 1013904223u;
        Sleep(600 + (seed >> 16) % 1000);
        SetJwText(L"File", L"C:\\Elsewhere" + std::to_wstring(i));
        const auto written = std::chrono::steady_clock::now();
        if (!WaitForValue(pinned, timeoutMs)) {
            std::fprintf(stderr, "write %d was not corrected within %lu ms\n", i,
                         static_cast<unsigned long>(timeoutMs));
            return 1;
        }
        const auto corrected = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(corrected - written).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%d outside writes at a %s s interval: median %.2f ms  p99 %.2f ms  max %.2f ms\n",
                writes, interval.c_str(), ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());
    return 0;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 1;
    if (argc >= 4 && std::wstring(argv[1]) == L"--latency") {
        const int writes = argc >= 5 ? std::max(1, _wtoi(argv[4])) : 200;
        return LatencyBench(argv[2], ToCp932(argv[3]), writes);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"--unrelated-writes") {
        const int seconds = argc >= 4 ? std::max(1, _wtoi(argv[3])) : 10;
        return UnrelatedWritesBench(argv[2], seconds);
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"--idle-cpu") {
        const int seconds = argc >= 4 ? std::max(1, _wtoi(argv[3])) : 60;
        return IdleCpuBench(argv[2], seconds, argc >= 5 ? ToCp932(argv[4]) : std::string("5"));
    }
    const int passes = std::max(1000, argc >= 2 ? _wtoi(argv[1]) : 2000);
    return PassBench(passes);
}

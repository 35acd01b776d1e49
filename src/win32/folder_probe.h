// Folder tests beside the window's thread: the system's call runs on its
// thread pool, and the answer comes back to the thread that made the probe
// as a message.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "watch/ports.h"

class Win32FolderProbe : public IFolderProbe {
public:
    // Whether a folder exists at a path; it may block for as long as the
    // system does (tens of seconds on a share whose server does not answer).
    using FolderTest = std::function<bool(const std::wstring& path)>;

    // GetFileAttributesW.
    Win32FolderProbe();
    explicit Win32FolderProbe(FolderTest test);
    // Nothing waits for a test still blocked, neither this nor the process's
    // exit; its answer is dropped.
    ~Win32FolderProbe() override;
    Win32FolderProbe(const Win32FolderProbe&) = delete;
    Win32FolderProbe& operator=(const Win32FolderProbe&) = delete;

    void Listen(IFolderAnswerSink* sink) override { sink_ = sink; }
    // Where the pool has no thread to give, the test runs here.
    void Begin(std::uint32_t ticket, const std::string& path) override;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    std::shared_ptr<const FolderTest> test_;
    IFolderAnswerSink* sink_ = nullptr;
    HWND window_ = nullptr;  // message-only, takes the answers
};

// Runs job on the system's thread pool, saying that it may run long, so that
// a blocked call does not hold a thread the pool would give to the next one;
// where the pool has no thread to give, runs it here.
void RunBeside(std::function<void()> job);

// GetFileAttributesW of path, waited for at most milliseconds; none when it
// has not answered by then.
std::optional<DWORD> AttributesWithin(const std::wstring& path, DWORD milliseconds);

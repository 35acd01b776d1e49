// Folder tests beside the window's thread: the system's call runs on its
// thread pool, and the answer comes back to the thread that made the probe:
// it is kept in the probe's own memory, and a message that carries nothing
// wakes that thread to take it, so that a message posted from another
// program can never pass for an answer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    // Answers not yet taken, by ticket; shared with the tests under way.
    struct Mailbox {
        std::mutex lock;
        std::vector<std::pair<std::uint32_t, bool>> answers;
    };

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void TakeAnswers();

    std::shared_ptr<const FolderTest> test_;
    std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>();
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

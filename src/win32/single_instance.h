// One running copy per executable file in the user's session. A second start
// of the same file, however it is reached, brings the first copy's window
// forward and ends; copies of other files run side by side.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The file at a path as the file system knows it, the same through every
// path that reaches it (another drive letter, a share, a junction, a hard
// link, another case, "..", a short name): its volume and its index there.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};
// nullopt when the file cannot be opened.
std::optional<FileIdentity> IdentityOf(const std::wstring& path);

class SingleInstance {
public:
    // Claims the executable at exePath for this process, for as long as the
    // object lives. When the system gives no claim at all, this copy runs.
    explicit SingleInstance(const std::wstring& exePath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // When another running copy of the same file holds the claim and its main
    // window appears within timeoutMs: restores it if minimised and brings it
    // (or the box it has open) to the front without waiting on its thread,
    // and returns true. False when this copy is to run: the claim was free,
    // or what holds it shows no main window of this file.
    bool BringRunningCopyForward(DWORD timeoutMs);
    // The copy that runs: records its main window for later starts to find.
    void Publish(HWND window);

private:
    bool IsRunningCopy(HWND window) const;

    std::optional<FileIdentity> identity_;
    HANDLE mapping_ = nullptr;
    // The running copy's main window, as HandleToLong gives it; 0 until known.
    volatile LONG* window_ = nullptr;
    bool first_ = true;
};

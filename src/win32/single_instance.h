// One running copy per executable file in the user's session. A second start
// of the same file, however it is reached, brings the first copy's window
// forward and ends; copies of other files run side by side.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "win32/handles.h"

// The file at a path as the file system knows it, the same through every
// path that reaches it (another drive letter, a share, a junction, a hard
// link, another case, "..", a short name): its volume and its ID there.
struct FileIdentity {
    std::uint64_t volume = 0;
    // The 128-bit file ID (Windows 8 on), else the 64-bit index in its first
    // eight bytes.
    std::array<std::uint8_t, 16> id{};
    // A file system that gives no ID at all (all zeros, as some network
    // servers report): a hash of the path, so that files in different folders
    // are never taken for one. 0 where the ID tells.
    std::uint64_t pathHash = 0;
    bool operator==(const FileIdentity&) const = default;
};
// The identity of the file at path from what the file system gives.
FileIdentity IdentityFrom(std::uint64_t volume, const std::array<std::uint8_t, 16>& id,
                          const std::wstring& path);
// nullopt when the file cannot be opened.
std::optional<FileIdentity> IdentityOf(const std::wstring& path);
// The name of the claim on that file in the user's session.
std::wstring ClaimName(const FileIdentity& file);

class SingleInstance {
public:
    // Claims the executable at exePath for this process, for as long as the
    // object lives. When the system gives no claim at all, this copy runs.
    explicit SingleInstance(const std::wstring& exePath);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // When another running copy of the same file holds the claim and its main
    // window appears within timeoutMs: restores it if minimised and brings it
    // (or the box it has open, also while the window itself is not yet shown)
    // to the front without waiting on its thread, and returns true. False when this copy is to run:
    // the claim was free, or what holds it shows no main window of this file.
    bool BringRunningCopyForward(DWORD timeoutMs);
    // The copy that runs: records its main window for later starts to find.
    void Publish(HWND window);

private:
    bool IsRunningCopy(HWND window) const;

    std::optional<FileIdentity> identity_;
    UniqueHandle mapping_;
    UniqueView view_;
    // The running copy's main window in the view, as HandleToLong gives it;
    // 0 until known.
    volatile LONG* window_ = nullptr;
    bool first_ = true;
};

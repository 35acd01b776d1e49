// One running copy per executable file in the user's session. A second start
// of the same file, whatever form of its path it was started with, brings the
// first copy's window forward and ends; copies in other folders run side by
// side.
#pragma once

#include <windows.h>

#include <string>

// The path in the one form that every way of naming the same file gives:
// absolute, "." and ".." resolved, short names made long, upper case.
std::wstring NormalisedPath(const std::wstring& path);

class SingleInstance {
public:
    // Claims exePath for this process, for as long as the object lives. When
    // the system gives no claim at all, this copy runs as the first.
    explicit SingleInstance(const std::wstring& exePath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Another process of the same file holds the claim.
    bool Taken() const { return !first_; }
    // The first copy: records its main window for later starts to find.
    void Publish(HWND window);
    // A later start: waits, up to timeoutMs, for the first copy's main window
    // to exist, then restores it if minimised and brings it (or the box it has
    // open) to the front. False when no window appeared in time.
    bool BringFirstForward(DWORD timeoutMs);

private:
    HANDLE mapping_ = nullptr;
    // The first copy's main window, as HandleToLong gives it; 0 until known.
    volatile LONG* window_ = nullptr;
    bool first_ = true;
};

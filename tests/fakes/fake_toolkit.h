// Test doubles of the window toolkit, the watch timer and the event loop: they
// hold the state a real control holds and record what the logic did to them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/toolkit.h"
#include "watch/event_loop.h"
#include "watch/ports.h"

class FakeEdit : public IEdit {
public:
    std::string Text() const override { return text; }
    bool TextIsExact() const override { return exact; }
    void SetText(const std::string& t) override { text = t; }
    void SetEnabled(bool e) override { enabled = e; }
    void Focus() override;
    bool HasFocus() const override { return focus && *focus == this; }

    std::string text;
    bool exact = true;  // false: text is the look-alike of what was typed
    bool enabled = true;
    int* focusCounter = nullptr;  // shared: which edit got the focus last
    int focusOrder = 0;           // value of *focusCounter when focused
    // Shared: the control with the focus.
    const void** focus = nullptr;
};

class FakeButton : public IButton {
public:
    void SetEnabled(bool e) override { enabled = e; }
    void Focus() override {
        if (focus) *focus = this;
    }
    bool HasFocus() const override { return focus && *focus == this; }
    bool enabled = true;
    const void** focus = nullptr;  // shared: the control with the focus
};

class FakeCheckBox : public ICheckBox {
public:
    bool Checked() const override { return checked; }
    void SetChecked(bool c) override { checked = c; }
    bool checked = false;
};

class FakeStatusLine : public IStatusLine {
public:
    // Records what a user would see: every text as it is painted.
    void Show(const std::string& t) override {
        text = t;
        shown.push_back(t);
    }
    std::string text;
    std::vector<std::string> shown;
};

// A timer that never ticks by itself: a test runs the pass while it is armed.
// Can refuse the system timer.
class FakeTimer : public IWatchTimer {
public:
    void Arm(std::uint32_t ms) override;
    void Disarm() override { armed = false; }

    bool armed = false;
    std::uint32_t interval = 0;  // of the last Arm
    bool refuse = false;         // the system has no timer left
    int starts = 0;              // how often a fresh interval was started
};

// A change notification that tells nothing by itself: a test calls
// FolderWatch::OnChange as the message loop would. Can be unavailable.
class FakeChangeSignal : public IChangeSignal {
public:
    void Arm(const std::string& keyPath) override {
        ++arms;
        this->keyPath = keyPath;
        listening = available;
    }
    void Disarm() override { listening = false; }

    bool available = true;  // false: no notification can be had
    bool listening = false;
    int arms = 0;
    std::string keyPath;
};

class FakeFolderDialog : public IFolderDialog {
public:
    FolderChoice Pick(const std::string& initialFolder, const std::string& fileName) override;

    // What the user does in a run: returns the chosen path to confirm,
    // nullopt to cancel. Without it every run is cancelled.
    std::function<std::optional<std::string>()> onPick;
    // Every confirmed choice is one that code page 932 cannot write.
    bool notShiftJis = false;
    int runs = 0;
    std::vector<std::string> initialFoldersSeen;
    std::vector<std::string> fileNamesSeen;
};

class FakeWindow : public IWindow {
public:
    int Left() const override { return left; }
    int Top() const override { return top; }
    void MoveTo(int l, int t) override {
        left = l;
        top = t;
        ++moves;
    }
    void Minimize() override { minimized = true; }
    void ShowBusy(bool b) override { busy = b; }
    void Close() override {
        ++closeRequests;
        if (onClose) onClose();
    }

    int left = 192;
    int top = 107;
    int moves = 0;
    bool minimized = false;
    bool busy = false;
    int closeRequests = 0;
    std::function<void()> onClose;
};

class FakeBoxes : public IMessageBoxes {
public:
    void ShowError(const std::string& m) override {
        errors.push_back(m);
        if (onError) onError(m);
    }
    void ShowAppError(const std::string& t) override {
        appErrors.push_back(t);
        if (onAppError) onAppError(t);
    }
    void ShowFileError(const std::string& t, const FilePath& path,
                       const std::string& reason) override {
        fileErrors.push_back({t, path, reason});
    }
    struct FileError {
        std::string text;
        FilePath path;
        std::string reason;
        bool operator==(const FileError&) const = default;
    };
    std::vector<std::string> errors;
    std::vector<std::string> appErrors;
    std::vector<FileError> fileErrors;
    std::function<void(const std::string&)> onError;
    std::function<void(const std::string&)> onAppError;
};

// A message queue of callbacks and a counter that the test drives. Waiting
// advances the counter by the time waited (or to the next posted message).
class FakeEventLoop : public IEventLoop {
public:
    void ProcessMessages() override;
    void WaitForMessage(std::uint32_t ms) override;
    std::uint32_t TickCount() override;

    // A message that arrives once the counter has advanced by `after` ms from
    // now (0: already queued).
    void Post(std::function<void()> message, std::uint32_t after = 0);
    // Time passes outside any handler, as between two ticks; messages
    // already posted keep their distance from now.
    void Pass(std::uint32_t ms) {
        now += ms;
        elapsed_ += ms;
        for (Pending& p : queue_) p.due += ms;
    }

    std::uint32_t now = 0;
    std::uint32_t step = 1;    // how far one counter reading advances
    int pumps = 0;             // ProcessMessages calls
    int waits = 0;             // WaitForMessage calls
    std::uint64_t waited = 0;  // total ms blocked in WaitForMessage

private:
    struct Pending {
        std::uint64_t due;
        std::function<void()> message;
    };
    std::deque<Pending> queue_;
    std::uint64_t elapsed_ = 0;  // unwrapped time, to order the queue
};

class FakeApplication : public IApplication {
public:
    FilePath ExeName() const override { return exeName; }
    void Terminate() override { terminated = true; }

    FilePath exeName = L"C:\\Tools\\Dirmind.exe";
    bool terminated = false;
};

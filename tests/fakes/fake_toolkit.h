// Test doubles of the window toolkit: they hold the state a real control
// holds and record what the logic did to them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/toolkit.h"

class FakeEdit : public IEdit {
public:
    std::string GetText() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    void SetFocus() override;
    bool HasFocus() const override { return focus && *focus == this; }

    std::string text;
    bool enabled = true;
    int* focusCounter = nullptr;  // shared: which edit got the focus last
    int focusOrder = 0;           // value of *focusCounter when focused
    // Shared: the control with the focus.
    const void** focus = nullptr;
};

class FakeButton : public IButton {
public:
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
    void SetFocus() override {
        if (focus) *focus = this;
    }
    bool HasFocus() const override { return focus && *focus == this; }
    bool enabled = true;
    const void** focus = nullptr;  // shared: the control with the focus
};

class FakeCheckBox : public ICheckBox {
public:
    bool GetChecked() const override { return checked; }
    void SetChecked(bool c) override { checked = c; }
    bool checked = false;
};

class FakeStatusLine : public IStatusLine {
public:
    void SetSimpleText(const std::string& t) override { text = t; }
    // Records what a user would see: the text at every synchronous repaint.
    void RepaintNow() override { shown.push_back(text); }
    std::string text;
    std::vector<std::string> shown;
};

// A timer that keeps its properties; it never ticks by itself: a test calls
// the handler when Armed(). Can refuse the system timer.
class FakeTimer : public ITimer {
public:
    void SetEnabled(bool e) override;
    bool Enabled() const override { return enabled; }
    void SetInterval(std::uint32_t ms) override;
    std::uint32_t Interval() const override { return interval; }
    bool Armed() const { return enabled && interval != 0; }

    bool enabled = false;
    std::uint32_t interval = 1000;
    bool refuse = false;  // the system has no timer left
    int starts = 0;       // how often a fresh interval was started

private:
    void Update();
};

class FakeOpenDialog : public IOpenDialog {
public:
    void SetInitialDir(const std::string& f) override { initialDir = f; }
    void SetFileName(const std::string& n) override { fileName = n; }
    bool Execute() override;
    std::string GetFileName() const override { return fileName; }

    std::string initialDir;
    std::string fileName;
    // What the user does in a run: sets fileName and returns true to confirm,
    // returns false to cancel. Without it every run is cancelled.
    std::function<bool(FakeOpenDialog&)> onExecute;
    int runs = 0;
    std::vector<std::string> initialDirsSeen;
    std::vector<std::string> fileNamesSeen;
};

class FakeWindow : public IWindow {
public:
    int GetLeft() const override { return left; }
    int GetTop() const override { return top; }
    void SetLeft(int l) override { left = l; }
    void SetTop(int t) override { top = t; }
    void Minimize() override { minimized = true; }
    void Close() override {
        ++closeRequests;
        if (onClose) onClose();
    }

    int left = 192;
    int top = 107;
    bool minimized = false;
    int closeRequests = 0;
    std::function<void()> onClose;
};

class FakeBoxes : public IMessageBoxes {
public:
    void ShowError(const std::string& m) override {
        errors.push_back(m);
        if (onError) onError(m);
    }
    void ShowAppError(const std::string& t) override { appErrors.push_back(t); }
    std::vector<std::string> errors;
    std::vector<std::string> appErrors;
    std::function<void(const std::string&)> onError;
};

// A message queue of callbacks and a counter that the test drives. Waiting
// advances the counter by the time waited (or to the next posted message).
class FakeApplication : public IApplication {
public:
    void ProcessMessages() override;
    void WaitForMessage(std::uint32_t ms) override;
    std::uint32_t TickCount() override;
    std::string ExeName() const override { return exeName; }
    void Terminate() override { terminated = true; }

    // A message that arrives once the counter has advanced by `after` ms from
    // now (0: already queued).
    void Post(std::function<void()> message, std::uint32_t after = 0);

    std::string exeName = "C:\\Tools\\Dirmind.exe";
    bool terminated = false;
    std::uint32_t now = 0;
    std::uint32_t step = 1;  // how far one counter reading advances
    int pumps = 0;           // ProcessMessages calls
    int waits = 0;           // WaitForMessage calls
    std::uint64_t waited = 0;  // total ms blocked in WaitForMessage

private:
    struct Pending {
        std::uint64_t due;
        std::function<void()> message;
    };
    std::deque<Pending> queue_;
    std::uint64_t elapsed_ = 0;  // unwrapped time, to order the queue
};

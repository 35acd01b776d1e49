// What the watch needs of the system besides the registry and the event
// loop: the folder test, the interval timer and the change notification.
// Adapters implement these without knowing the watch.
#pragma once

#include <cstdint>
#include <string>

// Takes the answers of folder tests, on the watch's thread.
class IFolderAnswerSink {
public:
    // The test begun with ticket has answered: whether the folder exists.
    virtual void OnFolderAnswer(std::uint32_t ticket, bool exists) noexcept = 0;

protected:
    ~IFolderAnswerSink() = default;
};

// Tests whether folders exist beside the watch's thread: a test of a folder
// on a share blocks for as long as the network does.
class IFolderProbe {
public:
    virtual ~IFolderProbe() = default;
    // Answers go to sink from now on; none after Listen(nullptr).
    virtual void Listen(IFolderAnswerSink* sink) = 0;
    // Begins a test of whether a folder exists at path (a file or an
    // unreachable path counts as missing). Its answer is handed to the sink
    // with ticket from the message loop, also inside a wait that dispatches
    // messages, never inside this call; a test that blocks answers late or
    // never.
    virtual void Begin(std::uint32_t ticket, const std::string& path) = 0;
};

// The timer whose ticks run the passes.
class IWatchTimer {
public:
    virtual ~IWatchTimer() = default;
    // Starts a fresh interval that repeats until Disarm. Throws TimerRefused
    // when the system has no timer to give.
    virtual void Arm(std::uint32_t milliseconds) = 0;
    // No tick comes any more, not even one already due.
    virtual void Disarm() = 0;
};

// Tells the watch that Jw_cad's folder values may have changed. One kernel
// notification is held while it listens, so that a quiet registry costs
// nothing.
class IChangeSignal {
public:
    virtual ~IChangeSignal() = default;
    // Listens for changes to the values of keyPath (under the current user's
    // root) and for the key's deletion and creation: each change from now on
    // is told once to the watch (FolderWatch::OnChange), from the main message
    // loop once the handler that runs has returned; changes close together
    // may be told as one. Returns at once when it already listens. Where no
    // notification can be had, none is told: the interval passes alone keep
    // the values, and the next Arm asks again.
    virtual void Arm(const std::string& keyPath) = 0;
    // No more changes are told, not even one already signalled.
    virtual void Disarm() = 0;
};

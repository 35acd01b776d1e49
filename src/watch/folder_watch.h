// The watch: keeps Jw_cad's three folder values in the current user's
// registry pinned to the chosen folders, one pass at every tick of its timer
// and one as soon as the registry tells of a change.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "util/folder_count.h"
#include "watch/event_loop.h"
#include "watch/folder_answers.h"
#include "watch/ports.h"
#include "watch/registry_port.h"

// For each folder: whether its name is the one typed, with no character that
// code page 932 could only approximate.
using FolderNamesExact = std::array<bool, kFolderCount>;

// What a pass found, in the order a pass reports it.
enum class PassReport {
    Searching,      // the pass has begun
    FolderMissing,  // a watched folder is missing: nothing read or written
    Changed,        // differing values were written; the 500 ms wait follows
    Resumed,        // the pass is over and the watch goes on
};

class IWatchObserver {
public:
    virtual void OnPassReport(PassReport report) = 0;

protected:
    ~IWatchObserver() = default;
};

// Why the watch cannot start; Stopped: a stop came during the check.
enum class StartProblem { None, NoFolder, FolderName, FolderMissing, IntervalOutOfRange, Stopped };

struct StartCheck {
    StartProblem problem = StartProblem::None;
    std::size_t folder = 0;  // with FolderName and FolderMissing: the folder
};

class FolderWatch {
public:
    FolderWatch(IRegistry& registry, IFolderProbe& probe, IWatchTimer& timer,
                IChangeSignal& changes, IEventLoop& loop, IWatchObserver& observer);
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // The first problem with these inputs, in this order: every folder empty;
    // then for each folder that is not empty, in turn, a name that is not
    // exact and a folder that does not exist; an interval outside its range.
    // The folders are tested anew, and their answers waited for with
    // messages dispatched (FolderAnswers::AtStart); a Stop meanwhile ends
    // the check.
    StartCheck CheckStart(const WatchedFolders& folders, const FolderNamesExact& namesExact,
                          double intervalSeconds);
    // Arms the timer and, when it is had, takes the folders and the interval
    // (both checked) and listens for changes; the first interval pass comes
    // one interval later. Throws TimerRefused, and then nothing has changed.
    void Start(const WatchedFolders& folders, double intervalSeconds);
    // Disarms the timer and stops listening; a pass waiting after its rewrite
    // or for a folder's answer ends with the wait, and so does a start's
    // check.
    void Stop();
    bool Running() const { return running_; }

    // One pass: with every watched folder present (FolderAnswers::AllThere;
    // a stop while it waits for an answer ends the pass), reads the three
    // values and,
    // when one differs from its folder (letter case aside), writes every
    // watched folder; then re-arms the timer. Registry failures are swallowed:
    // the next pass tries again. A refused re-arm ends the watch as Stop does
    // and throws TimerRefused. Called during a pass, it runs once that pass is
    // over.
    void RunPass();
    // The registry told of a change: a pass at once, or, during a pass, once
    // that pass is over. Ignored once the watch has stopped.
    void OnChange();

private:
    void Pass();
    void Rearm();
    void ReadValues();
    bool WriteFolders();

    IRegistry& registry_;
    IWatchTimer& timer_;
    IChangeSignal& changes_;
    IEventLoop& loop_;
    IWatchObserver& observer_;
    FolderAnswers answers_;
    WatchedFolders folders_;
    WatchedFolders lastRead_;
    double intervalSeconds_ = 0;
    bool running_ = false;
    unsigned stops_ = 0;  // how many stops there were
    bool inPass_ = false;
    bool passRequested_ = false;  // during a pass: another one follows it
};

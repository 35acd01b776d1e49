// Which answer of a folder test serves, and for how long. A test runs beside
// the watch's thread, since one of a folder on a share blocks for as long as
// the network does; its answer comes back later and carries its age. Slow is
// not missing: what needs an answer waits for it, with messages dispatched,
// up to a limit.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "util/folder_count.h"
#include "watch/event_loop.h"
#include "watch/ports.h"

// The folders for Jw_cad's values File (JWW files), FileC (other files) and
// ZUKEI (figure files), in that order; an empty one is not watched.
using WatchedFolders = std::array<std::string, kFolderCount>;

class FolderAnswers : private IFolderAnswerSink {
public:
    // How long answers are waited for: at a start, for all folders together
    // from the click; in a pass, for each test from its beginning. A share
    // that has dropped its idle session reconnects (name resolution,
    // negotiation, log-on) in about 1 to 2 s; a dead one is told soon after.
    static constexpr std::uint32_t kWaitLimitMs = 3000;
    // How long a folder's last answer serves a pass while a newer test runs.
    static constexpr std::uint32_t kAnswerFreshForMs = 3000;
    // How long a pass waits for the tests it begins itself: a local disk
    // answers well within it, so that a folder deleted there is missed by the
    // next pass, not by one up to kAnswerFreshForMs later.
    static constexpr std::uint32_t kOwnAnswerMs = 50;

    FolderAnswers(IFolderProbe& probe, IEventLoop& loop);
    ~FolderAnswers();
    FolderAnswers(const FolderAnswers&) = delete;
    FolderAnswers& operator=(const FolderAnswers&) = delete;

    // For a start: each folder that is not empty is tested anew (or by the
    // test already under way), and only those answers count. Waits, with
    // messages dispatched, until each has answered, kWaitLimitMs have passed
    // or stopped() holds. For each folder: whether it exists; false for one
    // that has not answered.
    std::array<bool, kFolderCount> AtStart(const WatchedFolders& folders,
                                           const std::function<bool()>& stopped);
    // For a pass: whether every folder that is not empty exists. A test of
    // each begins unless one is under way, and the tests begun are waited
    // for up to kOwnAnswerMs, with messages dispatched. A last answer at most
    // kAnswerFreshForMs old serves; without one, the folder's test under way
    // is waited for, with messages dispatched, until kWaitLimitMs after it
    // began or until stopped() holds; a folder still without an answer then
    // counts as missing.
    bool AllThere(const WatchedFolders& folders, const std::function<bool()>& stopped);

private:
    enum class Found { There, Missing, Pending };
    struct Folder {
        bool answered = false;
        bool exists = false;
        std::uint32_t answeredAt = 0;
        bool underWay = false;
        std::uint32_t ticket = 0;
        std::uint32_t begunAt = 0;
    };

    void OnFolderAnswer(std::uint32_t ticket, bool exists) noexcept override;
    // The folder's entry, with a test under way.
    Folder& Test(const std::string& path, std::uint32_t now);
    // What serves a pass now.
    Found InPass(const std::string& path, std::uint32_t now) const;

    IFolderProbe& probe_;
    IEventLoop& loop_;
    // By path, so that two fields naming one folder share its test. Ages are
    // differences of the loop's counter, so an age is taken modulo 2^32 ms.
    std::map<std::string, Folder> folders_;
    std::uint32_t lastTicket_ = 0;
};

#include "watch/folder_answers.h"

#include <algorithm>

FolderAnswers::FolderAnswers(IFolderProbe& probe, IEventLoop& loop) : probe_(probe), loop_(loop) {
    probe_.Listen(this);
}

FolderAnswers::~FolderAnswers() { probe_.Listen(nullptr); }

void FolderAnswers::OnFolderAnswer(std::uint32_t ticket, bool exists) noexcept {
    for (auto& entry : folders_) {
        Folder& folder = entry.second;
        if (folder.underWay && folder.ticket == ticket) {
            folder.underWay = false;
            folder.answered = true;
            folder.exists = exists;
            folder.answeredAt = loop_.TickCount();
            return;
        }
    }
}

FolderAnswers::Folder& FolderAnswers::Test(const std::string& path, std::uint32_t now) {
    Folder& folder = folders_[path];
    // At most one test of a folder at a time: a blocked one is not joined by
    // more.
    if (!folder.underWay) {
        folder.underWay = true;
        folder.ticket = ++lastTicket_;
        folder.begunAt = now;
        probe_.Begin(folder.ticket, path);
    }
    return folder;
}

FolderAnswers::Found FolderAnswers::InPass(const std::string& path, std::uint32_t now) const {
    const auto found = folders_.find(path);
    if (found == folders_.end()) return Found::Missing;
    const Folder& folder = found->second;
    if (folder.answered && now - folder.answeredAt <= kAnswerFreshForMs) {
        return folder.exists ? Found::There : Found::Missing;
    }
    if (folder.underWay && now - folder.begunAt <= kWaitLimitMs) return Found::Pending;
    return Found::Missing;
}

std::array<bool, kFolderCount> FolderAnswers::AtStart(const WatchedFolders& folders,
                                                      const std::function<bool()>& stopped) {
    // Folders no longer watched are forgotten, unless a test of theirs is
    // still under way.
    std::erase_if(folders_, [&folders](const auto& entry) {
        return !entry.second.underWay &&
               std::find(folders.begin(), folders.end(), entry.first) == folders.end();
    });
    const std::uint32_t now = loop_.TickCount();
    for (const std::string& path : folders) {
        if (!path.empty()) Test(path, now).answered = false;
    }
    const auto answered = [this, &folders] {
        return std::all_of(folders.begin(), folders.end(), [this](const std::string& path) {
            return path.empty() || folders_[path].answered;
        });
    };
    if (!answered()) {
        DispatchMessagesUntil(loop_, kWaitLimitMs, [&] { return stopped() || answered(); });
    }
    std::array<bool, kFolderCount> there{};
    for (std::size_t i = 0; i < kFolderCount; ++i) {
        const auto found = folders_.find(folders[i]);
        there[i] = found != folders_.end() && found->second.answered && found->second.exists;
    }
    return there;
}

bool FolderAnswers::AllThere(const WatchedFolders& folders, const std::function<bool()>& stopped) {
    const std::uint32_t begun = loop_.TickCount();
    const std::uint32_t firstTicket = lastTicket_ + 1;
    for (const std::string& path : folders) {
        if (!path.empty()) Test(path, begun);
    }
    const auto ownUnderWay = [this, &folders, firstTicket] {
        return std::any_of(folders.begin(), folders.end(), [&](const std::string& path) {
            if (path.empty()) return false;
            const Folder& folder = folders_[path];
            return folder.underWay && folder.ticket >= firstTicket;
        });
    };
    if (ownUnderWay()) {
        DispatchMessagesUntil(loop_, kOwnAnswerMs, [&] { return stopped() || !ownUnderWay(); });
    }
    // The time until the last pending test reaches its limit; 0 for none.
    const auto pendingFor = [this, &folders]() -> std::uint32_t {
        const std::uint32_t now = loop_.TickCount();
        std::uint32_t longest = 0;
        for (const std::string& path : folders) {
            if (path.empty() || InPass(path, now) != Found::Pending) continue;
            longest = std::max(longest, kWaitLimitMs - (now - folders_[path].begunAt) + 1);
        }
        return longest;
    };
    // A pass dispatches messages only when it has to wait.
    for (std::uint32_t wait = pendingFor(); wait != 0 && !stopped(); wait = pendingFor()) {
        DispatchMessagesUntil(loop_, wait, [&] { return stopped() || pendingFor() == 0; });
    }
    const std::uint32_t now = loop_.TickCount();
    return std::all_of(folders.begin(), folders.end(), [&](const std::string& path) {
        return path.empty() || InPass(path, now) == Found::There;
    });
}

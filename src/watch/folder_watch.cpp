#include "watch/folder_watch.h"

#include <algorithm>
#include <new>

#include "util/sjis.h"
#include "watch/interval.h"
#include "watch/registry_key.h"

namespace {

constexpr char kMainKey[] = "SOFTWARE\\Jw_cad\\jw_win\\";
constexpr char kSection[] = "Folder";
constexpr std::array<const char*, kWatchedCount> kValueNames = {"File", "FileC", "ZUKEI"};
constexpr std::uint32_t kChangedWaitMs = 500;

// The folder as the registry holds it once "\" is appended: a folder typed
// without its trailing "\" is taken as if it had one, so that it compares
// equal to what was written for it and is written whole. A 0x5C that is the
// second byte of a double-byte character is no trailing "\".
std::string AsFolderText(const std::string& folder) {
    return EndsWithBackslash(folder) ? folder : folder + "\\";
}

}  // namespace

FolderWatch::FolderWatch(IRegistry& registry, IFolderProbe& probe, IWatchTimer& timer,
                         IEventLoop& loop, IWatchObserver& observer)
    : registry_(registry), probe_(probe), timer_(timer), loop_(loop), observer_(observer) {}

StartCheck FolderWatch::CheckStart(const WatchedFolders& folders, double intervalSeconds) const {
    if (std::all_of(folders.begin(), folders.end(), [](const auto& f) { return f.empty(); })) {
        return {StartProblem::NoFolder};
    }
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (!folders[i].empty() && !probe_.FolderExists(folders[i])) {
            return {StartProblem::FolderMissing, i};
        }
    }
    if (!IntervalInRange(intervalSeconds)) return {StartProblem::IntervalOutOfRange};
    return {};
}

void FolderWatch::Start(const WatchedFolders& folders, double intervalSeconds) {
    folders_ = folders;
    intervalSeconds_ = intervalSeconds;
    running_ = true;
    timer_.Arm(IntervalMilliseconds(intervalSeconds_));
}

void FolderWatch::Stop() {
    running_ = false;
    timer_.Disarm();
}

void FolderWatch::RunPass() {
    timer_.Disarm();
    observer_.OnPassReport(PassReport::Searching);

    const bool foldersExist = std::all_of(folders_.begin(), folders_.end(), [this](const auto& f) {
        return f.empty() || probe_.FolderExists(f);
    });
    if (!foldersExist) {
        observer_.OnPassReport(PassReport::FolderMissing);
    } else {
        ReadValues();
        bool rewrite = false;
        for (std::size_t i = 0; i < kWatchedCount; ++i) {
            if (!folders_[i].empty() &&
                UpperCase(lastRead_[i]) != UpperCase(AsFolderText(folders_[i]))) {
                rewrite = true;
            }
        }
        if (rewrite && WriteFolders()) {
            observer_.OnPassReport(PassReport::Changed);
            DispatchMessagesFor(loop_, kChangedWaitMs);
            // Stopped during the wait (Stop, Exit, the window's close): the
            // watch ended for good, unless a Start came after the Stop.
            if (!running_) return;
        }
        observer_.OnPassReport(PassReport::Resumed);
    }
    timer_.Arm(IntervalMilliseconds(intervalSeconds_));
}

void FolderWatch::ReadValues() {
    // Values of an earlier pass never stand in for a failed read: a value not
    // read stays empty, which equals no folder, so it is rewritten.
    for (std::string& value : lastRead_) value.clear();
    try {
        RegistryKey key(registry_, kMainKey);
        for (std::size_t i = 0; i < kWatchedCount; ++i) {
            lastRead_[i] = key.ReadText(kSection, kValueNames[i], "") + "\\";
        }
    } catch (const RegistryError&) {
    } catch (const std::bad_alloc&) {
    }
}

bool FolderWatch::WriteFolders() {
    // Values written before a failure stay written; the next pass finds the
    // rest differing and tries again.
    try {
        RegistryKey key(registry_, kMainKey);
        for (std::size_t i = 0; i < kWatchedCount; ++i) {
            if (folders_[i].empty()) continue;
            const std::string text = AsFolderText(folders_[i]);
            key.WriteText(kSection, kValueNames[i], text.substr(0, text.size() - 1));
        }
        return true;
    } catch (const RegistryError&) {
    } catch (const std::bad_alloc&) {
    }
    return false;
}

#include "watch/folder_watch.h"

#include <algorithm>
#include <new>
#include <optional>

#include "util/errors.h"
#include "util/sjis.h"
#include "watch/interval.h"
#include "watch/registry_key.h"

namespace {

constexpr char kMainKey[] = "SOFTWARE\\Jw_cad\\jw_win\\";
constexpr char kSection[] = "Folder";
constexpr std::array<const char*, kFolderCount> kValueNames = {"File", "FileC", "ZUKEI"};
constexpr std::uint32_t kChangedWaitMs = 500;

// The folder as the registry holds it once "\" is appended: a folder typed
// without its trailing "\" is taken as if it had one, so that it compares
// equal to what was written for it and is written whole. A 0x5C that is the
// second byte of a double-byte character is no trailing "\".
std::string AsFolderText(const std::string& folder) {
    return EndsWithBackslash(folder) ? folder : folder + "\\";
}

// The key whose changes are told: the main key's section.
std::string FolderKey() { return kMainKey + std::string(kSection); }

}  // namespace

FolderWatch::FolderWatch(IRegistry& registry, IFolderProbe& probe, IWatchTimer& timer,
                         IChangeSignal& changes, IEventLoop& loop, IWatchObserver& observer)
    : registry_(registry),
      timer_(timer),
      changes_(changes),
      loop_(loop),
      observer_(observer),
      answers_(probe, loop) {}

StartCheck FolderWatch::CheckStart(const WatchedFolders& folders,
                                   const FolderNamesExact& namesExact, double intervalSeconds) {
    if (std::all_of(folders.begin(), folders.end(), [](const auto& f) { return f.empty(); })) {
        return {StartProblem::NoFolder};
    }
    // The folders up to the first name that is not exact are tested, all at
    // once; an approximated name may name another folder that exists.
    WatchedFolders tested;
    std::optional<std::size_t> inexact;
    for (std::size_t i = 0; i < folders.size() && !inexact; ++i) {
        if (folders[i].empty()) continue;
        if (namesExact[i]) {
            tested[i] = folders[i];
        } else {
            inexact = i;
        }
    }
    const unsigned stops = stops_;
    const auto there = answers_.AtStart(tested, [this, stops] { return stops_ != stops; });
    if (stops_ != stops) return {StartProblem::Stopped};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (inexact == i) return {StartProblem::FolderName, i};
        if (!tested[i].empty() && !there[i]) return {StartProblem::FolderMissing, i};
    }
    if (!IntervalInRange(intervalSeconds)) return {StartProblem::IntervalOutOfRange};
    return {};
}

void FolderWatch::Start(const WatchedFolders& folders, double intervalSeconds) {
    timer_.Arm(IntervalMilliseconds(intervalSeconds));
    folders_ = folders;
    intervalSeconds_ = intervalSeconds;
    running_ = true;
    changes_.Arm(FolderKey());
}

void FolderWatch::Stop() {
    running_ = false;
    ++stops_;
    // A pass asked for before the stop is not run after it.
    passRequested_ = false;
    timer_.Disarm();
    changes_.Disarm();
}

void FolderWatch::OnChange() {
    if (running_) RunPass();
}

void FolderWatch::RunPass() {
    // Never a pass inside a pass: the one that runs (it may be waiting after
    // its rewrite, where a change is told, or a tick comes once Stop and
    // Start have armed the timer again) is followed by another as soon as it
    // is over.
    if (inPass_) {
        passRequested_ = true;
        return;
    }
    struct PassScope {
        bool& inPass;
        explicit PassScope(bool& flag) : inPass(flag) { inPass = true; }
        ~PassScope() { inPass = false; }
    } scope(inPass_);
    Pass();
}

void FolderWatch::Pass() {
    timer_.Disarm();
    observer_.OnPassReport(PassReport::Searching);

    const unsigned stops = stops_;
    const bool foldersExist =
        answers_.AllThere(folders_, [this, stops] { return stops_ != stops; });
    // Stopped while it waited for an answer: the watch ended, or a Start
    // after the Stop has armed it again for a pass of its own.
    if (stops_ != stops) return;
    if (!foldersExist) {
        observer_.OnPassReport(PassReport::FolderMissing);
    } else {
        ReadValues();
        bool rewrite = false;
        for (std::size_t i = 0; i < kFolderCount; ++i) {
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
    Rearm();
}

void FolderWatch::Rearm() {
    // A pass asked for during this one runs as soon as control is back in the
    // loop; it re-arms the interval as every pass does.
    const std::uint32_t milliseconds = passRequested_ ? 0 : IntervalMilliseconds(intervalSeconds_);
    passRequested_ = false;
    try {
        timer_.Arm(milliseconds);
    } catch (const TimerRefused&) {
        // No pass would come any more: the watch ends as a stop ends it.
        Stop();
        throw;
    }
    changes_.Arm(FolderKey());
}

void FolderWatch::ReadValues() {
    // Values of an earlier pass never stand in for a failed read: a value not
    // read stays empty, which equals no folder, so it is rewritten.
    for (std::string& value : lastRead_) value.clear();
    // Lack of memory fails the read as a registry failure does.
    try {
        RegistryKey key(registry_, kMainKey);
        for (std::size_t i = 0; i < kFolderCount; ++i) {
            const std::optional<std::string> value = key.ReadText(kSection, kValueNames[i], "");
            if (!value) return;
            lastRead_[i] = *value + "\\";
        }
    } catch (const std::bad_alloc&) {
    }
}

bool FolderWatch::WriteFolders() {
    // Values written before a failure stay written; the next pass finds the
    // rest differing and tries again.
    try {
        RegistryKey key(registry_, kMainKey);
        for (std::size_t i = 0; i < kFolderCount; ++i) {
            if (folders_[i].empty()) continue;
            const std::string text = AsFolderText(folders_[i]);
            if (!key.WriteText(kSection, kValueNames[i], text.substr(0, text.size() - 1))) {
                return false;
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

#include "win32/change_signal.h"

#include <algorithm>
#include <utility>

#include "win32/text.h"

namespace {

// The watched key's values; above it, while it is missing, only its direct
// subkeys created or deleted: the next key on the way down. Writes anywhere
// else below (all of HKCU\SOFTWARE, when Jw_cad was never installed) are
// never told.
bool NotifyOn(HKEY key, HANDLE event, bool atKey) {
    const DWORD filter = atKey ? REG_NOTIFY_CHANGE_LAST_SET : REG_NOTIFY_CHANGE_NAME;
    return RegNotifyChangeKeyValue(key, FALSE, filter, event, TRUE) == ERROR_SUCCESS;
}

// The direct subkeys created or deleted.
bool NotifyOnSubkeys(HKEY key, HANDLE event) {
    return RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_NAME, event, TRUE) ==
           ERROR_SUCCESS;
}

}  // namespace

Win32ChangeSignal::Win32ChangeSignal(std::function<void()> onChange)
    : onChange_(std::move(onChange)),
      keyEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      parentEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

void Win32ChangeSignal::Arm(const std::string& keyPath) {
    // Called at the end of every pass: cheap while it listens.
    if (watched_ >= 0 && keyPath == keyPath_) return;
    keyPath_ = keyPath;
    names_.clear();
    const std::wstring path = ToWide(keyPath);
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        if (end > start) names_.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    Listen();
}

void Win32ChangeSignal::Disarm() {
    Close();
    watched_ = -1;
}

void Win32ChangeSignal::OnSignalled(std::size_t index) {
    if (watched_ < 0) return;  // disarmed: a signal already given is dropped
    const int keyLevel = static_cast<int>(names_.size());
    const bool atKey = watched_ == keyLevel;
    // The watched key's own notification is renewed while nothing deeper
    // appeared (the key, while it is missing): renewed first and looked at
    // after, so that a key made in between is either told or seen. Otherwise,
    // and whenever the parent told (the watched key may be gone or new), it
    // listens afresh; where that fails, the watch's next pass tries again.
    const bool renewed = index == 0 && NotifyOn(watchedKey_.get(), keyEvent_.get(), atKey) &&
                         (atKey || !DeeperExists());
    if (!renewed) Listen();
    // While the key is missing before and after, its values cannot have
    // changed: a step on the way down to it is no change for the watch.
    if (atKey || watched_ == keyLevel || watched_ < 0) onChange_();
}

void Win32ChangeSignal::Listen() {
    Disarm();
    if (!keyEvent_ || !parentEvent_) return;
    for (int level = static_cast<int>(names_.size()); level >= 0; --level) {
        UniqueKey key = Open(static_cast<std::size_t>(level));
        if (!key) continue;
        const bool atKey = level == static_cast<int>(names_.size());
        if (!NotifyOn(key.get(), keyEvent_.get(), atKey)) break;
        if (level > 0) {
            UniqueKey parent = Open(static_cast<std::size_t>(level - 1));
            if (!parent || !NotifyOnSubkeys(parent.get(), parentEvent_.get())) break;
            parentKey_ = std::move(parent);
        }
        watchedKey_ = std::move(key);
        watched_ = level;
        // The next key may have come since it was looked for: the loop then
        // takes the next step down.
        if (DeeperExists()) SetEvent(keyEvent_.get());
        return;
    }
    // A registration made on a key closed again may have signalled.
    Close();
}

void Win32ChangeSignal::Close() {
    // Closing a key may signal its notification's event: reset both after.
    watchedKey_.reset();
    parentKey_.reset();
    if (keyEvent_) ResetEvent(keyEvent_.get());
    if (parentEvent_) ResetEvent(parentEvent_.get());
}

UniqueKey Win32ChangeSignal::Open(std::size_t level) const {
    std::wstring path;
    for (std::size_t i = 0; i < level && i < names_.size(); ++i) {
        if (i > 0) path += L'\\';
        path += names_[i];
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.empty() ? nullptr : path.c_str(), 0, KEY_NOTIFY,
                      &key) != ERROR_SUCCESS) {
        return UniqueKey();
    }
    return UniqueKey(key);
}

bool Win32ChangeSignal::DeeperExists() const {
    return watched_ >= 0 && static_cast<std::size_t>(watched_) < names_.size() &&
           Open(static_cast<std::size_t>(watched_) + 1) != nullptr;
}

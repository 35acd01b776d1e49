// The registry's change notification for the watch: a key under
// HKEY_CURRENT_USER watched through RegNotifyChangeKeyValue, with two events
// that the message loop waits on beside the window's messages.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "watch/ports.h"
#include "win32/handles.h"

class Win32ChangeSignal : public IChangeSignal {
public:
    // onChange runs for each change told while it listens.
    explicit Win32ChangeSignal(std::function<void()> onChange);
    Win32ChangeSignal(const Win32ChangeSignal&) = delete;
    Win32ChangeSignal& operator=(const Win32ChangeSignal&) = delete;

    void Arm(const std::string& keyPath) override;
    void Disarm() override;

    // The events the message loop waits on; they live as long as this object.
    std::array<HANDLE, 2> Events() const { return {keyEvent_.get(), parentEvent_.get()}; }
    // The loop saw Events()[index] signalled: listens again first, so that a
    // change made while onChange runs is told too, then runs onChange.
    void OnSignalled(std::size_t index);

private:
    // Listens at the deepest existing key on the way to the watched one; no
    // notification is held where none can be had.
    void Listen();
    void Close();
    UniqueKey Open(std::size_t level) const;
    bool DeeperExists() const;

    std::function<void()> onChange_;
    UniqueHandle keyEvent_;
    UniqueHandle parentEvent_;
    // The watched key's path as given, and one name per level below the root.
    std::string keyPath_;
    std::vector<std::wstring> names_;
    // Where it listens: the key itself, or while it is missing the nearest
    // key above it that exists (for its subkeys only), at level watched_
    // (0: the root; names_.size(): the key). -1: not listening.
    int watched_ = -1;
    // The two keys held open for their notifications, with KEY_NOTIFY only.
    // They are the one exception to opening and closing a key within one
    // operation: a notification lasts only as long as its key is open. The
    // watched key tells of its values (above the key: of its own subkeys);
    // its parent tells of the watched key's deletion and creation, which a
    // key's own notification does not always tell.
    UniqueKey watchedKey_;
    UniqueKey parentKey_;
};

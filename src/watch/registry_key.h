// One open key under the current user's root, with the string reads and
// writes of the monitoring pass. The key is open for the object's lifetime
// and every subkey only inside one operation. Every operation tells by its
// result whether it succeeded.
#pragma once

#include <optional>
#include <string>

#include "watch/registry_port.h"

class RegistryKey {
public:
    // Opens keyPath (relative to HKEY_CURRENT_USER, a trailing "\" allowed)
    // with full access, creating it and any missing key above it. When it can
    // be neither opened nor created, IsOpen is false and every operation fails.
    RegistryKey(IRegistry& registry, const std::string& keyPath);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key_.has_value(); }

    // The string value name of the subkey section. Gives defaultText when the
    // subkey or the value is missing, the empty text for a value of size 0
    // whatever its type, and for REG_SZ / REG_EXPAND_SZ (unexpanded) the data
    // up to its first zero byte. nullopt for any other type, for a failed
    // query and for a key that is not open.
    std::optional<std::string> ReadText(const std::string& section, const std::string& name,
                                        const std::string& defaultText);
    // Sets name in the subkey section (created when missing) to a REG_SZ
    // holding text, replacing a value of any type. False when the key is not
    // open, the subkey cannot be created or the value cannot be set.
    [[nodiscard]] bool WriteText(const std::string& section, const std::string& name,
                                 const std::string& text);

private:
    IRegistry& registry_;
    std::optional<IRegistry::Key> key_;
};

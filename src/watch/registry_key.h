// One open key under the current user's root, with the string reads and
// writes of the monitoring pass. The key is open for the object's lifetime
// and every subkey only inside one operation.
#pragma once

#include <stdexcept>
#include <string>

#include "watch/registry_port.h"

// A failed registry operation. Never shown to the user: the pass swallows it.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RegistryKey {
public:
    // Opens keyPath (relative to HKEY_CURRENT_USER, a trailing "\" allowed)
    // with full access, creating it and any missing key above it. Throws
    // RegistryError when it can be neither opened nor created.
    RegistryKey(IRegistry& registry, const std::string& keyPath);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The string value name of the subkey section. Gives defaultText when the
    // subkey or the value is missing, the empty text for a value of size 0
    // whatever its type, and for REG_SZ / REG_EXPAND_SZ (unexpanded) the data
    // up to its first zero byte. Throws RegistryError for any other type and
    // for a failed query.
    std::string ReadText(const std::string& section, const std::string& name,
                         const std::string& defaultText);
    // Sets name in the subkey section (created when missing) to a REG_SZ
    // holding text, replacing a value of any type. Throws RegistryError when
    // the subkey cannot be created or the value cannot be set.
    void WriteText(const std::string& section, const std::string& name, const std::string& text);

private:
    IRegistry& registry_;
    IRegistry::Key key_;
};

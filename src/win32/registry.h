// The registry under HKEY_CURRENT_USER through the wide registry APIs.
#pragma once

#include "watch/registry_port.h"

class Win32Registry : public IRegistry {
public:
    std::optional<Key> CreateKey(Key parent, const std::string& path) override;
    std::optional<Key> OpenKey(Key parent, const std::string& path) override;
    Query QueryValue(Key key, const std::string& name, std::uint32_t& type,
                     std::string& data) override;
    bool SetStringValue(Key key, const std::string& name, const std::string& text) override;
    void CloseKey(Key key) override;
};

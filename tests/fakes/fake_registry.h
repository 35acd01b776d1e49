// An in-memory registry under the current user's root, as strict as the real
// one: a missing value is not an empty one, types are kept, refused writes
// leave earlier writes in place, every opened key must be closed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "watch/registry_port.h"

class FakeRegistry : public IRegistry {
public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::string data;  // as QueryValue gives it (strings with their zero)
    };

    std::optional<Key> CreateKey(Key parent, const std::string& path) override;
    std::optional<Key> OpenKey(Key parent, const std::string& path) override;
    Query QueryValue(Key key, const std::string& name, std::uint32_t& type,
                     std::string& data) override;
    bool SetStringValue(Key key, const std::string& name, const std::string& text) override;
    void CloseKey(Key key) override;

    // Test set-up and inspection; key paths are full paths below the root,
    // without leading or trailing "\" (case-insensitive, as the registry).
    void PutString(const std::string& keyPath, const std::string& name, const std::string& text,
                   std::uint32_t type = kRegSz);
    void PutRaw(const std::string& keyPath, const std::string& name, std::uint32_t type,
                const std::string& data);
    bool HasKey(const std::string& keyPath) const;
    std::optional<Value> Get(const std::string& keyPath, const std::string& name) const;
    int OpenHandles() const { return static_cast<int>(open_.size()); }

    // Failure injection.
    bool failCreate = false;          // CreateKey fails
    bool failOpen = false;            // OpenKey fails
    std::set<std::string> failQuery;  // value names whose query fails
    int writesBeforeRefusal = -1;     // SetStringValue succeeds this often, then fails (-1: never)

    // Counters.
    int creates = 0;
    int opens = 0;
    int queries = 0;
    int writes = 0;  // successful SetStringValue calls

private:
    static std::string Normal(const std::string& path);
    std::string Join(Key parent, const std::string& path) const;

    std::set<std::string> keys_;                                  // normalised key paths
    std::map<std::string, std::map<std::string, Value>> values_;  // key -> lower name -> value
    std::map<Key, std::string> open_;
    Key next_ = 0x100;
};

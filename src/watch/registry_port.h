// The registry under the current user's root, as the watch needs it: open or
// create a key, read a value, set a string value, close. Names and texts are
// code page 932 bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Registry value types, numbered as the platform numbers them.
enum : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

class IRegistry {
public:
    using Key = std::uintptr_t;  // opaque handle of an open key; never 0

    enum class Query { Ok, NotFound, Failed };

    virtual ~IRegistry() = default;
    // Opens path under HKEY_CURRENT_USER (parent 0) or under parent with full
    // access, creating it and any missing key above it (non-volatile, default
    // security). nullopt when that fails.
    virtual std::optional<Key> CreateKey(Key parent, const std::string& path) = 0;
    // Opens an existing subkey with full access; nullopt when that fails.
    virtual std::optional<Key> OpenKey(Key parent, const std::string& path) = 0;
    // Reads a value's type and data. For kRegSz, kRegExpandSz and kRegMultiSz
    // the data is the stored text in code page 932 with its zero bytes (one
    // zero byte per terminator); for other types the raw bytes.
    virtual Query QueryValue(Key key, const std::string& name, std::uint32_t& type,
                             std::string& data) = 0;
    // Sets a string value (kRegSz) holding text, replacing a value of any type.
    virtual bool SetStringValue(Key key, const std::string& name, const std::string& text) = 0;
    virtual void CloseKey(Key key) = 0;
};

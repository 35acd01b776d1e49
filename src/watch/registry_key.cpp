#include "watch/registry_key.h"

namespace {

// Closes a subkey when the operation that opened it ends, however it ends.
class SubKey {
public:
    SubKey(IRegistry& registry, IRegistry::Key key) : registry_(registry), key_(key) {}
    ~SubKey() { registry_.CloseKey(key_); }
    SubKey(const SubKey&) = delete;
    SubKey& operator=(const SubKey&) = delete;
    IRegistry::Key Get() const { return key_; }

private:
    IRegistry& registry_;
    IRegistry::Key key_;
};

IRegistry::Key CreateOrThrow(IRegistry& registry, const std::string& keyPath) {
    std::optional<IRegistry::Key> key = registry.CreateKey(0, keyPath);
    if (!key) throw RegistryError("registry key cannot be opened or created");
    return *key;
}

}  // namespace

RegistryKey::RegistryKey(IRegistry& registry, const std::string& keyPath)
    : registry_(registry), key_(CreateOrThrow(registry, keyPath)) {}

RegistryKey::~RegistryKey() { registry_.CloseKey(key_); }

std::string RegistryKey::ReadText(const std::string& section, const std::string& name,
                                  const std::string& defaultText) {
    std::optional<IRegistry::Key> opened = registry_.OpenKey(key_, section);
    if (!opened) return defaultText;
    SubKey sub(registry_, *opened);

    std::uint32_t type = kRegNone;
    std::string data;
    switch (registry_.QueryValue(sub.Get(), name, type, data)) {
        case IRegistry::Query::Ok:
            break;
        case IRegistry::Query::NotFound:
            return defaultText;
        case IRegistry::Query::Failed:
            throw RegistryError("registry value cannot be read");
    }
    if (data.empty()) return {};
    if (type != kRegSz && type != kRegExpandSz) {
        throw RegistryError("registry value is not a string");
    }
    return data.substr(0, data.find('\0'));
}

void RegistryKey::WriteText(const std::string& section, const std::string& name,
                            const std::string& text) {
    std::optional<IRegistry::Key> created = registry_.CreateKey(key_, section);
    if (!created) throw RegistryError("registry subkey cannot be created");
    SubKey sub(registry_, *created);
    if (!registry_.SetStringValue(sub.Get(), name, text)) {
        throw RegistryError("registry value cannot be set");
    }
}

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

}  // namespace

RegistryKey::RegistryKey(IRegistry& registry, const std::string& keyPath)
    : registry_(registry), key_(registry.CreateKey(0, keyPath)) {}

RegistryKey::~RegistryKey() {
    if (key_) registry_.CloseKey(*key_);
}

std::optional<std::string> RegistryKey::ReadText(const std::string& section,
                                                 const std::string& name,
                                                 const std::string& defaultText) {
    if (!key_) return std::nullopt;
    std::optional<IRegistry::Key> opened = registry_.OpenKey(*key_, section);
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
            return std::nullopt;
    }
    if (data.empty()) return std::string();
    if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
    return data.substr(0, data.find('\0'));
}

bool RegistryKey::WriteText(const std::string& section, const std::string& name,
                            const std::string& text) {
    if (!key_) return false;
    std::optional<IRegistry::Key> created = registry_.CreateKey(*key_, section);
    if (!created) return false;
    SubKey sub(registry_, *created);
    return registry_.SetStringValue(sub.Get(), name, text);
}

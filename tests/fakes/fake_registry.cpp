#include "fakes/fake_registry.h"

#include <cctype>
#include <stdexcept>

std::string FakeRegistry::Normal(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string FakeRegistry::Join(Key parent, const std::string& path) const {
    std::string base;
    if (parent != 0) {
        auto it = open_.find(parent);
        if (it == open_.end()) throw std::logic_error("FakeRegistry: key used after close");
        base = it->second;
    }
    std::string sub = Normal(path);
    if (base.empty()) return sub;
    if (sub.empty()) return base;
    return base + "\\" + sub;
}

std::optional<IRegistry::Key> FakeRegistry::CreateKey(Key parent, const std::string& path) {
    if (failCreate) return std::nullopt;
    std::string full = Join(parent, path);
    // Every key above it exists too.
    for (std::size_t pos = 0; pos != std::string::npos;) {
        pos = full.find('\\', pos + 1);
        keys_.insert(full.substr(0, pos));
    }
    ++creates;
    Key k = next_++;
    open_[k] = full;
    return k;
}

std::optional<IRegistry::Key> FakeRegistry::OpenKey(Key parent, const std::string& path) {
    if (failOpen) return std::nullopt;
    std::string full = Join(parent, path);
    if (!keys_.count(full)) return std::nullopt;
    ++opens;
    Key k = next_++;
    open_[k] = full;
    return k;
}

IRegistry::Query FakeRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                          std::string& data) {
    ++queries;
    std::string full = Join(key, "");
    std::string lower = Normal(name);
    if (failQuery.count(name)) return Query::Failed;
    auto k = values_.find(full);
    if (k == values_.end()) return Query::NotFound;
    auto v = k->second.find(lower);
    if (v == k->second.end()) return Query::NotFound;
    type = v->second.type;
    data = v->second.data;
    return Query::Ok;
}

bool FakeRegistry::SetStringValue(Key key, const std::string& name, const std::string& text) {
    std::string full = Join(key, "");
    if (writesBeforeRefusal == 0) return false;
    if (writesBeforeRefusal > 0) --writesBeforeRefusal;
    values_[full][Normal(name)] = Value{kRegSz, text + std::string(1, '\0')};
    ++writes;
    return true;
}

void FakeRegistry::CloseKey(Key key) {
    if (!open_.erase(key)) throw std::logic_error("FakeRegistry: key closed twice");
}

void FakeRegistry::PutString(const std::string& keyPath, const std::string& name,
                             const std::string& text, std::uint32_t type) {
    PutRaw(keyPath, name, type, text + std::string(1, '\0'));
}

void FakeRegistry::PutRaw(const std::string& keyPath, const std::string& name, std::uint32_t type,
                          const std::string& data) {
    std::string full = Normal(keyPath);
    for (std::size_t pos = 0; pos != std::string::npos;) {
        pos = full.find('\\', pos + 1);
        keys_.insert(full.substr(0, pos));
    }
    values_[full][Normal(name)] = Value{type, data};
}

bool FakeRegistry::HasKey(const std::string& keyPath) const {
    return keys_.count(Normal(keyPath)) != 0;
}

std::optional<FakeRegistry::Value> FakeRegistry::Get(const std::string& keyPath,
                                                     const std::string& name) const {
    auto k = values_.find(Normal(keyPath));
    if (k == values_.end()) return std::nullopt;
    auto v = k->second.find(Normal(name));
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

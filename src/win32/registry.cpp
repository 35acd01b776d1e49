// PLACEHOLDER: replaced by the helpers' implementation.
#include "win32/registry.h"
std::optional<IRegistry::Key> Win32Registry::CreateKey(Key, const std::string&) { return std::nullopt; }
std::optional<IRegistry::Key> Win32Registry::OpenKey(Key, const std::string&) { return std::nullopt; }
IRegistry::Query Win32Registry::QueryValue(Key, const std::string&, std::uint32_t&, std::string&) {
    return Query::Failed;
}
bool Win32Registry::SetStringValue(Key, const std::string&, const std::string&) { return false; }
void Win32Registry::CloseKey(Key) {}

// PLACEHOLDER: replaced by the helpers' implementation.
#include "util/sjis.h"
bool IsLeadByte(unsigned char) { return false; }
bool IsTrailByte(const std::string&, std::size_t) { return false; }
bool EndsWithBackslash(const std::string& t) { return !t.empty() && t.back() == '\\'; }
std::string ExtractFilePath(const std::string& p) { return p; }
std::string ChangeFileExt(const std::string& p, const std::string& e) { return p + e; }
std::string UpperCase(const std::string& t) { return t; }

// Code page 932 (Shift-JIS) rules on byte strings: lead bytes, the searches
// for a delimiter from the end of a path, and upper-casing.
#pragma once

#include <cstddef>
#include <string>

// A Shift-JIS lead byte: 0x81-0x9F or 0xE0-0xFC.
bool IsLeadByte(unsigned char byte);
// True when text[index] is the second byte of a double-byte character: the run
// of consecutive lead bytes that ends just before it has odd length.
bool IsTrailByte(const std::string& text, std::size_t index);
// The text ends with a "\" that is not the second byte of a double-byte
// character.
bool EndsWithBackslash(const std::string& text);
// The folder part of a path name: up to and including the last "\" or ":"
// that is not a second byte; empty when there is none.
std::string ExtractFilePath(const std::string& path);
// The path name with its extension replaced: cut before the last "." that no
// "\" or ":" follows (second bytes skipped), then ext appended.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// Upper-cases ASCII letters, and full-width Latin, Greek and Cyrillic letters
// as whole two-byte characters; a second byte is never changed on its own.
std::string UpperCase(const std::string& text);

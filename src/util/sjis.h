// Code page 932 (Shift-JIS) rules on byte strings: lead bytes, the parts of a
// path, upper-casing and blank removal.
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
std::string FolderPart(const std::string& path);
// Upper-cases ASCII letters, and full-width Latin, Greek and Cyrillic letters
// as whole two-byte characters; a second byte is never changed on its own.
std::string UpperCase(const std::string& text);
// The text without blanks: every byte up to 0x20 and every full-width space,
// wherever they stand; double-byte characters are kept whole.
std::string RemoveBlanks(const std::string& text);

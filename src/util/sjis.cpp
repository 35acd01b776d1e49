#include "util/sjis.h"

#include <algorithm>

namespace {

constexpr unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// Position of the last byte of text that is one of the delimiters and not the
// second byte of a double-byte character, or npos. One forward walk: a lead
// byte and the byte after it form one character, so the walk finds the same
// character boundaries as the run-of-lead-bytes rule of IsTrailByte without
// looking back from every byte.
std::size_t LastDelimiter(const std::string& text, const char* delimiters) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(Byte(text[i]))) {
            ++i;
            continue;
        }
        for (const char* d = delimiters; *d != '\0'; ++d) {
            if (text[i] == *d) {
                found = i;
                break;
            }
        }
    }
    return found;
}

// Lower to upper case for a double-byte character of code page 932, or 0 when
// the character has no upper-case form here. lead and trail are its bytes.
unsigned char UpperTrail(unsigned char lead, unsigned char trail) {
    switch (lead) {
        case 0x82:  // full-width a-z 0x8281-0x829A -> A-Z 0x8260-0x8279
            if (trail >= 0x81 && trail <= 0x9A) return static_cast<unsigned char>(trail - 0x21);
            break;
        case 0x83:  // Greek alpha-omega 0x83BF-0x83D6 -> 0x839F-0x83B6
            if (trail >= 0xBF && trail <= 0xD6) return static_cast<unsigned char>(trail - 0x20);
            break;
        case 0x84:
            // Cyrillic a-ya: 0x8470-0x847E and 0x8480-0x8491 (0x7F is no
            // second byte) -> 0x8440-0x8460 without a gap.
            if (trail >= 0x70 && trail <= 0x7E) return static_cast<unsigned char>(trail - 0x30);
            if (trail >= 0x80 && trail <= 0x91) return static_cast<unsigned char>(trail - 0x31);
            break;
        default:
            break;
    }
    return 0;
}

// The lead bytes that RemoveBlanks walks by: wider than Shift-JIS proper
// (0x80 and 0xFD count too), kept so that blanks are told exactly as before.
bool IsBlankWalkLeadByte(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFD);
}

}  // namespace

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(const std::string& text, std::size_t index) {
    if (index == 0 || index >= text.size()) return false;
    std::size_t run = 0;
    for (std::size_t i = index; i > 0 && IsLeadByte(Byte(text[i - 1])); --i) ++run;
    return run % 2 == 1;
}

bool EndsWithBackslash(const std::string& text) {
    return !text.empty() && text.back() == '\\' && !IsTrailByte(text, text.size() - 1);
}

std::string FolderPart(const std::string& path) {
    std::size_t last = LastDelimiter(path, "\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string UpperCase(const std::string& text) {
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        unsigned char byte = Byte(result[i]);
        if (IsLeadByte(byte)) {
            if (i + 1 < result.size()) {
                unsigned char upper = UpperTrail(byte, Byte(result[i + 1]));
                if (upper != 0) result[i + 1] = static_cast<char>(upper);
            }
            ++i;
        } else if (byte >= 'a' && byte <= 'z') {
            result[i] = static_cast<char>(byte - ('a' - 'A'));
        }
    }
    return result;
}

std::string RemoveBlanks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (IsBlankWalkLeadByte(Byte(text[i]))) {
            const std::size_t length = std::min<std::size_t>(2, text.size() - i);
            const bool fullWidthSpace =
                length == 2 && Byte(text[i]) == 0x81 && Byte(text[i + 1]) == 0x40;
            if (!fullWidthSpace) result.append(text, i, length);
            i += 2;
        } else {
            if (Byte(text[i]) > 0x20) result.push_back(text[i]);
            ++i;
        }
    }
    return result;
}

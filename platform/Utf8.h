// UTF-8, the text of the keyboard, the clipboard, the file system and the
// terminal: walking it character by character and writing characters into it.
// Dependency-free, so that every layer, the platform's input included, reads
// UTF-8 the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// What a byte that does not start a valid sequence reads as.
constexpr char32_t kReplacement = 0xFFFD;

// The C0 controls, DEL and the C1 controls: nothing that is typed, pasted or
// shown as a name.
constexpr bool IsControl(char32_t character) {
  return character < 0x20 || (character >= 0x7F && character < 0xA0);
}

// Whether byte starts a character, that is, is no continuation byte: text cut
// there keeps its characters whole.
constexpr bool StartsCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The character that starts at pos in text, advancing pos past it. A byte
// that does not start a valid UTF-8 sequence gives kReplacement and advances
// by one, so that any byte string can be walked. pos must be below text.size().
inline char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  char32_t codePoint = 0;
  char32_t smallest = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, codePoint = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, codePoint = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, codePoint = lead & 0x07, smallest = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (text.size() - pos < length) {
    ++pos;
    return kReplacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if ((byte & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    codePoint = codePoint << 6 | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not characters.
  if (codePoint < smallest || (codePoint >= 0xD800 && codePoint <= 0xDFFF) ||
      codePoint > 0x10FFFF) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return codePoint;
}

inline void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | codePoint >> 6));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | codePoint >> 12));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | codePoint >> 18));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

inline bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    if (NextCodePoint(text, pos) == kReplacement && pos - start == 1) return false;
  }
  return true;
}

}  // namespace utf8

#include "gcnWidgets/wClipboard.h"

#include <SDL.h>

#include <utility>

namespace SHR {

namespace {

ClipboardSource& CurrentSource() {
  static ClipboardSource source;
  return source;
}

std::string ReadSystemClipboard() {
  char* text = SDL_GetClipboardText();
  if (!text) return {};
  std::string result(text);
  SDL_free(text);
  return result;
}

// Windows-1252 bytes 0x80-0x9F; 0 marks the five bytes with no character.
constexpr char32_t kHighControlBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of a code point, 0 when it has none.
unsigned char Windows1252Byte(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
    return static_cast<unsigned char>(codePoint);
  for (int i = 0; i < 32; ++i)
    if (kHighControlBlock[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  return 0;
}

bool IsControl(char32_t codePoint) {
  return codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint < 0xA0);
}

// Decodes one UTF-8 sequence at text[at]; advances at. Returns U+FFFD for a
// malformed, over-long or truncated sequence and for surrogates.
char32_t DecodeOne(const std::string& text, std::size_t& at) {
  constexpr char32_t kBad = 0xFFFD;
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int length = 0;
  char32_t codePoint = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 1;
    codePoint = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 2;
    codePoint = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 3;
    codePoint = lead & 0x07;
    minimum = 0x10000;
  } else {
    return kBad;
  }
  for (int i = 0; i < length; ++i) {
    if (at >= text.size()) return kBad;
    const auto next = static_cast<unsigned char>(text[at]);
    if ((next & 0xC0) != 0x80) return kBad;  // leave the byte for the next character
    codePoint = codePoint << 6 | (next & 0x3F);
    ++at;
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return kBad;
  return codePoint;
}

}  // namespace

void SetClipboardSource(ClipboardSource source) {
  CurrentSource() = std::move(source);
}

std::string ReadClipboard() {
  const ClipboardSource& source = CurrentSource();
  return source ? source() : ReadSystemClipboard();
}

std::string Utf8ToWindows1252(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const char32_t codePoint = DecodeOne(utf8, at);
    if (IsControl(codePoint)) continue;
    const unsigned char byte = Windows1252Byte(codePoint);
    out.push_back(byte ? static_cast<char>(byte) : '?');
  }
  return out;
}

}  // namespace SHR

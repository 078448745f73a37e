#include "text/Windows1252.h"

#include <cstdint>

namespace text {

namespace {

// Characters of the bytes 0x80-0x9F.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = utf8::kReplacement;

}  // namespace

char32_t CodePointOfWindows1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> Windows1252ByteOf(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  for (unsigned index = 0; index < 32; ++index) {
    if (kHighControls[index] == codePoint) return static_cast<unsigned char>(0x80 + index);
  }
  return std::nullopt;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) AppendUtf8(out, CodePointOfWindows1252(static_cast<unsigned char>(c)));
  return out;
}

std::optional<std::string> Windows1252FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    const char32_t codePoint = NextCodePoint(utf8, pos);
    // A genuine U+FFFD in the text takes three bytes; a bad byte only one.
    if (codePoint == kReplacement && pos - start == 1) return std::nullopt;
    const auto byte = Windows1252ByteOf(codePoint);
    if (!byte) return std::nullopt;
    out.push_back(static_cast<char>(*byte));
  }
  return out;
}

}  // namespace text

#include "extract/EntryNames.h"

#include <cstdio>

#include "text/Windows1252.h"

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::optional<std::string> DiskNameOf(std::string_view archiveName) {
  std::string decoded = text::Utf8FromWindows1252(archiveName);
  if (!IsSafeEntryName(decoded)) return std::nullopt;
  return decoded;
}

std::string PngNameOf(std::string_view pidEntryName) {
  constexpr std::string_view kPid = ".PID";
  if (pidEntryName.size() >= kPid.size() &&
      pidEntryName.substr(pidEntryName.size() - kPid.size()) == kPid)
    pidEntryName.remove_suffix(kPid.size());
  return std::string(pidEntryName) + ".png";
}

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  char escaped[5];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  out += escaped;
}

}  // namespace

std::string PrintableName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  std::size_t pos = 0;
  while (pos < name.size()) {
    const std::size_t start = pos;
    const char32_t c = text::NextCodePoint(name, pos);
    const std::string_view bytes = name.substr(start, pos - start);
    // An undecodable byte, the C0 controls, DEL and the C1 controls (U+009B
    // is an 8-bit escape introducer).
    const bool invalid = c == U'\uFFFD' && bytes != "\xEF\xBF\xBD";
    if (invalid || c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      for (const char byte : bytes) AppendEscaped(out, static_cast<unsigned char>(byte));
    } else {
      out += bytes;
    }
  }
  return out;
}

#include "gcnWidgets/wClipboard.h"

#include <utility>

#include "platform/Clipboard.h"
#include "platform/Utf8.h"
#include "text/Windows1252.h"

namespace SHR {

namespace {

ClipboardSource& CurrentSource() {
  static ClipboardSource source;
  return source;
}

}  // namespace

void SetClipboardSource(ClipboardSource source) {
  CurrentSource() = std::move(source);
}

std::string ReadClipboard() {
  const ClipboardSource& source = CurrentSource();
  return source ? source() : platform::ReadClipboardText();
}

std::string PastableText(const std::string& utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t character = text::NextCodePoint(utf8, at);
    if (utf8::IsControl(character)) continue;
    text::AppendUtf8(out, character);
  }
  return out;
}

}  // namespace SHR

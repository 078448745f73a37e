// The games store every name and text in the Windows code page 1252; the
// rest of the system (file system, terminal, JSON, keyboard, clipboard,
// dialogs) speaks UTF-8. This is the one place that converts between them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace text {

// The character of a code-page byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// number, so that every byte stays distinguishable and decoding can be undone.
char32_t CodePointOfWindows1252(unsigned char byte);
// The code-page byte of a character; nothing when the code page lacks it.
std::optional<unsigned char> Windows1252ByteOf(char32_t codePoint);

// Archive bytes as UTF-8 text.
std::string Utf8FromWindows1252(std::string_view bytes);
// UTF-8 text as archive bytes; nothing when the text is not valid UTF-8 or
// holds a character the code page cannot store.
std::optional<std::string> Windows1252FromUtf8(std::string_view utf8);

using utf8::AppendUtf8;
using utf8::IsValidUtf8;
using utf8::NextCodePoint;

}  // namespace text

// The games store every name and text in the Windows code page 1252; the
// rest of the system (file system, terminal, JSON, keyboard, clipboard,
// dialogs) speaks UTF-8. This is the one place that converts between them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

// The character that starts at pos in utf8, advancing pos past it. A byte
// that does not start a valid UTF-8 sequence gives U+FFFD and advances by one,
// so that any byte string can be walked. pos must be below utf8.size().
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);
bool IsValidUtf8(std::string_view text);

}  // namespace text

// Where the text field's paste takes its text from. The program reads the
// system clipboard through SDL; tests put in a source of their own.
#pragma once

#include <functional>
#include <string>

namespace SHR {

// Returns the clipboard text as UTF-8; empty when there is none.
using ClipboardSource = std::function<std::string()>;

// Replaces the source; an empty function restores the system clipboard.
void SetClipboardSource(ClipboardSource source);
// The clipboard text in UTF-8, from the current source.
std::string ReadClipboard();

// Converts UTF-8 into the Windows-1252 bytes the font and the text field work
// in. Line breaks are dropped (a path copied with its line end stays one line),
// other control characters too; a character that has no Windows-1252 byte, or
// a malformed sequence, becomes '?'.
std::string Utf8ToWindows1252(const std::string& utf8);

}  // namespace SHR

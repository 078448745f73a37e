// Where the text field's paste takes its text from. The program reads the
// system clipboard through the platform; tests put in a source of their own.
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
// The text a paste inserts: line breaks and other control characters are
// dropped (a path copied with its line end stays one line), a malformed
// sequence becomes U+FFFD; the rest stays as it is, in UTF-8.
std::string PastableText(const std::string& utf8);

}  // namespace SHR

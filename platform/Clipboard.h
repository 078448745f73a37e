// The system clipboard, as the window system holds it.
#pragma once

#include <string>

namespace platform {

// The clipboard text as UTF-8; empty when there is none or no video is running.
std::string ReadClipboardText();

}  // namespace platform

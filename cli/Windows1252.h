// Archive names are 8-bit text in the games' Windows code page; JSON output
// must be UTF-8. Decoding keeps every byte distinguishable, so a name printed
// by the CLI can be turned back into the stored bytes.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// Bytes 0x80-0x9F that the code page leaves undefined map to the C1 control
// characters of the same number, like every byte of 0xA0-0xFF maps to itself.
std::string Utf8FromWindows1252(std::string_view text);

}  // namespace cli

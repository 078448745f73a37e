// Builds XMI music files from event bytes, for tests and fuzz seeds.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xmibuild {

using Bytes = std::vector<unsigned char>;

// An IFF chunk: tag, big-endian size, body, a pad byte after an odd body.
Bytes Chunk(const std::string& tag, const Bytes& body);
// The body of a FORM or CAT: its type, then the chunks.
Bytes Form(const std::string& type, const std::vector<Bytes>& chunks);
// FORM XDIR with the song count (default: the number of songs), then
// CAT XMID with one FORM XMID (TIMB and EVNT) per song's event bytes.
Bytes Xmi(const std::vector<Bytes>& songEvents, std::optional<unsigned> count = std::nullopt);

}  // namespace xmibuild

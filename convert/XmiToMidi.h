// The games' XMI music (XMIDI) as standard MIDI files.
//
// An XMI holds one or more songs; each becomes a format-0 MIDI file whose
// timing is exactly the XMI's 120 ticks per second. Note-ons carry their
// duration in XMI, so the matching note-offs are inserted. The input is
// untrusted: every chunk size, count and event is checked against the bytes.
#pragma once

#include <cstddef>
#include <string>

#include "convert/ConvertedFiles.h"

// Inputs larger than this are refused, before they are read when extracting
// (SizeRefusal): real songs are a few kilobytes, and each two-byte event takes
// some 40 bytes while it is converted.
constexpr std::size_t kMaxXmiBytes = std::size_t{4} << 20;

// entryName "NAME.XMI" gives "NAME.mid" for one song, "NAME-1.mid",
// "NAME-2.mid", ... for several.
ConvertedFiles ConvertXmiToMidi(const std::string& entryName, const unsigned char* data,
                                std::size_t size);

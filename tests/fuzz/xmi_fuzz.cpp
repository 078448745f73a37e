// Feeds arbitrary bytes to the XMI converter. Whatever it is given, it either
// refuses with a reason and no files, or every file it returns is a
// well-formed single-track MIDI file: lengths that add up, status bytes on
// every event, variable-length numbers of at most 4 bytes, and the track
// ending exactly with its end-of-track event. Seeds are valid XMI files.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "convert/XmiToMidi.h"
#include "support/XmiBuilder.h"

namespace {

using fuzz::Check;
using xmibuild::Bytes;

std::uint32_t BigEndian(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | b[at + std::size_t(i)];
  return v;
}

std::uint32_t Number(const Bytes& b, std::size_t& pos, std::size_t end) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    Check(pos < end);
    const unsigned char byte = b[pos++];
    value = value << 7 | (byte & 0x7F);
    if (byte < 0x80) return value;
  }
  Check(false);
  return 0;
}

void CheckMidi(const Bytes& midi) {
  Check(midi.size() >= 22);
  Check(std::string(midi.begin(), midi.begin() + 4) == "MThd" && BigEndian(midi, 4, 4) == 6);
  Check(BigEndian(midi, 8, 2) == 0 && BigEndian(midi, 10, 2) == 1);
  const std::uint32_t division = BigEndian(midi, 12, 2);
  Check(division >= 1 && division <= 0x7FFF);
  Check(std::string(midi.begin() + 14, midi.begin() + 18) == "MTrk");
  const std::size_t end = 22 + std::size_t(BigEndian(midi, 18, 4));
  Check(end == midi.size());
  std::size_t pos = 22;
  for (;;) {
    Number(midi, pos, end);
    Check(pos < end);
    const unsigned status = midi[pos++];
    Check(status >= 0x80);
    if (status == 0xFF) {
      Check(pos < end);
      const unsigned type = midi[pos++];
      const std::uint32_t length = Number(midi, pos, end);
      Check(length <= end - pos);
      pos += length;
      if (type == 0x2F) {
        Check(length == 0 && pos == end);
        return;
      }
    } else if (status == 0xF0 || status == 0xF7) {
      const std::uint32_t length = Number(midi, pos, end);
      Check(length <= end - pos);
      pos += length;
    } else {
      const std::size_t data = (status >> 4) == 0xC || (status >> 4) == 0xD ? 1 : 2;
      Check(data <= end - pos);
      for (std::size_t i = 0; i < data; ++i) Check(midi[pos++] < 0x80);
    }
  }
}

std::vector<Bytes> Seeds() {
  const Bytes song = {0xFF, 0x51, 0x03, 0x07, 0x27, 0x0E, 0xC2, 5,    0x90, 60,  100,
                      60,   60,   0x99, 38,   90,   30,   0x7F, 0x03, 0x90, 62,  80,
                      0x81, 0x70, 0xF0, 2,    0x41, 0xF7, 0xFF, 0x01, 3,    'a', 'b',
                      'c',  0xB1, 7,    100,  0xE0, 0,    64,   0xFF, 0x2F, 0x00};
  return {
      xmibuild::Xmi({song}),
      xmibuild::Xmi({song, {0x90, 40, 1, 2}, {0xD3, 9, 0x93, 41, 1, 0x83, 0x60}}),
      xmibuild::Xmi({{0xFF, 0x51, 0x03, 0x07, 0xA1, 0x21, 0x90, 1, 1, 0x8F, 0xFF, 0xFF, 0x7F}}),
  };
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::WriteSeedsIfAsked(Seeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ConvertedFiles out = ConvertXmiToMidi("SONG.XMI", data, size);
  Check(out.error.empty() != out.files.empty());
  for (std::size_t i = 0; i < out.files.size(); ++i) {
    Check(out.files[i].name ==
          (out.files.size() == 1 ? "SONG.mid" : "SONG-" + std::to_string(i + 1) + ".mid"));
    CheckMidi(out.files[i].bytes);
  }
  return 0;
}

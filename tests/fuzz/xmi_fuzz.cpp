// Feeds arbitrary bytes to the XMI converter. Whatever it is given, it either
// refuses with a reason and no files, or every file it returns is a
// well-formed single-track MIDI file (see MidiReader.h). Seeds are valid XMI files.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "convert/XmiToMidi.h"
#include "support/MidiReader.h"
#include "support/XmiBuilder.h"

namespace {

using fuzz::Check;
using xmibuild::Bytes;

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
    Check(ReadMidi(out.files[i].bytes).has_value());
  }
  return 0;
}

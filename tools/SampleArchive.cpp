#include "tools/SampleArchive.h"

#include <cmath>
#include <cstdint>
#include <functional>

#include "support/PidBuilder.h"

namespace rezbuild {

namespace {

using Bytes8 = std::vector<unsigned char>;
using Painter = std::function<unsigned char(int x, int y)>;

// GRUNTZ marks transparency by this colour; its pictures fill skipped pixels with it.
constexpr unsigned char kGruntzKeyIndex = 133;

Bytes8 Pid(std::uint32_t flags, int width, int height, int offsetX, int offsetY,
           const Painter& paint, std::uint32_t fill = 0) {
  std::vector<std::uint8_t> indices;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) indices.push_back(paint(x, y));
  pidbuild::PidFile pid{width, height, offsetX, offsetY, flags};
  pid.pixelData = flags & pidbuild::kSkipCoded ? pidbuild::SkipCode(indices, width)
                                               : pidbuild::RepeatCode(indices);
  pid.otherWords = {0, fill, 0};
  return pidbuild::Build(pid);
}

// Transparent and skip coded: index 0 is skipped (or drawn in the fill index).
constexpr std::uint32_t kSprite = pidbuild::kTransparent | pidbuild::kSkipCoded;

// 256 colours: bands of red, green, blue and gold; index 0 (transparent in pictures) black.
Bytes8 SamplePalette() {
  Bytes8 out;
  for (int i = 0; i < 256; ++i) {
    const auto level = static_cast<unsigned char>((i % 64) * 4 + 3);
    const unsigned char bands[4][3] = {{level, 32, 32},
                                       {32, level, 48},
                                       {40, 60, level},
                                       {level, std::uint8_t(level * 3 / 4), 16}};
    out.insert(out.end(), bands[i / 64], bands[i / 64] + 3);
  }
  out[0] = out[1] = out[2] = 0;
  return out;
}

// 8-bit mono PCM in a RIFF container.
Bytes8 Wave(double frequency, double seconds) {
  constexpr std::uint32_t kRate = 11025;
  const auto samples = static_cast<std::uint32_t>(kRate * seconds);
  Bytes8 out = Bytes(std::string("RIFF....WAVEfmt \x10\0\0\0\1\0\1\0", 24));  // PCM, mono
  SetU32(out, 4, 36 + samples);
  PutU32(out, kRate);
  PutU32(out, kRate);                                       // bytes per second
  out.insert(out.end(), {1, 0, 8, 0, 'd', 'a', 't', 'a'});  // block align 1, 8 bits
  PutU32(out, samples);
  for (std::uint32_t i = 0; i < samples; ++i) {
    const double fade = 1.0 - double(i) / samples;
    const double value = std::sin(2 * M_PI * frequency * i / kRate) * fade;
    out.push_back(static_cast<unsigned char>(128 + std::lround(value * 100)));
  }
  return out;
}

Node Crate(int frame) {
  // A box that tilts a little from frame to frame.
  return FileNode("FRAME00" + std::to_string(frame), "PID",
                  Pid(kSprite, 24, 24, frame - 2, -frame, [frame](int x, int y) -> unsigned char {
                    const int left = 2 + frame % 2, right = 21 - frame % 2;
                    if (x < left || x > right || y < 2 || y > 21) return 0;
                    if (x == left || x == right || y == 2 || y == 21 || x - left == y - 2)
                      return static_cast<unsigned char>(192 + 40);
                    return static_cast<unsigned char>(192 + 10 + (x + y) % 8);
                  }));
}

Node Gem(int frame) {
  return FileNode("FRAME00" + std::to_string(frame), "PID",
                  Pid(kSprite, 16, 16, 0, -frame, [frame](int x, int y) -> unsigned char {
                    const int dx = std::abs(2 * x - 15), dy = std::abs(2 * y - 15);
                    if (dx + dy > 15) return 0;
                    return static_cast<unsigned char>(128 + 20 + (dx + dy + 4 * frame) % 40);
                  }));
}

Node Tile(int number) {
  return FileNode("TILE00" + std::to_string(number), "PID",
                  Pid(0, 32, 32, 0, 0, [number](int x, int y) -> unsigned char {
                    const bool mortar = y % 8 == 0 || (x + (y / 8 % 2) * 8 + number * 4) % 16 == 0;
                    return static_cast<unsigned char>(mortar ? 40 : 64 + 30 + (x * y + number) % 6);
                  }));
}

// A picture that brings its own palette: an inverted grey ramp.
Node Logo() {
  Bytes8 pid = Pid(pidbuild::kEmbeddedPalette, 64, 16, 0, 0, [](int x, int y) -> unsigned char {
    return static_cast<unsigned char>((x * 4 + y * 8) % 256);
  });
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) pid.push_back(static_cast<unsigned char>(255 - i));
  return FileNode("LOGO", "PID", pid);
}

// A grunt that bobs and leans: frames of different sizes whose offsets keep
// its feet on one spot.
Node Grunt(int frame) {
  const int width = 18 + 2 * frame, height = 26 - frame;
  return FileNode("FRAME00" + std::to_string(frame), "PID",
                  Pid(
                      kSprite | pidbuild::kFillIndex, width, height, frame - 2, 1 - frame,
                      [=](int x, int y) -> unsigned char {
                        const int dx = std::abs(2 * x - width + 1), dy = 2 * y - height;
                        if (dx * dx + dy * dy > width * width) return 0;
                        return static_cast<unsigned char>(64 + 20 + (x + y + frame) % 30);
                      },
                      kGruntzKeyIndex));
}

Bytes8 GruntzPalette() {
  Bytes8 palette = SamplePalette();
  palette[3 * kGruntzKeyIndex] = 255;
  palette[3 * kGruntzKeyIndex + 1] = 0;
  palette[3 * kGruntzKeyIndex + 2] = 132;
  return palette;
}

}  // namespace

Node RetailSampleArchive() {
  return Folder(
      "ROOT",
      {Folder("GRUNTZ",
              {Folder("PALETTEZ", {FileNode("REDTOY", "PAL", GruntzPalette())}),
               Folder("IMAGES", {Folder("GRUNT", {Grunt(1), Grunt(2), Grunt(3), Grunt(4)})}),
               Folder("SOUNDZ", {FileNode("OOF", "WAV", Wave(220, 0.2))})}),
       FileNode("README", "TXT",
                "Laid out as the games' own archives are. Try:\r\n"
                "  tarnwick-cli stats examples/retail-sample.rez\r\n"
                "  tarnwick-cli extract examples/retail-sample.rez out --png --rect "
                "--palette=GRUNTZ/PALETTEZ/REDTOY.PAL\r\n")});
}

Node SampleArchive() {
  return Folder(
      "ROOT",
      {Folder("CLAW", {Folder("PALETTES", {FileNode("MAIN", "PAL", SamplePalette())}),
                       Folder("IMAGES", {Folder("CRATE", {Crate(1), Crate(2), Crate(3), Crate(4)}),
                                         Folder("GEM", {Gem(1), Gem(2), Gem(3)})}),
                       Folder("TILES", {Folder("ACTION", {Tile(1), Tile(2), Tile(3)})}),
                       Folder("SOUNDS", {FileNode("CHIME", "WAV", Wave(880, 0.25)),
                                         FileNode("THUD", "WAV", Wave(110, 0.2))}),
                       Folder("EMPTY")}),
       Folder("EXTRAS", {Logo(), FileNode("CREDITS", "TXT",
                                          "Sample archive for Tarnwick.\r\n"
                                          "Every picture, sound and text in it was made by "
                                          "the project's own code.\r\n")}),
       FileNode("README", "TXT",
                "Try: tarnwick-cli stats examples/sample.rez\r\n"
                "     tarnwick-cli list --json examples/sample.rez\r\n")});
}

}  // namespace rezbuild

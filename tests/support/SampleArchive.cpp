#include "support/SampleArchive.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>

namespace rezbuild {

namespace {

using Bytes8 = std::vector<unsigned char>;

void Put32(Bytes8& out, std::uint32_t value) {
  PutU32(out, value);
}

// A PID picture: 32-byte header, then the pixel codes.
Bytes8 PidHeader(std::uint32_t flags, int width, int height, int offsetX, int offsetY,
                 std::uint32_t fill = 0) {
  Bytes8 out;
  Put32(out, 0);
  Put32(out, flags);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put32(out, static_cast<std::uint32_t>(offsetX));
  Put32(out, static_cast<std::uint32_t>(offsetY));
  Put32(out, fill);
  Put32(out, 0);
  return out;
}

constexpr std::uint32_t kTransparent = 0x01;
constexpr std::uint32_t kSkipCoded = 0x20;
constexpr std::uint32_t kEmbeddedPalette = 0x80;
constexpr std::uint32_t kFillIndex = 0x100;
// GRUNTZ marks transparency by this colour; its pictures fill skipped pixels with it.
constexpr unsigned char kGruntzKeyIndex = 133;

using Painter = std::function<unsigned char(int x, int y)>;

// Skip coding, row by row: runs of index 0 become skips, the rest literal runs.
// With a fill index, skipped pixels are drawn in it.
Bytes8 SkipCodedPid(int width, int height, int offsetX, int offsetY, const Painter& paint,
                    std::optional<unsigned char> fill = std::nullopt) {
  Bytes8 out = PidHeader(kTransparent | kSkipCoded | (fill ? kFillIndex : 0), width, height,
                         offsetX, offsetY, fill.value_or(0));
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      int run = 0;
      if (paint(x, y) == 0) {
        while (x + run < width && run < 127 && paint(x + run, y) == 0) ++run;
        out.push_back(static_cast<unsigned char>(128 + run));
      } else {
        while (x + run < width && run < 128 && paint(x + run, y) != 0) ++run;
        out.push_back(static_cast<unsigned char>(run));
        for (int i = 0; i < run; ++i) out.push_back(paint(x + i, y));
      }
      x += run;
    }
  }
  return out;
}

// Repeat coding over the whole raster: runs up to 63, single pixels above 192
// always as runs.
Bytes8 RepeatCodedPid(std::uint32_t extraFlags, int width, int height, const Painter& paint) {
  Bytes8 out = PidHeader(extraFlags, width, height, 0, 0);
  const int count = width * height;
  const auto at = [&](int i) { return paint(i % width, i / width); };
  for (int i = 0; i < count;) {
    const unsigned char value = at(i);
    int run = 1;
    while (i + run < count && run < 63 && at(i + run) == value) ++run;
    if (run == 1 && value <= 0xC0) {
      out.push_back(value);
    } else {
      out.push_back(static_cast<unsigned char>(0xC0 + run));
      out.push_back(value);
    }
    i += run;
  }
  return out;
}

// 256 colours: a grey ramp, then bands of red, green, blue and gold.
Bytes8 SamplePalette() {
  Bytes8 out;
  for (int i = 0; i < 256; ++i) {
    const int band = i / 64, level = (i % 64) * 4 + 3;
    const unsigned char rgb[5][3] = {
        {0, 0, 0},
        {static_cast<unsigned char>(level), 32, 32},
        {32, static_cast<unsigned char>(level), 48},
        {40, 60, static_cast<unsigned char>(level)},
        {static_cast<unsigned char>(level), static_cast<unsigned char>(level * 3 / 4), 16}};
    const unsigned char* colour = rgb[band + 1];
    out.insert(out.end(), colour, colour + 3);
  }
  out[0] = out[1] = out[2] = 0;  // index 0, transparent in pictures
  return out;
}

// 8-bit mono PCM in a RIFF container.
Bytes8 Wave(double frequency, double seconds) {
  constexpr std::uint32_t kRate = 11025;
  const auto samples = static_cast<std::uint32_t>(kRate * seconds);
  Bytes8 out;
  const auto text = [&](const char* four) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(four[i]));
  };
  text("RIFF");
  Put32(out, 36 + samples);
  text("WAVE");
  text("fmt ");
  Put32(out, 16);
  out.insert(out.end(), {1, 0, 1, 0});  // PCM, mono
  Put32(out, kRate);
  Put32(out, kRate);                    // bytes per second
  out.insert(out.end(), {1, 0, 8, 0});  // block align 1, 8 bits
  text("data");
  Put32(out, samples);
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
                  SkipCodedPid(24, 24, frame - 2, -frame, [frame](int x, int y) -> unsigned char {
                    const int left = 2 + frame % 2, right = 21 - frame % 2;
                    if (x < left || x > right || y < 2 || y > 21) return 0;
                    if (x == left || x == right || y == 2 || y == 21 || x - left == y - 2)
                      return static_cast<unsigned char>(192 + 40);
                    return static_cast<unsigned char>(192 + 10 + (x + y) % 8);
                  }));
}

Node Gem(int frame) {
  return FileNode("FRAME00" + std::to_string(frame), "PID",
                  SkipCodedPid(16, 16, 0, -frame, [frame](int x, int y) -> unsigned char {
                    const int dx = std::abs(2 * x - 15), dy = std::abs(2 * y - 15);
                    if (dx + dy > 15) return 0;
                    return static_cast<unsigned char>(128 + 20 + (dx + dy + 4 * frame) % 40);
                  }));
}

Node Tile(int number) {
  return FileNode("TILE00" + std::to_string(number), "PID",
                  RepeatCodedPid(0, 32, 32, [number](int x, int y) -> unsigned char {
                    const bool mortar = y % 8 == 0 || (x + (y / 8 % 2) * 8 + number * 4) % 16 == 0;
                    return static_cast<unsigned char>(mortar ? 40 : 64 + 30 + (x * y + number) % 6);
                  }));
}

// A picture that brings its own palette: an inverted grey ramp.
Node Logo() {
  Bytes8 pid = RepeatCodedPid(kEmbeddedPalette, 64, 16, [](int x, int y) -> unsigned char {
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
                  SkipCodedPid(
                      width, height, frame - 2, 1 - frame,
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

// PCX pictures (8-bit paletted and run-length coded like the games' screens)
// come back pixel-equal as PNG; headers the library must not be trusted with
// are refused first.
#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "convert/ImageConversion.h"
#include "convert/PcxToPng.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes PcxHeader(unsigned width, unsigned height, unsigned bits, unsigned planes,
                unsigned bytesPerLine) {
  Bytes header(128, 0);
  header[0] = 0x0A;
  header[1] = 5;
  header[2] = 1;
  header[3] = static_cast<unsigned char>(bits);
  const auto word = [&](std::size_t at, unsigned value) {
    header[at] = value & 0xFF;
    header[at + 1] = (value >> 8) & 0xFF;
  };
  word(4, 10);  // the picture need not start at 0, 0
  word(6, 20);
  word(8, 10 + width - 1);
  word(10, 20 + height - 1);
  header[65] = static_cast<unsigned char>(planes);
  word(66, bytesPerLine);
  return header;
}

TEST(PcxToPng, APalettedRunLengthCodedPcxComesBackInItsPaletteColours) {
  Bytes pcx = PcxHeader(3, 2, 8, 1, 4);
  // Row 1: three times index 1 as a run; row 2: 2, 0xC5 (escaped as a run of one), 3.
  pcx.insert(pcx.end(), {0xC3, 1, 0, 2, 0xC1, 0xC5, 3, 0});
  pcx.push_back(0x0C);
  for (int i = 0; i < 256; ++i)
    pcx.insert(pcx.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                           static_cast<unsigned char>(i * 3)});
  const ConvertedFiles out = ConvertPcxToPng("TITLE.PCX", pcx.data(), pcx.size());
  ASSERT_EQ(out.error, "");
  ASSERT_EQ(out.files.size(), 1u);
  EXPECT_EQ(out.files[0].name, "TITLE.png");
  const RgbaPicture png = DecodePng(out.files[0].bytes, true);
  EXPECT_EQ(png.width, 3u);
  EXPECT_EQ(Bytes(png.pixels.begin(), png.pixels.end()),
            (Bytes{1, 254, 3, 255, 1,    254,  3,    255, 1, 254, 3, 255,
                   2, 253, 6, 255, 0xC5, 0x3A, 0x4F, 255, 3, 252, 9, 255}));
}

TEST(PcxToPng, HeadersTheLibraryMustNotSeeAreRefusedWithTheirValues) {
  Bytes wrongMagic = PcxHeader(4, 4, 8, 1, 4);
  wrongMagic[0] = 0x0B;
  const struct {
    Bytes pcx;
    const char* reason;
  } cases[] = {
      {Bytes(127, 0x0A), "only 127 bytes"},
      {wrongMagic, "does not start with"},
      {PcxHeader(16385, 1, 8, 1, 16386), "16385 x 1 is larger"},
      {PcxHeader(4097, 4096, 8, 1, 4098), "4097 x 4096 is larger"},
      {PcxHeader(100, 2, 8, 1, 99), "a line of 99 bytes"},
      {PcxHeader(100, 16000, 8, 4, 65000), "a line of 65000 bytes"},
      {PcxHeader(4, 4, 16, 1, 8), "1 planes of 16 bits"},
  };
  for (const auto& c : cases) {
    const ConvertedFiles out = ConvertPcxToPng("A.PCX", c.pcx.data(), c.pcx.size());
    EXPECT_NE(out.error.find(c.reason), std::string::npos) << out.error;
    EXPECT_TRUE(out.files.empty());
  }
}

}  // namespace

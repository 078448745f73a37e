// The sample archive in examples/ is what its generator makes, and it shows
// what newcomers should see: a CLAW archive with a palette and several types.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "archive/ArchiveStats.h"
#include "support/SampleArchive.h"

namespace {

const std::filesystem::path kSample =
    std::filesystem::path(TARNWICK_SOURCE_DIR) / "examples" / "sample.rez";

TEST(SampleArchive, CommittedFileMatchesItsGenerator) {
  std::ifstream in(kSample, std::ios::binary);
  ASSERT_TRUE(in) << kSample;
  const std::vector<unsigned char> committed((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
  EXPECT_TRUE(committed == rezbuild::Build(rezbuild::SampleArchive()))
      << "regenerate it: cmake --build <build with -DTARNWICK_TOOLS=ON> --target "
         "regenerate_sample_archive";
}

TEST(SampleArchive, LoadsAsAClawArchiveWithItsPalette) {
  REZ::Parser parser(kSample);
  EXPECT_EQ(GameOf(parser), kGameClaw);
  const REZ::Element* palette = parser.Root().GetElement("CLAW/PALETTES/MAIN.PAL");
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->size, 768u);

  std::vector<TypeStat> stats;
  CollectTypeStats(stats, parser.Root());
  std::vector<std::string> types;
  for (const auto& stat : stats) types.push_back(stat.extension);
  EXPECT_EQ(types, (std::vector<std::string>{"PAL", "PID", "WAV", "TXT"}));
}

}  // namespace

// The sample archives in examples/ are what their generator makes, and they
// show what newcomers should see: a CLAW archive with a palette and several
// types, and a GRUNTZ one in the games' own layout with its PALETTEZ palette.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "archive/ArchiveStats.h"
#include "support/SampleArchive.h"

namespace {

const std::filesystem::path kExamples = std::filesystem::path(TARNWICK_SOURCE_DIR) / "examples";

struct Sample {
  const char* file;
  rezbuild::Node (*tree)();
  rezbuild::Layout layout;
  GameId game;
  std::vector<std::string> palettes;
  std::vector<std::string> types;
};

TEST(SampleArchive, CommittedFilesMatchTheGeneratorAndLoad) {
  for (const Sample& sample : {Sample{"sample.rez",
                                      rezbuild::SampleArchive,
                                      rezbuild::Layout::Plain,
                                      kGameClaw,
                                      {"CLAW/PALETTES/MAIN.PAL"},
                                      {"PAL", "PID", "WAV", "TXT"}},
                               Sample{"retail-sample.rez",
                                      rezbuild::RetailSampleArchive,
                                      rezbuild::Layout::Retail,
                                      kGameGruntz,
                                      {"GRUNTZ/PALETTEZ/REDTOY.PAL"},
                                      {"PAL", "PID", "WAV", "TXT"}}}) {
    SCOPED_TRACE(sample.file);
    std::ifstream in(kExamples / sample.file, std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<unsigned char> committed((std::istreambuf_iterator<char>(in)),
                                               std::istreambuf_iterator<char>());
    EXPECT_TRUE(committed == rezbuild::Build(sample.tree(), sample.layout))
        << "regenerate it: cmake --build <build with -DTARNWICK_TOOLS=ON> --target "
           "regenerate_sample_archive";

    REZ::Parser parser(kExamples / sample.file);
    EXPECT_EQ(GameOf(parser), sample.game);
    EXPECT_EQ(PaletteEntryPaths(parser.Root()), sample.palettes);
    std::vector<TypeStat> stats;
    CollectTypeStats(stats, parser.Root());
    std::vector<std::string> types;
    for (const auto& stat : stats) types.push_back(stat.extension);
    EXPECT_EQ(types, sample.types);
  }
}

}  // namespace

// tarnwick-cli pack, cat and the music and PCX conversions of extract, as scripts run them.
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/XmiBuilder.h"
#include "tests/cli/CliRun.h"

namespace {

namespace fs = std::filesystem;
using namespace rezbuild;
using namespace extracttest;

Node GameLikeArchive() {
  return Folder(
      "",
      {FileNode("README", "TXT", "readme"),
       Folder("LEVEL1", {Folder("TILES", {Folder("ACTION", {FileNode("001", "PID", "p1"),
                                                            FileNode("002", "PID", "")})}),
                         FileNode("MUSIC", "XMI", std::string(3000, 'x'))}),
       Folder("PALETTES", {FileNode("MAIN", "PAL", std::string(768, '\x7F'))}), Folder("EMPTY")});
}

// Extracting the repacked archive gives back the same tree; an existing
// archive is kept unless --overwrite is given; refused names fail the pack.
TEST(PackCommand, RepacksAnExtractedTreeAndKeepsAnExistingArchive) {
  TempDir work;
  Write(work / "game.rez", GameLikeArchive());
  const auto extract = [&](const fs::path& archive, const fs::path& out) {
    return RunCli(work.path(),
                  {"extract", archive.string(), out.string(), "--empty-folders", "--quiet"});
  };
  const auto pack = [&](const fs::path& tree, const fs::path& archive, bool overwrite = false) {
    std::vector<std::string> args = {"pack", tree.string(), archive.string()};
    if (overwrite) args.push_back("--overwrite");
    return RunCli(work.path(), args);
  };
  ASSERT_EQ(extract(work / "game.rez", work / "out").exitCode, 0);
  ASSERT_EQ(pack(work / "out", work / "re.rez").exitCode, 0);
  ASSERT_EQ(extract(work / "re.rez", work / "again").exitCode, 0);
  EXPECT_EQ(TreeOf(work / "again"), TreeOf(work / "out"));

  const std::string before = ReadFile(work / "re.rez");
  fs::remove(work / "out" / "README.TXT");
  const CliRun again = pack(work / "out", work / "re.rez");
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
  EXPECT_EQ(ReadFile(work / "re.rez"), before);
  EXPECT_EQ(pack(work / "out", work / "re.rez", true).exitCode, 0);
  EXPECT_NE(ReadFile(work / "re.rez"), before);
  // A name the format cannot hold is listed and nothing is written.
  WriteText(work / "out" / "NOTYPE", "");
  EXPECT_NE(pack(work / "out", work / "new.rez").err.find("NOTYPE: has no type"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(work / "new.rez"));
}

TEST(CatCommand, WritesOneEntryOrSaysWhyNot) {
  TempDir work;
  Write(work / "game.rez", GameLikeArchive());
  const std::string archive = (work / "game.rez").string();
  const CliRun found = RunCli(work.path(), {"cat", archive, "LEVEL1/MUSIC.XMI"});
  EXPECT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(found.out, std::string(3000, 'x'));
  EXPECT_EQ(RunCli(work.path(), {"cat", archive, "\\LEVEL1\\TILES\\ACTION\\002.PID"}).exitCode, 0);
  for (const char* missing : {"LEVEL1", "LEVEL1/NONE.PID", "README.TXT/X", ""}) {
    const CliRun run = RunCli(work.path(), {"cat", archive, missing});
    EXPECT_EQ(run.exitCode, 2) << missing;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(RunCli(work.path(), {"cat", archive, "LEVEL1/MUSIC.XMI"}, "", "/dev/full").exitCode, 1);
}

// What cannot be converted or has a refused name is reported, counted and exits 1.
TEST(ExtractConversions, MusicPcxAndPidAreConvertedUnderTheOverwriteRule) {
  TempDir work;
  const auto song = [](unsigned char note) {
    return std::vector<unsigned char>{0x90, note, 100, 60};
  };
  // A 2 x 1 PCX: header, one run of index 5 ("5, 0" raw), then the palette.
  std::vector<unsigned char> pcx(128 + 3 + 768, 9);
  std::fill(pcx.begin(), pcx.begin() + 128, 0);
  pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[65] = 1, pcx[66] = 2;
  pcx[128] = 5, pcx[129] = 0, pcx[130] = 0x0C;
  Write(work / "game.rez",
        Folder("", {FileNode("MUSIC", "XMI", xmibuild::Xmi({song(60), song(62)})),
                    FileNode("BROKEN", "XMI", "not music"), FileNode("TITLE", "PCX", pcx),
                    FileNode("BAD", "PID", MakePid(0, 5)), FileNode("GOOD", "PID", MakePid(2, 2)),
                    Folder("..", {FileNode("ESCAPE", "WAV", "x")})}));
  fs::create_directories(work / "out");
  WriteText(work / "out" / "MUSIC-1.mid", "kept");
  const CliRun run =
      RunCli(work.path(), {"extract", (work / "game.rez").string(), (work / "out").string(),
                           "--midi", "--pcx", "--png", "--overwrite=never"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  for (const char* line :
       {"tarnwick-cli: \\: refused the folder name \"..\"",
        "tarnwick-cli: cannot convert \"BAD.PID\" in \\: picture size 0 x 5", "BROKEN.XMI",
        "not a valid XMI: ", "tarnwick-cli: 3 of 6 files could not be extracted\n"})
    EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
  EXPECT_EQ(ReadPng(work / "out" / "GOOD.png").width, 2u);
  EXPECT_FALSE(fs::exists(work / "ESCAPE.WAV"));
  EXPECT_EQ(ReadFile(work / "out" / "MUSIC-1.mid"), "kept");
  EXPECT_EQ(ReadFile(work / "out" / "MUSIC-2.mid").substr(0, 4), "MThd");
  EXPECT_EQ(ReadFile(work / "out" / "TITLE.png").substr(1, 3), "PNG");
  for (const char* raw : {"MUSIC.XMI", "BROKEN.XMI", "TITLE.PCX", "BAD.PID"})
    EXPECT_FALSE(fs::exists(work / "out" / raw)) << raw;
}

}  // namespace

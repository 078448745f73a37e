// tarnwick-cli pack, cat and the music and PCX conversions of extract, as scripts run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/RezBuilder.h"
#include "support/TempDir.h"
#include "support/XmiBuilder.h"
#include "tests/cli/CliRun.h"

namespace {

namespace fs = std::filesystem;
using extracttest::ReadFile;
using extracttest::WriteText;

// Every file of the archive: path -> bytes.
std::map<std::string, std::string> EntriesOf(const REZ::Dir& folder,
                                             const std::string& prefix = "") {
  std::map<std::string, std::string> entries;
  for (const auto& child : folder.children) {
    const std::string path = prefix + child->name;
    if (child->IsDir()) {
      entries[path + "/"] = "";
      entries.merge(EntriesOf(static_cast<const REZ::Dir&>(*child), path + "/"));
    } else {
      const auto bytes = static_cast<const REZ::File&>(*child).GetData();
      entries[path] = std::string(bytes.begin(), bytes.end());
    }
  }
  return entries;
}

rezbuild::Node GameLikeArchive() {
  using rezbuild::FileNode;
  using rezbuild::Folder;
  return Folder(
      "",
      {FileNode("README", "TXT", "readme"),
       Folder("LEVEL1", {Folder("TILES", {Folder("ACTION", {FileNode("001", "PID", "p1"),
                                                            FileNode("002", "PID", "")})}),
                         FileNode("MUSIC", "XMI", std::string(3000, 'x'))}),
       Folder("PALETTES", {FileNode("MAIN", "PAL", std::string(768, '\x7F'))}), Folder("EMPTY")});
}

TEST(PackCommand, RepackingAnExtractedArchiveListsTheSameEntriesWithTheSameBytes) {
  TempDir work;
  rezbuild::Write(work / "game.rez", GameLikeArchive());
  ASSERT_EQ(RunCli(work.path(), {"extract", (work / "game.rez").string(), (work / "out").string(),
                                 "--empty-folders", "--quiet"})
                .exitCode,
            0);
  const CliRun pack =
      RunCli(work.path(), {"pack", (work / "out").string(), (work / "repacked.rez").string()});
  ASSERT_EQ(pack.exitCode, 0) << pack.err;
  EXPECT_EQ(EntriesOf(REZ::Parser(work / "repacked.rez").Root()),
            EntriesOf(REZ::Parser(work / "game.rez").Root()));

  // An existing archive is kept unless --overwrite is given.
  const std::string before = ReadFile(work / "repacked.rez");
  fs::remove(work / "out" / "README.TXT");
  const CliRun again =
      RunCli(work.path(), {"pack", (work / "out").string(), (work / "repacked.rez").string()});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
  EXPECT_EQ(ReadFile(work / "repacked.rez"), before);
  EXPECT_EQ(RunCli(work.path(), {"pack", "--overwrite", (work / "out").string(),
                                 (work / "repacked.rez").string()})
                .exitCode,
            0);
  EXPECT_EQ(EntriesOf(REZ::Parser(work / "repacked.rez").Root()).count("README.TXT"), 0u);
}

TEST(PackCommand, RefusedNamesAreListedAndNothingIsWritten) {
  TempDir work;
  fs::create_directories(work / "tree" / "SUB");
  WriteText(work / "tree" / "GOOD.TXT", "fine");
  WriteText(work / "tree" / "SUB" / "NOTYPE", "refused");
  fs::create_directories(work / "dest");
  const CliRun run =
      RunCli(work.path(), {"pack", (work / "tree").string(), (work / "dest" / "a.rez").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find((work / "tree" / "SUB" / "NOTYPE").string() + ": has no type"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(fs::is_empty(work / "dest"));
}

TEST(CatCommand, WritesOneEntryOrSaysWhyNot) {
  TempDir work;
  rezbuild::Write(work / "game.rez", GameLikeArchive());
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
  const std::string toFull = ShellQuoted(TARNWICK_CLI_PATH) + " cat " + ShellQuoted(archive) +
                             " LEVEL1/MUSIC.XMI >/dev/full 2>/dev/null";
  const int status = std::system(toFull.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

TEST(ExtractConversions, MusicAndPcxAreConvertedUnderTheOverwriteRule) {
  TempDir work;
  const auto song = [](unsigned char note) {
    return std::vector<unsigned char>{0x90, note, 100, 60};
  };
  std::vector<unsigned char> pcx(128, 0);
  pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[65] = 1, pcx[66] = 2;
  pcx.insert(pcx.end(), {5, 0, 0x0C});
  pcx.resize(pcx.size() + 768, 9);
  rezbuild::Write(
      work / "game.rez",
      rezbuild::Folder("", {rezbuild::FileNode("MUSIC", "XMI", xmibuild::Xmi({song(60), song(62)})),
                            rezbuild::FileNode("BROKEN", "XMI", "not music"),
                            rezbuild::FileNode("TITLE", "PCX", pcx)}));
  fs::create_directories(work / "out");
  WriteText(work / "out" / "MUSIC-1.mid", "kept");
  const CliRun run =
      RunCli(work.path(), {"extract", (work / "game.rez").string(), (work / "out").string(),
                           "--midi", "--pcx", "--overwrite=never"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("BROKEN.XMI"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("not a valid XMI: "), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile(work / "out" / "MUSIC-1.mid"), "kept");
  EXPECT_EQ(ReadFile(work / "out" / "MUSIC-2.mid").substr(0, 4), "MThd");
  EXPECT_EQ(ReadFile(work / "out" / "TITLE.png").substr(1, 3), "PNG");
  for (const char* raw : {"MUSIC.XMI", "BROKEN.XMI", "TITLE.PCX"})
    EXPECT_FALSE(fs::exists(work / "out" / raw)) << raw;
}

}  // namespace

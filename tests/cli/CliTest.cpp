// tarnwick-cli as scripts see it: exact JSON on good archives, one error line
// and exit status 2 on bad ones and on usage errors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "support/RezBuilder.h"
#include "support/TempDir.h"
#include "tests/cli/CliRun.h"

using namespace rezbuild;
using Json = nlohmann::ordered_json;

namespace {

class Cli : public ::testing::Test {
 protected:
  CliRun Invoke(const std::vector<std::string>& args) { return RunCli(dir.path(), args); }

  Json JsonOf(const std::vector<std::string>& args) {
    const CliRun run = Invoke(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return Json::parse(run.out);
  }

  void ExpectArchiveError(const std::string& path, const std::string& message) {
    for (const char* command : {"stats", "list"}) {
      for (bool json : {false, true}) {
        std::vector<std::string> args = {command};
        if (json) args.push_back("--json");
        args.push_back(path);
        const CliRun run = Invoke(args);
        EXPECT_EQ(run.exitCode, 2) << command;
        // The reader's detail follows in parentheses, on the same line.
        EXPECT_EQ(run.err.rfind("tarnwick-cli: " + path + ": " + message, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_EQ(run.out, "") << command;
      }
    }
  }

  std::string Path(const std::string& name) const { return (dir / name).string(); }

  TempDir dir;
};

// Laid out by hand: root block at 139 (56 bytes), CLAW's block at 195 (84),
// PALETTES' at 279 (34), IMAGES' at 313 (62); data from 375 in record order
// of the blocks: SOUND.WAV, README., MAIN.PAL, A.PID, B.PID; 1206 bytes in all.
Node ClawArchive() {
  return Folder(
      "ROOT",
      {Folder("CLAW",
              {Folder("PALETTES", {FileNode("MAIN", "PAL", std::vector<unsigned char>(768, 1))}),
               Folder("IMAGES", {FileNode("A", "PID", std::vector<unsigned char>(10, 2)),
                                 FileNode("B", "PID", std::vector<unsigned char>(20, 3))}),
               FileNode("README", "", "abc")}),
       FileNode("SOUND", "WAV", std::vector<unsigned char>(30, 4))});
}

TEST_F(Cli, StatsJson) {
  Write(dir / "claw.rez", ClawArchive());
  const Json expected = {{"archive", Path("claw.rez")},
                         {"size", 1206},
                         {"game", "CLAW"},
                         {"types",
                          {{{"extension", "PAL"}, {"count", 1}, {"totalSize", 768}},
                           {{"extension", "PID"}, {"count", 2}, {"totalSize", 30}},
                           {{"extension", "WAV"}, {"count", 1}, {"totalSize", 30}}}}};
  EXPECT_EQ(JsonOf({"stats", "--json", Path("claw.rez")}), expected);
  // The option may follow the archive.
  EXPECT_EQ(JsonOf({"stats", Path("claw.rez"), "--json"}), expected);
}

TEST_F(Cli, ListJson) {
  Write(dir / "claw.rez", ClawArchive());
  const auto entry = [](const char* path, const char* kind, int size, int offset) {
    return Json{{"path", path}, {"kind", kind}, {"size", size}, {"offset", offset}};
  };
  const Json expected = {
      {"entries",
       {entry("CLAW", "dir", 84, 195), entry("CLAW/PALETTES", "dir", 34, 279),
        entry("CLAW/PALETTES/MAIN.PAL", "file", 768, 408), entry("CLAW/IMAGES", "dir", 62, 313),
        entry("CLAW/IMAGES/A.PID", "file", 10, 1176), entry("CLAW/IMAGES/B.PID", "file", 20, 1186),
        entry("CLAW/README.", "file", 3, 405), entry("SOUND.WAV", "file", 30, 375)}}};
  EXPECT_EQ(JsonOf({"list", "--json", Path("claw.rez")}), expected);
}

TEST_F(Cli, EmptyArchiveJson) {
  WriteBytes(dir / "empty.rez", Header(139, 0));
  EXPECT_EQ(JsonOf({"stats", "--json", Path("empty.rez")}), (Json{{"archive", Path("empty.rez")},
                                                                  {"size", 139},
                                                                  {"game", "NONE"},
                                                                  {"types", Json::array()}}));
  EXPECT_EQ(JsonOf({"list", "--json", Path("empty.rez")}), (Json{{"entries", Json::array()}}));
}

TEST_F(Cli, ReadableStatsAndListEscapeNames) {
  Write(dir / "claw.rez", ClawArchive());
  const CliRun stats = Invoke({"stats", Path("claw.rez")});
  EXPECT_EQ(stats.exitCode, 0);
  EXPECT_NE(stats.out.find("1.18 kB"), std::string::npos) << stats.out;  // 1206 bytes
  EXPECT_NE(stats.out.find("CLAW"), std::string::npos);
  EXPECT_NE(stats.out.find("768 bytes"), std::string::npos);  // the PAL total
  EXPECT_EQ(stats.out.find('{'), std::string::npos);

  const CliRun list = Invoke({"list", Path("claw.rez")});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_LT(list.out.find("CLAW/PALETTES/MAIN.PAL"), list.out.find("SOUND.WAV"));

  // No name may drive the terminal or forge a line of the listing.
  Write(dir / "odd.rez", Folder("ROOT", {FileNode("A\x1B[2J", "WAV", "x"),
                                         FileNode("B\n-          1  C", "WAV", "y"),
                                         FileNode("D\\x41", "T\x07", "z")}));
  const CliRun odd = Invoke({"list", Path("odd.rez")});
  EXPECT_NE(odd.out.find("  A\\x1B[2J.WAV\n"), std::string::npos) << odd.out;
  EXPECT_NE(odd.out.find("  B\\x0A-          1  C.WAV\n"), std::string::npos) << odd.out;
  EXPECT_NE(odd.out.find("  D\\\\x41.T\\x07\n"), std::string::npos) << odd.out;
  EXPECT_NE(Invoke({"stats", Path("odd.rez")}).out.find("\nT\\x07 "), std::string::npos);
}

TEST_F(Cli, OutputThatCannotBeWrittenExitsOne) {
  Write(dir / "claw.rez", ClawArchive());
  for (const char* command : {"list", "stats"})
    for (const bool json : {false, true}) {
      std::vector<std::string> args = {command};
      if (json) args.push_back("--json");
      args.push_back(Path("claw.rez"));
      const CliRun run = RunCli(dir.path(), args, "", "/dev/full");
      EXPECT_EQ(run.exitCode, 1) << command;
      EXPECT_EQ(run.err, "tarnwick-cli: cannot write standard output: No space left on device\n");
    }
}

TEST_F(Cli, NamesThatAreNotUtf8StillGiveValidJson) {
  Write(dir / "latin.rez", Folder("ROOT", {FileNode("CAF\xC9", "WAV", "x"),
                                           Folder("\xFF\xFE", {FileNode("A", "P\x80", "y")})}));
  const Json list = JsonOf({"list", "--json", Path("latin.rez")});
  ASSERT_EQ(list["entries"].size(), 3u);
  // Names are read in the games' code page, so every byte survives as a character.
  EXPECT_EQ(list["entries"][0]["path"], "CAF\u00C9.WAV");
  EXPECT_EQ(list["entries"][1]["path"], "\u00FF\u00FE");
  EXPECT_EQ(list["entries"][2]["path"], "\u00FF\u00FE/A.P\u20AC");
  const Json stats = JsonOf({"stats", "--json", Path("latin.rez")});
  ASSERT_EQ(stats["types"].size(), 2u);
  EXPECT_EQ(stats["types"][1]["extension"], "P\u20AC");
}

TEST_F(Cli, ArchivesThatCannotBeReadExitWith2AndOneLine) {
  // Which damage the reader refuses is its own tests' business; here each kind of message.
  std::vector<unsigned char> version2 = Build(ClawArchive());
  SetU32(version2, 127, 2);
  WriteBytes(dir / "v2.rez", version2);
  ExpectArchiveError(Path("v2.rez"), "Unsupported version.");

  std::vector<unsigned char> swapped = Build(ClawArchive());
  std::swap(swapped[0], swapped[1]);
  WriteBytes(dir / "swapped.rez", swapped);
  ExpectArchiveError(Path("swapped.rez"), "Invalid format. (");

  ASSERT_EQ(mkfifo(Path("pipe.rez").c_str(), 0600), 0);
  ExpectArchiveError(Path("pipe.rez"), "Invalid format.");

  ExpectArchiveError(Path("missing.rez"), "No such file or directory");
  ExpectArchiveError(dir.path().string(), "Is a directory");
}

TEST_F(Cli, UsageErrorsExitWith2AndHelpAndVersionWith0) {
  Write(dir / "claw.rez", ClawArchive());
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"unpack", Path("claw.rez")},
                                             {"stats"},
                                             {"list", "--json"},
                                             {"stats", "--xml", Path("claw.rez")},
                                             {"list", Path("claw.rez"), Path("claw.rez")}}) {
    const CliRun run = Invoke(args);
    EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(run.err.rfind("tarnwick-cli", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const CliRun help = Invoke({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("stats [--json] ARCHIVE"), std::string::npos);
  EXPECT_NE(help.out.find("list [--json] ARCHIVE"), std::string::npos);
  const CliRun version = Invoke({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("tarnwick-cli ") + TARNWICK_VERSION + "\n");
}

TEST_F(Cli, ArchiveOver2GiBWithDataPastThe3GiBMark) {
  constexpr std::uint64_t kGiB = 1ull << 30;
  Node three = FileNode("THREE", "DAT", "past three");
  three.dataAt = 3 * kGiB + 7;
  Write(dir / "big.rez", Folder("ROOT", {Folder("FAR", {three})}));

  const Json stats = JsonOf({"stats", "--json", Path("big.rez")});
  EXPECT_EQ(stats["size"], 3 * kGiB + 7 + 10);
  EXPECT_EQ(stats["types"], (Json{{{"extension", "DAT"}, {"count", 1}, {"totalSize", 10}}}));
  const Json list = JsonOf({"list", "--json", Path("big.rez")});
  ASSERT_EQ(list["entries"].size(), 2u);
  EXPECT_EQ(
      list["entries"][1],
      (Json{{"path", "FAR/THREE.DAT"}, {"kind", "file"}, {"size", 10}, {"offset", 3 * kGiB + 7}}));
}

}  // namespace

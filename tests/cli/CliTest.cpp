// tarnwick-cli stats and list as scripts see them: exact JSON on good
// archives, one error line and exit status 2 on bad ones and on usage errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <tuple>

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

TEST_F(Cli, StatsAndListJson) {
  Write(dir / "claw.rez", ClawArchive());
  const Json stats = {{"archive", Path("claw.rez")},
                      {"size", 1206},
                      {"game", "CLAW"},
                      {"types",
                       {{{"extension", "PAL"}, {"count", 1}, {"totalSize", 768}},
                        {{"extension", "PID"}, {"count", 2}, {"totalSize", 30}},
                        {{"extension", "WAV"}, {"count", 1}, {"totalSize", 30}}}},
                      {"palettes", {"CLAW/PALETTES/MAIN.PAL"}}};
  EXPECT_EQ(JsonOf({"stats", "--json", Path("claw.rez")}), stats);
  EXPECT_EQ(JsonOf({"stats", Path("claw.rez"), "--json"}), stats);  // the option may follow
  const auto entry = [](const char* path, const char* kind, int size, int offset) {
    return Json{{"path", path}, {"kind", kind}, {"size", size}, {"offset", offset}};
  };
  // The listing streams every entry, folders before their contents.
  const Json list = JsonOf({"list", "--json", Path("claw.rez")})["entries"];
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list[0], entry("CLAW", "dir", 84, 195));
  EXPECT_EQ(list[2], entry("CLAW/PALETTES/MAIN.PAL", "file", 768, 408));
  EXPECT_EQ(list[7], entry("SOUND.WAV", "file", 30, 375));

  // The streamed listing is valid JSON without entries too.
  WriteBytes(dir / "empty.rez", Header(139, 0));
  EXPECT_EQ(JsonOf({"list", "--json", Path("empty.rez")}), (Json{{"entries", Json::array()}}));
  EXPECT_EQ(JsonOf({"stats", "--json", Path("empty.rez")})["game"], "NONE");

  // Names are read in the games' code page, so every byte survives as a character.
  Write(dir / "latin.rez", Folder("ROOT", {Folder("\xFF", {FileNode("CAF\xC9", "P\x80", "y")})}));
  EXPECT_EQ(JsonOf({"list", "--json", Path("latin.rez")})["entries"][1]["path"],
            "\u00FF/CAF\u00C9.P\u20AC");
}

// No name may drive the terminal or forge a line of the listing; output
// that cannot be written is an error.
TEST_F(Cli, ReadableListingsEscapeNamesAndUnwritableOutputExitsOne) {
  Write(dir / "odd.rez", Folder("ROOT", {FileNode("A\x1B[2J", "WAV", "x"),
                                         FileNode("B\n-          1  C", "WAV", "y"),
                                         FileNode("D\\x41", "T\x07", "z")}));
  const CliRun odd = Invoke({"list", Path("odd.rez")});
  EXPECT_EQ(odd.exitCode, 0);
  EXPECT_NE(odd.out.find("  A\\x1B[2J.WAV\n"), std::string::npos) << odd.out;
  EXPECT_NE(odd.out.find("  B\\x0A-          1  C.WAV\n"), std::string::npos) << odd.out;
  EXPECT_NE(odd.out.find("  D\\\\x41.T\\x07\n"), std::string::npos) << odd.out;
  EXPECT_NE(Invoke({"stats", Path("odd.rez")}).out.find("\nT\\x07 "), std::string::npos);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"list", Path("odd.rez")},
                                               {"list", "--json", Path("odd.rez")},
                                               {"stats", Path("odd.rez")},
                                               {"stats", "--json", Path("odd.rez")}}) {
    const CliRun run = RunCli(dir.path(), args, "", "/dev/full");
    EXPECT_EQ(run.exitCode, 1) << args[0];
    EXPECT_EQ(run.err, "tarnwick-cli: cannot write standard output: No space left on device\n");
  }
  EXPECT_NE(Invoke({"extract", Path("odd.rez"), Path("o"), "--types=X"}).err.find("WAV,T\\x07\n"),
            std::string::npos);
  std::filesystem::resize_file(dir / "odd.rez", std::filesystem::file_size(dir / "odd.rez") - 1);
  EXPECT_NE(Invoke({"list", Path("odd.rez")}).err.find("\"D\\x41.T\\x07\" at"), std::string::npos);
}

// Archives that cannot be read and usage errors exit 2 with one line, before
// anything is made; a destination that cannot be made exits 1. Which damage
// the reader refuses is its own tests' business; here each kind of message,
// with the reader's detail in parentheses.
TEST_F(Cli, ErrorsExitWithOneLineAndHelpAndVersionWith0) {
  std::vector<unsigned char> version2 = Build(ClawArchive()), swapped = version2;
  WriteBytes(dir / "claw.rez", version2);
  SetU32(version2, 127, 2);
  WriteBytes(dir / "v2.rez", version2);
  std::swap(swapped[0], swapped[1]);
  WriteBytes(dir / "swapped.rez", swapped);
  const std::string rez = Path("claw.rez"), out = Path("out"), cli = "tarnwick-cli: ";
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{"stats", Path("v2.rez")}, 2, cli + Path("v2.rez") + ": Unsupported version."},
      {{"list", "--json", Path("swapped.rez")},
       2,
       cli + Path("swapped.rez") + ": Invalid format. ("},
      {{"list", Path("missing.rez")}, 2, cli + Path("missing.rez") + ": No such file or directory"},
      {{"stats", dir.path().string()}, 2, cli + dir.path().string() + ": Is a directory"},
      {{"extract", Path("swapped.rez"), out}, 2, cli + Path("swapped.rez") + ": Invalid format. ("},
      {{}, 2, cli},
      {{"unpack", rez}, 2, cli},
      {{"list", "--json"}, 2, cli},
      {{"stats", "--xml", rez}, 2, cli},
      {{"extract", rez}, 2, cli + "extract: "},
      {{"extract", rez, out, "--rect"}, 2, cli + "extract: "},
      {{"extract", rez, out, "--overwrite=maybe"}, 2, cli + "extract: "},
      {{"extract", rez, out, "--types=WAV,,TXT"}, 2, cli + "extract: "},
      {{"extract", rez, out, "--types=wav"},  // naming no type lists the archive's types
       2,
       cli + "extract: --types names no type of " + rez + "; it holds PAL,PID,WAV\n"},
      {{"extract", rez, Path("claw.rez/dest")}, 1, cli + Path("claw.rez/dest")}};
  for (const auto& [args, code, prefix] : cases) {
    const CliRun run = Invoke(args);
    EXPECT_EQ(run.exitCode, code) << ::testing::PrintToString(args);
    EXPECT_EQ(run.err.rfind(prefix, 0), 0u) << run.err;
    // A usage error adds a line about --help.
    const bool usage = prefix == cli || prefix.rfind(cli + "extract: ", 0) == 0;
    EXPECT_EQ(run.err.find('\n') == run.err.size() - 1, !usage) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_NE(Invoke({"--help"}).out.find("list [--json] ARCHIVE"), std::string::npos);
  EXPECT_EQ(Invoke({"--version"}).out, std::string("tarnwick-cli ") + TARNWICK_VERSION + "\n");
}

}  // namespace

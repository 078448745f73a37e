// Packing a folder tree and extracting the archive gives the tree back, in an
// archive laid out as the games' own packer lays it out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "archive/PackTree.h"
#include "archive/RezWriter.h"
#include "support/TempDir.h"
#include "tests/extract/ExtractTestSupport.h"

namespace {

namespace fs = std::filesystem;
using extracttest::ReadFile;
using extracttest::TreeOf;
using extracttest::WriteText;

std::uint32_t U32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// A tree with nested and empty folders, empty files, names with dots, every
// type length, and a chain of folders as deep as the format holds.
fs::path MakeTree(const fs::path& root) {
  fs::create_directories(root / "LEVEL1" / "TILES");
  fs::create_directories(root / "EMPTY");
  fs::create_directories(root / "LEVEL1" / "NOTHING");
  WriteText(root / "LEVEL1" / "TILES" / "A.PID", std::string("\x01\x02\x00\x03", 4));
  WriteText(root / "LEVEL1" / "TILES" / "B.PID", "second picture");
  WriteText(root / "LEVEL1" / "MUSIC.XMI", std::string(70000, 'm'));
  WriteText(root / "ZERO.DAT", "");
  WriteText(root / "V1.2.X", "dots before the type");
  WriteText(root / "WAVES.WAVE", "four-character type");
  fs::path deep = root;
  for (std::size_t level = 0; level < REZ::kMaxPackDepth; ++level) deep /= "D";
  fs::create_directories(deep);
  WriteText(deep / "BOTTOM.BIN", "at the deepest level");
  return deep;
}

fs::path Pack(const fs::path& tree, const fs::path& archive) {
  const REZ::PackTree pack = REZ::ReadPackTree(tree);
  EXPECT_TRUE(pack.refusals.empty());
  const auto failure = REZ::WriteRez(pack.root, archive, {false, pack.newest});
  EXPECT_EQ(failure, std::nullopt);
  return archive;
}

TEST(PackRoundTrip, APackedTreeExtractsByteForByteAndNamesOutsideTheFormatAreRefused) {
  TempDir work;
  const fs::path tree = work / "tree", deep = MakeTree(tree);
  const fs::path archive = Pack(tree, work / "packed.rez");
  // Packing again is reproducible: same names, same order, same times.
  EXPECT_EQ(ReadFile(Pack(tree, work / "again.rez")), ReadFile(archive));
  // Nothing but the archives is left in their folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator()), 3);

  auto parser = std::make_shared<REZ::Parser>(archive);
  auto questions = std::make_shared<extracttest::ScriptedQuestions>();
  ExtractOptions options = extracttest::OptionsFor(*parser);
  options.extractEmptyFolders = true;
  fs::create_directories(work / "out");
  const auto job = extracttest::RunJob(parser, options, work / "out", questions);
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  EXPECT_EQ(TreeOf(work / "out"), TreeOf(tree));

  // Names outside the format are refused with their paths.
  fs::create_directories(deep / "TOO" / "DEEP");
  WriteText(tree / "NOTYPE", "x");
  WriteText(tree / "TYPE.ABCDE", "x");
  WriteText(tree / (std::string(127, 'N') + ".TXT"), "x");
  WriteText(tree / (std::string(126, 'N') + ".TXT"), "fits");
  fs::create_directories(tree / std::string(128, 'F'));
  WriteText(tree / "\xE4\xB8\xAD.TXT", "not in the code page");
  WriteText(tree / "CAF\xC3\x89.TXT", "in the code page");
  WriteText(tree / "BACK\\SLASH.TXT", "x");
  fs::create_symlink("ZERO.DAT", tree / "LINK.DAT");

  const REZ::PackTree pack = REZ::ReadPackTree(tree);
  std::map<fs::path, std::string> refused;
  for (const auto& refusal : pack.refusals) refused[refusal.path] = refusal.reason;
  const std::map<fs::path, std::string> expected = {
      {deep / "TOO", "folders nest deeper than 255 levels"},
      {tree / "NOTYPE", "has no type"},
      {tree / "TYPE.ABCDE", "a type of 5 characters"},
      {tree / (std::string(127, 'N') + ".TXT"), "a name of 127 characters"},
      {tree / std::string(128, 'F'), "a folder name of 128 characters"},
      {tree / "\xE4\xB8\xAD.TXT", "Windows-1252 cannot hold"},
      {tree / "BACK\\SLASH.TXT", "backslash"},
      {tree / "LINK.DAT", "symbolic link"},
  };
  ASSERT_EQ(refused.size(), expected.size());
  for (const auto& [path, reason] : expected)
    EXPECT_NE(refused[path].find(reason), std::string::npos) << path << ": " << refused[path];
  // The name the code page holds is stored in it.
  EXPECT_TRUE(std::any_of(pack.root.files.begin(), pack.root.files.end(),
                          [](const REZ::PackFile& file) { return file.name == "CAF\xC9"; }));
}

TEST(PackRoundTrip, TheArchiveHasTheRetailLayout) {
  TempDir work;
  fs::create_directories(work / "tree" / "SUB");
  fs::create_directories(work / "tree" / "LONGERFOLDER");
  WriteText(work / "tree" / "ROOTFILE.WAV", "abc");
  WriteText(work / "tree" / "SUB" / "INNER.PID", "defgh");
  const std::string bytes = ReadFile(Pack(work / "tree", work / "a.rez"));
  const std::string banner = "RezMgr Version 1 Copyright (C) 1995 MONOLITH INC.           ";
  EXPECT_EQ(bytes.substr(0, 0x7F), "\r\n" + banner + "\r\n" + std::string(60, ' ') + "\r\n\x1A");
  // Data from 0xA8 in walk order (the subfolder's file first), then the
  // bodies, the root's last; the header words from 0x7F say so.
  EXPECT_EQ(bytes.substr(0xA8, 8), "defghabc");
  EXPECT_EQ(U32(bytes, 0x83) + U32(bytes, 0x87), bytes.size());
  const std::uint32_t header[] = {
      1, U32(bytes, 0x83), U32(bytes, 0x87), 0, 0xA8 + 8, U32(bytes, 0x93), 0, 13, 9, 0};
  for (std::size_t i = 0; i < std::size(header); ++i)
    EXPECT_EQ(U32(bytes, 0x7F + 4 * i), header[i]) << i;
  EXPECT_EQ(bytes[0xA7], 1);
}

}  // namespace

// Archives of 2 GiB and more: offsets past the 2 GiB and 3 GiB marks, up to the
// last 32-bit offset. The archive is sparse, so it costs almost no disk space.
#include <gtest/gtest.h>

#include <tuple>

#include "archive/ArchiveStats.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

constexpr std::uint64_t kGiB = 1ull << 30;

Node PlacedFile(std::string name, const std::string& text, std::uint64_t at) {
  Node node = FileNode(std::move(name), "DAT", text);
  node.dataAt = at;
  return node;
}

TEST(LargeArchive, DataPastThe2GiBMarkIsReadWhole) {
  TempDir dir;
  Write(dir / "large.rez",
        Folder("ROOT", {Folder("FAR", {PlacedFile("PAST2G", "beyond two", 2 * kGiB + 17),
                                       PlacedFile("PAST3G", "beyond three", 3 * kGiB + 5),
                                       PlacedFile("LAST", "sixteen bytes!!!", 4 * kGiB - 16)})}));
  REZ::Parser parser(dir / "large.rez");
  EXPECT_EQ(parser.ArchiveSize(), 4 * kGiB);
  EXPECT_EQ(MeasureArchiveFile(dir / "large.rez"), std::int64_t(4 * kGiB));
  for (const auto& [path, offset, text] :
       std::vector<std::tuple<std::string, std::uint64_t, std::string>>{
           {"FAR/PAST2G.DAT", 2 * kGiB + 17, "beyond two"},
           {"FAR/PAST3G.DAT", 3 * kGiB + 5, "beyond three"},
           {"FAR/LAST.DAT", 4 * kGiB - 16, "sixteen bytes!!!"}}) {
    const auto& file = static_cast<const REZ::File&>(*parser.Root().GetElement(path));
    EXPECT_EQ(file.offset, offset) << path;
    const auto data = file.GetData();
    EXPECT_EQ(std::string(data.begin(), data.end()), text) << path;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

TEST(ReaderFormat, MinimalArchiveLoadsOneFile) {
  TempDir dir;
  std::vector<unsigned char> bytes = Header(139, 31);
  PutU32(bytes, 0);
  PutU32(bytes, 170);
  PutU32(bytes, 5);
  PutU32(bytes, 0);
  PutU32(bytes, 0);
  for (char c : {'T', 'X', 'T', '\0'}) bytes.push_back(static_cast<unsigned char>(c));
  PutU32(bytes, 0);
  for (char c : {'A', '\0', '\0'}) bytes.push_back(static_cast<unsigned char>(c));
  for (char c : std::string("hello")) bytes.push_back(static_cast<unsigned char>(c));
  WriteBytes(dir / "a.rez", bytes);

  REZ::Parser parser(dir / "a.rez");
  ASSERT_EQ(parser.Root().children.size(), 1u);
  auto& file = static_cast<REZ::File&>(*parser.Root().children[0]);
  EXPECT_TRUE(file.IsFile());
  EXPECT_EQ(file.name, "A.TXT");
  EXPECT_EQ(file.size, 5u);
  auto data = file.GetData();
  EXPECT_EQ(std::string(data.begin(), data.end()), "hello");
}

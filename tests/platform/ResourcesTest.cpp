#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Resources.h"

namespace fs = std::filesystem;

namespace {

const fs::path kResourceFolder = fs::path(TARNWICK_SOURCE_DIR) / "resources";

std::string Bytes(const platform::ResourceBytes& resource) {
  return std::string(reinterpret_cast<const char*>(resource.data), resource.size);
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(EmbeddedResources, EveryResourceFileIsCarriedByteForByte) {
  std::size_t files = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(kResourceFolder, error)) {
    std::string type = entry.path().extension().string();
    if (type != ".png" && type != ".fnt") continue;
    ++files;
    type = type.substr(1);
    for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string stem = entry.path().stem().string();
    const bool icon = type == "PNG" && stem.rfind("icon", 0) == 0 && stem.size() > 4;
    const auto found = icon ? platform::FindIconResource(std::stoi(stem.substr(4)))
                            : platform::FindResource(stem, type);
    ASSERT_TRUE(found) << entry.path();
    EXPECT_EQ(Bytes(*found), FileBytes(entry.path())) << entry.path();
  }
  EXPECT_EQ(platform::kEmbeddedResourceCount, files);
}

TEST(EmbeddedResources, NamesAndTypesCompareByteForByte) {
  ASSERT_TRUE(fs::exists(kResourceFolder / "Main.png"));
  EXPECT_TRUE(platform::FindResource("Main", "PNG"));
  EXPECT_FALSE(platform::FindResource("main", "PNG"));
  EXPECT_FALSE(platform::FindResource("Main", "png"));
  EXPECT_FALSE(platform::FindResource("Main", "FNT"));
  EXPECT_FALSE(platform::FindResource("", ""));
  EXPECT_FALSE(platform::FindIconResource(101));
}

}  // namespace

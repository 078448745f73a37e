#include <gtest/gtest.h>

#include "app/Paths.h"

namespace {

TEST(PathSplitting, AcceptsBothSeparators) {
  EXPECT_EQ(PathDirectory("D:\\Games\\CLAW.REZ"), "D:\\Games");
  EXPECT_EQ(PathFileName("D:\\Games\\CLAW.REZ"), "CLAW.REZ");
  EXPECT_EQ(PathDirectory("/games/claw.rez"), "/games");
  EXPECT_EQ(PathFileName("/games/sub\\claw.rez"), "claw.rez");
  EXPECT_EQ(PathDirectory("claw.rez"), "");
  EXPECT_EQ(PathFileName("claw.rez"), "claw.rez");
  EXPECT_EQ(PathFileName("/games/"), "");
}

TEST(PathSplitting, BaseNameDropsOnlyTheLastExtension) {
  EXPECT_EQ(FileBaseName("CLAW.REZ"), "CLAW");
  EXPECT_EQ(FileBaseName("claw.old.rez"), "claw.old");
  EXPECT_EQ(FileBaseName("CLAW"), "CLAW");
  EXPECT_EQ(FileBaseName("CLAW."), "CLAW.");
}

TEST(DefaultDestination, JoinsTheArchiveFolderWithASlash) {
  EXPECT_EQ(DefaultDestination("/home/user/games/CLAW.REZ"), "/home/user/games/CLAW REZ");
  EXPECT_EQ(DefaultDestination("D:/games/claw.rez"), "D:/games/claw rez");
  // A Windows path is split at its backslashes, and the new name is joined
  // with the separator of the file system the folder is made on.
  EXPECT_EQ(DefaultDestination("D:\\Games\\CLAW.REZ"), "D:\\Games/CLAW REZ");
}

TEST(DefaultDestination, ArchiveAtTheRootStaysAtTheRoot) {
  EXPECT_EQ(DefaultDestination("/CLAW.REZ"), "/CLAW REZ");
}

TEST(DefaultDestination, BareFileNameStaysRelative) {
  EXPECT_EQ(DefaultDestination("CLAW.REZ"), "CLAW REZ");
}

TEST(DefaultDestination, NeverNamesTheArchiveItself) {
  for (const std::string path : {"/data/CLAW", "/data/CLAW.", "CLAW", "/data/.rez"}) {
    const std::string destination = DefaultDestination(path);
    EXPECT_NE(destination, path);
    EXPECT_EQ(destination.back() == ' ', false) << destination;
  }
  EXPECT_EQ(DefaultDestination("/data/CLAW"), "/data/CLAW extracted");
  EXPECT_EQ(DefaultDestination("/data/CLAW."), "/data/CLAW. extracted");
}

}  // namespace

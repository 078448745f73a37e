#include <gtest/gtest.h>

#include "app/Paths.h"

namespace {

TEST(Paths, SplitAtEitherSeparatorAndDropOnlyTheLastExtension) {
  struct Case {
    std::string (*function)(const std::string&);
    std::string input, expected;
  } cases[] = {
      {PathDirectory, "D:\\Games\\CLAW.REZ", "D:\\Games"},
      {PathFileName, "D:\\Games\\CLAW.REZ", "CLAW.REZ"},
      {PathDirectory, "/games/claw.rez", "/games"},
      {PathFileName, "/games/sub\\claw.rez", "claw.rez"},
      {PathDirectory, "claw.rez", ""},
      {PathFileName, "claw.rez", "claw.rez"},
      {PathFileName, "/games/", ""},
      {FileBaseName, "claw.old.rez", "claw.old"},
      {FileBaseName, "CLAW", "CLAW"},
      {FileBaseName, "CLAW.", "CLAW."},
      {DefaultDestination, "/home/user/games/CLAW.REZ", "/home/user/games/CLAW REZ"},
      // A Windows path is split at its backslashes, and the new name is joined
      // with the separator of the file system the folder is made on.
      {DefaultDestination, "D:\\Games\\CLAW.REZ", "D:\\Games/CLAW REZ"},
      {DefaultDestination, "/CLAW.REZ", "/CLAW REZ"},
      {DefaultDestination, "CLAW.REZ", "CLAW REZ"},
      // Never the archive itself, never a name ending in a space.
      {DefaultDestination, "/data/CLAW", "/data/CLAW extracted"},
      {DefaultDestination, "/data/CLAW.", "/data/CLAW. extracted"},
      {DefaultDestination, "CLAW", "CLAW extracted"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.function(c.input), c.expected) << c.input;
  const std::string hidden = DefaultDestination("/data/.rez");
  EXPECT_NE(hidden, "/data/.rez");
  EXPECT_NE(hidden.back(), ' ');
}

}  // namespace

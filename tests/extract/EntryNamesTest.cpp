// Archive names on disk and on the terminal: decoded from Windows-1252 by the
// one codec, checked after decoding; PNG names change only a final ".PID".
#include <gtest/gtest.h>

#include "extract/EntryNames.h"

TEST(EntryNames, DiskPngAndPrintableNames) {
  const std::optional<std::string> none;
  EXPECT_EQ(DiskNameOf("FRAME001.PID"), "FRAME001.PID");
  EXPECT_EQ(DiskNameOf("CAF\xC9"), "CAF\xC3\x89");
  EXPECT_EQ(DiskNameOf("\x81\x80"), "\xC2\x81\xE2\x82\xAC");  // undefined byte, euro sign
  for (const char* unsafe : {"", ".", "..", "A/B", "A\\B"}) EXPECT_EQ(DiskNameOf(unsafe), none);
  EXPECT_EQ(DiskNameOf(std::string("A\0B", 3)), none);

  EXPECT_EQ(PngNameOf("SPIDER.PID"), "SPIDER.png");
  EXPECT_EQ(PngNameOf("A.PID.PID"), "A.PID.png");
  EXPECT_EQ(PngNameOf("B.XPID"), "B.XPID.png");

  EXPECT_EQ(PrintableName("CAF\xC3\x89"), "CAF\xC3\x89");
  EXPECT_EQ(PrintableName("\x1B[31m\n"), "\\x1B[31m\\x0A");
  EXPECT_EQ(PrintableName("\xC2\x9B"
                          "2J"),
            "\\xC2\\x9B2J");                        // U+009B, an escape introducer
  EXPECT_EQ(PrintableName("CAF\xC9"), "CAF\\xC9");  // not UTF-8
}

// What the widget gallery reads from inside the SDL engine: the frame on
// screen. The program itself never needs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SdlEngine;

class SdlEngineProbe {
 public:
  // The frame on screen as ARGB pixels, row by row; empty when it cannot be read.
  static std::vector<std::uint32_t> ShownFrame(SdlEngine& engine);
  static bool SaveShownFrame(SdlEngine& engine, const std::string& path);  // as PNG
};

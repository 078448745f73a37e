// What tests and the widget gallery look at inside the SDL engine: the frame on
// screen and how many frames were shown. The program itself never needs it.
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
  // Frames actually drawn and shown; a frame equal to the one on screen is not.
  static long PresentedFrames(const SdlEngine& engine);
};

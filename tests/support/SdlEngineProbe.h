// What tests and the window demo look at inside the SDL engine: the frame on
// screen, how many frames were shown, the driver and renderer in use. The
// program itself never needs any of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SdlEngine;

class SdlEngineProbe {
 public:
  // The frame on screen as ARGB pixels, row by row; empty when it cannot be read.
  static std::vector<std::uint32_t> ShownFrame(SdlEngine& engine);
  // Writes the frame on screen as a PNG file.
  static bool SaveShownFrame(SdlEngine& engine, const std::string& path);
  // Frames actually drawn and shown; a frame equal to the one on screen is not.
  static long PresentedFrames(const SdlEngine& engine);
  // Names of the SDL video driver and renderer; empty before System_Initiate.
  static std::string VideoDriver(const SdlEngine& engine);
  static std::string RendererName(const SdlEngine& engine);
};

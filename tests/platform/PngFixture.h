// Small PNG pictures made in memory for the engine and adapter tests, and an
// SDL engine on the offscreen driver.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/SdlEngine.h"

// PNG bytes of a width x height picture with the given ARGB colour per pixel.
std::string PngBytes(int width, int height, const std::function<std::uint32_t(int, int)>& argb);

// The SDL engine on SDL's offscreen driver, window 600x300, already initiated.
// The offscreen driver is asked for explicitly, so the engine accepts it.
std::unique_ptr<SdlEngine> OffscreenEngine();

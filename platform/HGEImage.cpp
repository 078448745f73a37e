#include "platform/HGEImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <guichan/color.hpp>
#include <guichan/exception.hpp>

namespace gcn {
namespace {

// The pixels behind getPixel; the engine keeps its own copy for drawing.
std::vector<std::uint32_t> DecodePixels(const char* data, std::uint32_t size, int width,
                                        int height) {
  std::vector<std::uint32_t> pixels;
  if (size > INT32_MAX) return pixels;
  SDL_Surface* decoded = IMG_Load_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
  if (!decoded) return pixels;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(decoded);
  if (!argb) return pixels;
  if (argb->w == width && argb->h == height && SDL_LockSurface(argb) == 0) {
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch;
      std::memcpy(&pixels[static_cast<std::size_t>(y) * width], row, width * 4u);
    }
    SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  return pixels;
}

}  // namespace

HGEImage::HGEImage(HTEXTURE texture, int width, int height, std::vector<std::uint32_t> pixels)
    : hge(hgeCreate(HGE_VERSION)),
      texture(texture),
      width(width),
      height(height),
      pixels(std::move(pixels)) {}

HGEImage::~HGEImage() {
  free();
}

void HGEImage::free() {
  if (texture) hge->Texture_Free(texture);
  texture = 0;
}

Color HGEImage::getPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    throw GCN_EXCEPTION("Coordinates outside of the image.");
  if (pixels.empty()) return Color(0, 0, 0, 0);
  const std::uint32_t argb = pixels[static_cast<std::size_t>(y) * width + x];
  return Color(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF, argb >> 24);
}

void HGEImage::putPixel(int, int, const Color&) {
  throw GCN_EXCEPTION("An engine texture cannot be drawn on.");
}

HGEImageLoader::HGEImageLoader() : hge(hgeCreate(HGE_VERSION)) {}

Image* HGEImageLoader::load(const std::string& filename, bool) {
  std::uint32_t size = 0;
  void* bytes = hge->Resource_Load(filename.c_str(), &size);
  if (!bytes) throw GCN_EXCEPTION("Unable to load image file: " + filename);
  std::unique_ptr<HGEImage> image;
  try {
    image = loadFromMemory(static_cast<const char*>(bytes), size);
  } catch (...) {
    hge->Resource_Free(bytes);
    throw GCN_EXCEPTION("Unable to load image file: " + filename);
  }
  hge->Resource_Free(bytes);
  // guichan's loader interface hands ownership to the caller as a plain pointer.
  return image.release();
}

std::unique_ptr<HGEImage> HGEImageLoader::loadFromMemory(const char* data, std::uint32_t size) {
  const HTEXTURE texture = hge->Texture_Load(data, size, false);
  if (!texture) throw GCN_EXCEPTION("Unable to decode the image.");
  const int width = hge->Texture_GetWidth(texture, true);
  const int height = hge->Texture_GetHeight(texture, true);
  return std::make_unique<HGEImage>(texture, width, height,
                                    DecodePixels(data, size, width, height));
}

}  // namespace gcn

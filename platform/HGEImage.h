// guichan's image on an engine texture, and the loader that makes them.
#pragma once

#include <cstdint>
#include <guichan/image.hpp>
#include <guichan/imageloader.hpp>
#include <memory>
#include <string>
#include <vector>

#include "platform/hge.h"

namespace gcn {

class HGEImage : public Image {
 public:
  // Takes over texture; pixels (ARGB, row by row) answer getPixel.
  HGEImage(HTEXTURE texture, int width, int height, std::vector<std::uint32_t> pixels);
  ~HGEImage() override;

  HTEXTURE getTexture() const { return texture; }

  void free() override;
  int getWidth() const override { return width; }
  int getHeight() const override { return height; }
  Color getPixel(int x, int y) override;
  // The texture is read-only once loaded; this throws.
  void putPixel(int x, int y, const Color& color) override;
  void convertToDisplayFormat() override {}

 private:
  HGE* hge;
  HTEXTURE texture;
  int width, height;
  std::vector<std::uint32_t> pixels;
};

class HGEImageLoader : public ImageLoader {
 public:
  HGEImageLoader();
  // An image from a PNG file; throws guichan's exception when it cannot be read.
  Image* load(const std::string& filename, bool convertToDisplayFormat = true) override;
  // An image from PNG bytes in memory; throws guichan's exception when they
  // cannot be decoded.
  std::unique_ptr<HGEImage> loadFromMemory(const char* data, std::uint32_t size);

 private:
  HGE* hge;
};

}  // namespace gcn

// Draws the window icon, resources/icon100.png: the crate mark in colour, 64 x 64 RGBA.
// Given a size, draws the same mark that many pixels square (the installed desktop icons).
//
// Regenerate (from the repository root):
//   cmake -S . -B build-tools -DTARNWICK_TOOLS=ON -DTARNWICK_TESTS=OFF
//   cmake --build build-tools --target regenerate_artwork -j2
// or run the tool by hand: build-tools/tools/make_icon resources/icon100.png [SIZE]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "ArtKit.h"
#include "CrateMark.h"

int main(int argc, char** argv) {
  const int size = argc == 3 ? std::atoi(argv[2]) : 64;
  if (argc < 2 || argc > 3 || size < 16 || size > 1024) {
    std::fprintf(stderr, "usage: %s ICON.png [SIZE from 16 to 1024]\n", argv[0]);
    return 2;
  }
  try {
    // The mark is designed on a 64 x 64 grid; the outline stays at least a pixel wide.
    const double scale = size / 64.0;
    art::Image icon(size, size);
    art::Region all(icon, 0, 0, size, size);
    const art::CrateColors wood{
        art::rgb(46, 28, 14),   art::rgb(214, 152, 80),  art::rgb(176, 112, 52),
        art::rgb(150, 94, 44),  art::rgb(112, 66, 30),   art::rgb(54, 34, 20),
        art::rgb(196, 140, 78), art::rgb(250, 250, 246), art::rgb(90, 140, 210)};
    art::drawCrate(all, scale, art::Vec{0.5, 1.5} * scale, wood, std::max(1.0, 2.0 * scale));
    icon.writePng(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_icon: %s\n", e.what());
    return 1;
  }
  return 0;
}

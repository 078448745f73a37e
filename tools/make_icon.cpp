// Draws the window icon, resources/icon100.png: the crate mark in colour, 64 x 64 RGBA.
//
// Regenerate (from the repository root):
//   cmake -S . -B build-tools -DTARNWICK_TOOLS=ON -DTARNWICK_TESTS=OFF
//   cmake --build build-tools --target regenerate_artwork -j2
// or run the tool by hand: build-tools/tools/make_icon resources/icon100.png
#include <cstdio>
#include <exception>

#include "ArtKit.h"
#include "CrateMark.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s ICON.png\n", argv[0]);
    return 2;
  }
  try {
    art::Image icon(64, 64);
    art::Region all(icon, 0, 0, 64, 64);
    const art::CrateColors wood{
        art::rgb(46, 28, 14),   art::rgb(214, 152, 80),  art::rgb(176, 112, 52),
        art::rgb(150, 94, 44),  art::rgb(112, 66, 30),   art::rgb(54, 34, 20),
        art::rgb(196, 140, 78), art::rgb(250, 250, 246), art::rgb(90, 140, 210)};
    art::drawCrate(all, 1.0, {0.5, 1.5}, wood, 2.0);
    icon.writePng(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_icon: %s\n", e.what());
    return 1;
  }
  return 0;
}

// Draws the skin atlas, resources/Main.png (512 x 512 RGBA), and a labelled preview sheet of it,
// docs/skin-preview.png.
//
// Regenerate (from the repository root):
//   cmake -S . -B build-tools -DTARNWICK_TOOLS=ON -DTARNWICK_TESTS=OFF
//   cmake --build build-tools --target regenerate_artwork -j2
// or run the tool by hand: build-tools/tools/make_skin resources/Main.png docs/skin-preview.png
//
// The widgets cut fixed rectangles out of the atlas; they and this tool read them from one table,
// gcnWidgets/wSkinLayout.h. Everything outside them is left transparent. Three-piece bars
// (button faces, progress bar, field box) are drawn once at full width and cut: the edges as
// drawn, the middle as a single column repeated, so the widgets can stretch it to any width
// without seams. Button faces keep their details on the outer rows, so they survive being squeezed
// from 33 rows to the 25-32 the screens use.
//
// The drawing lives in three parts: SkinPieces.cpp (faces, bars, symbols, logo, and the atlas),
// SkinPixelArt.cpp (pointers and file-type icons) and SkinPreview.cpp (the preview sheet).
#include <cstdio>
#include <exception>

#include "SkinArt.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ATLAS.png PREVIEW.png\n", argv[0]);
    return 2;
  }
  try {
    const art::Image atlas = skin::DrawAtlas();
    atlas.writePng(argv[1]);
    skin::DrawPreview(atlas).writePng(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_skin: %s\n", e.what());
    return 1;
  }
  return 0;
}

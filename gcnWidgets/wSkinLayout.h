// Where each piece of the skin atlas (resources/Main.png, 512x512) lies. The
// one table of the layout: the widgets cut their pieces by it, the atlas
// generator (tools/make_skin) draws into it and checks it, and the tests hold
// the committed atlas against it. Header only, so the tools need no library.
#pragma once

#include <string>
#include <vector>

namespace SHR::layout {

constexpr int kAtlasSize = 512;

struct Rect {
  int x, y, w, h;
};
// A bar stretched sideways: left edge, middle slice (stretched), right edge.
struct ThreeRects {
  Rect left, middle, right;
};

inline constexpr Rect kArrowPointer{175, 135, 15, 22};
inline constexpr Rect kHandPointer{158, 135, 17, 24};
inline constexpr ThreeRects kFieldBox{{0, 275, 3, 24}, {3, 275, 3, 24}, {47, 275, 3, 24}};
inline constexpr Rect kRadioOff{0, 131, 13, 14};
inline constexpr Rect kRadioOn{0, 145, 13, 14};
// Button faces are 4x33 pieces.
inline constexpr ThreeRects kButtonNormal{{0, 6, 4, 33}, {4, 6, 4, 33}, {136, 6, 4, 33}};
inline constexpr ThreeRects kButtonHover{{102, 39, 4, 33}, {106, 39, 4, 33}, {132, 39, 4, 33}};
inline constexpr ThreeRects kButtonDisabled{{34, 39, 4, 33}, {38, 39, 4, 33}, {64, 39, 4, 33}};
inline constexpr ThreeRects kButtonPressed{{68, 39, 4, 33}, {72, 39, 4, 33}, {98, 39, 4, 33}};
inline constexpr ThreeRects kBarFill{{50, 275, 3, 31}, {53, 275, 3, 31}, {59, 275, 3, 31}};
// The track's left edge sits right of its right edge in the atlas; each is drawn as what it is.
inline constexpr ThreeRects kBarTrack{{72, 275, 3, 31}, {64, 275, 3, 31}, {69, 275, 3, 31}};
inline constexpr Rect kInfoSymbol{320, 0, 64, 64};
inline constexpr Rect kWarningSymbol{320, 69, 64, 64};
inline constexpr Rect kErrorSymbol{384, 69, 64, 64};
inline constexpr Rect kCloseCross{153, 39, 20, 20};
inline constexpr Rect kCheckOff{0, 105, 13, 13};
inline constexpr Rect kCheckOn{0, 118, 14, 13};
inline constexpr Rect kTitleLogo{0, 455, 287, 35};
inline constexpr Rect kInfoIcon{13, 138, 14, 14};
inline constexpr int kTypeIconCount = 10;
// Two columns, five rows of 16x16 icons; index = row * 2 + column.
constexpr Rect TypeIcon(int index) {
  return {50 + 16 * (index % 2), 338 + 16 * (index / 2), 16, 16};
}

struct NamedRect {
  std::string name;
  Rect rect;
};

// Every piece with a name, in the atlas's reading order of the widgets.
inline std::vector<NamedRect> AllPieces() {
  std::vector<NamedRect> all = {{"arrow pointer", kArrowPointer}, {"hand pointer", kHandPointer}};
  const auto three = [&all](const std::string& name, const ThreeRects& t) {
    all.push_back({name + " left", t.left});
    all.push_back({name + " middle", t.middle});
    all.push_back({name + " right", t.right});
  };
  three("field box", kFieldBox);
  all.push_back({"radio off", kRadioOff});
  all.push_back({"radio on", kRadioOn});
  three("button normal", kButtonNormal);
  three("button hover", kButtonHover);
  three("button disabled", kButtonDisabled);
  three("button pressed", kButtonPressed);
  three("bar fill", kBarFill);
  three("bar track", kBarTrack);
  all.push_back({"info symbol", kInfoSymbol});
  all.push_back({"warning symbol", kWarningSymbol});
  all.push_back({"error symbol", kErrorSymbol});
  all.push_back({"close cross", kCloseCross});
  all.push_back({"check box off", kCheckOff});
  all.push_back({"check box on", kCheckOn});
  all.push_back({"title logo", kTitleLogo});
  all.push_back({"info icon", kInfoIcon});
  for (int i = 0; i < kTypeIconCount; ++i)
    all.push_back({"type icon " + std::to_string(i), TypeIcon(i)});
  return all;
}

// The first problem of the layout: a piece outside the atlas or two pieces
// that overlap (a piece bleeding into its neighbour would show as a stray
// edge on some widget); empty when there is none.
inline std::string LayoutProblem() {
  const std::vector<NamedRect> all = AllPieces();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Rect& a = all[i].rect;
    if (a.x < 0 || a.y < 0 || a.x + a.w > kAtlasSize || a.y + a.h > kAtlasSize)
      return all[i].name + " lies outside the atlas";
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      const Rect& b = all[j].rect;
      if (a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h)
        return all[i].name + " overlaps " + all[j].name;
    }
  }
  return {};
}

}  // namespace SHR::layout

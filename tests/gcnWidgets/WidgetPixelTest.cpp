// Widgets drawn by the SDL engine on the offscreen driver, over an atlas
// whose pieces are each painted one solid colour, so that every pixel tells
// which piece covered it.
#include <SDL.h>

#include <guichan/key.hpp>

#include "PixelSupport.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wTextField.h"
#include "platform/Resources.h"
#include "text/BitmapFont.h"
#include "text/HGEImageFont.h"

namespace widgettest {
namespace {

constexpr std::uint32_t kBackground = 0xFF4D4D4D;  // the container's (77, 77, 77)
constexpr std::uint32_t kButtonLeft = 0xFFFF0000, kButtonMiddle = 0xFF00FF00,
                        kButtonRight = 0xFF0000FF;
constexpr std::uint32_t kFillLeft = 0xFF800000, kFillMiddle = 0xFF008000, kFillRight = 0xFF000080;
constexpr std::uint32_t kTrackLeft = 0xFF808000, kTrackMiddle = 0xFF008080,
                        kTrackRight = 0xFF800080;
constexpr std::uint32_t kBoxOff = 0xFFFFFF00, kBoxOn = 0xFF00FFFF;
constexpr std::uint32_t kGlowLight = 0xFF6CB2FD, kGlowDark = 0xFF55789D;

class WidgetPixels : public PixelTest {
 protected:
  WidgetPixels() : PixelTest(600, 300) {}
  void SetUp() override {
    ASSERT_TRUE(screen.Ready()) << screen.Error();
    const HTEXTURE atlas = screen.PaintedAtlas({
        {0, 6, 4, 33, kButtonLeft},
        {4, 6, 4, 33, kButtonMiddle},
        {136, 6, 4, 33, kButtonRight},
        {50, 275, 3, 31, kFillLeft},
        {53, 275, 3, 31, kFillMiddle},
        {59, 275, 3, 31, kFillRight},
        {72, 275, 3, 31, kTrackLeft},
        {64, 275, 3, 31, kTrackMiddle},
        {69, 275, 3, 31, kTrackRight},
        {0, 105, 13, 13, kBoxOff},
        {0, 118, 14, 13, kBoxOn},
    });
    ASSERT_NE(atlas, 0u);
    skin = SHR::CutSkin(atlas);
    gcn::Widget::setGlobalFont(&font);
  }

  // Colours of the pixels of row y from x1 up to x2 (exclusive), as runs
  // "colour@x", for readable failures.
  std::string Runs(int y, int x1, int x2) const {
    std::string out;
    for (int x = x1; x < x2; ++x)
      if (x == x1 || screen.At(x, y) != screen.At(x - 1, y))
        out += Hex(screen.At(x, y)) + "@" + std::to_string(x) + " ";
    return out;
  }
  static std::string Run(std::initializer_list<std::pair<std::uint32_t, int>> runs) {
    std::string out;
    for (const auto& [colour, x] : runs) out += Hex(colour) + "@" + std::to_string(x) + " ";
    return out;
  }

  FixedWidthFont font;
};

TEST_F(WidgetPixels, ButtonStretchesThreePiecesOver120By30) {
  SHR::But button(skin.get(), "");
  button.setDimension(gcn::Rectangle(100, 100, 120, 30));
  top.add(&button);
  Draw();
  const std::string expected = Run({{kBackground, 95},
                                    {kButtonLeft, 100},
                                    {kButtonMiddle, 104},
                                    {kButtonRight, 216},
                                    {kBackground, 220}});
  for (int y : {100, 101, 115, 128, 129}) EXPECT_EQ(Runs(y, 95, 225), expected) << y;
  // The 33-pixel pieces are squeezed into the 30 rows.
  EXPECT_EQ(screen.At(110, 99), kBackground);
  EXPECT_EQ(screen.At(110, 130), kBackground);
}

// A bar 300x40 at (100, 150): row 160 crosses the caps, row 185 runs under
// them, where only the middles reach.
TEST_F(WidgetPixels, ProgressBarAtZeroFiftyHundredPercentAndInfinite) {
  SHR::ProgressBar bar(skin.get());
  bar.setDimension(gcn::Rectangle(100, 150, 300, 40));
  top.add(&bar);
  const struct {
    int value, total;
    std::string caps, below;
  } cases[] = {
      {0, 10,
       Run({{kBackground, 95},
            {kTrackLeft, 100},
            {kTrackMiddle, 103},
            {kTrackRight, 397},
            {kBackground, 400}}),
       Run({{kBackground, 95}, {kTrackMiddle, 103}, {kBackground, 397}})},
      {5, 10,
       Run({{kBackground, 95},
            {kFillLeft, 100},
            {kFillMiddle, 103},
            {kFillRight, 247},
            {kTrackMiddle, 250},
            {kTrackRight, 397},
            {kBackground, 400}}),
       Run({{kBackground, 95}, {kFillMiddle, 103}, {kTrackMiddle, 250}, {kBackground, 397}})},
      {10, 10,
       Run({{kBackground, 95},
            {kFillLeft, 100},
            {kFillMiddle, 103},
            {kFillRight, 397},
            {kBackground, 400}}),
       Run({{kBackground, 95}, {kFillMiddle, 103}, {kBackground, 397}})},
      {3, 0,
       Run({{kBackground, 95},
            {kFillLeft, 100},
            {kFillMiddle, 103},
            {kFillRight, 397},
            {kBackground, 400}}),
       Run({{kBackground, 95}, {kFillMiddle, 103}, {kBackground, 397}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " of " + std::to_string(c.total));
    bar.value = c.value;
    bar.total = c.total;
    Draw();
    EXPECT_EQ(Runs(160, 95, 405), c.caps);
    EXPECT_EQ(Runs(185, 95, 405), c.below);
    EXPECT_EQ(screen.At(250, 190), kBackground);
  }
}

TEST_F(WidgetPixels, CheckBoxPieceSitsSixRowsDownAtHeights24And25) {
  SHR::CBox box(skin.get(), "");
  top.add(&box, 40, 60);
  for (int height : {24, 25}) {
    SCOPED_TRACE(height);
    box.setHeight(height);
    Draw();
    EXPECT_EQ(screen.At(45, 65), kBackground);
    for (int y = 66; y < 79; ++y)
      EXPECT_EQ(Runs(y, 38, 56), Run({{kBackground, 38}, {kBoxOff, 40}, {kBackground, 53}}));
    EXPECT_EQ(screen.At(45, 79), kBackground);
  }
  box.setSelected(true);
  Draw();
  EXPECT_EQ(Runs(70, 38, 56), Run({{kBackground, 38}, {kBoxOn, 40}, {kBackground, 54}}));
}

TEST_F(WidgetPixels, TextFieldGlowsOnlyWithFocus) {
  SHR::TextField field;
  field.setDimension(gcn::Rectangle(50, 40, 100, 24));
  top.add(&field);
  Draw();
  // Without focus: the frame, then the container's grey right outside it.
  EXPECT_EQ(screen.At(50, 50), 0xFF404040u);
  EXPECT_EQ(screen.At(51, 50), 0xFF151515u);
  EXPECT_EQ(screen.At(60, 50), 0xFF3C3C3Cu);
  for (auto [x, y] : {std::pair{150, 50}, {151, 50}, {100, 64}, {100, 65}, {49, 65}})
    EXPECT_EQ(screen.At(x, y), kBackground) << x << ", " << y;

  field.requestFocus();
  Draw();
  const struct {
    int x, y;
    std::uint32_t colour;
    const char* where;
  } glow[] = {{150, 50, kGlowLight, "right"},
              {151, 50, kGlowDark, "right"},
              {100, 64, kGlowLight, "bottom"},
              {100, 65, kGlowDark, "bottom"},
              {49, 65, kGlowDark, "bottom, one left"},
              {50, 50, kGlowDark, "left, over the frame"},
              {51, 50, kGlowLight, "left"},
              {100, 41, kGlowLight, "top"},
              {100, 40, kGlowDark, "top"}};
  for (const auto& g : glow) EXPECT_EQ(Hex(screen.At(g.x, g.y)), Hex(g.colour)) << g.where;
}

// The text field with the program's font: its text must sit where the scroll
// says, pixel for pixel, compared with the font drawing the same text itself.
class TextFieldPixels : public WidgetPixels {
 protected:
  void SetUp() override {
    WidgetPixels::SetUp();
    const auto descriptor = platform::FindResource("Myriad20", "FNT");
    const HTEXTURE texture = screen.LoadResource("Myriad20", "PNG");
    ASSERT_TRUE(descriptor && texture);
    programFont =
        std::make_unique<BitmapFont>(reinterpret_cast<const char*>(descriptor->data),
                                     static_cast<std::uint32_t>(descriptor->size), texture, true);
    adapter = std::make_unique<gcn::HGEImageFont>(programFont.get(), false);
    gcn::Widget::setGlobalFont(adapter.get());
    field.setDimension(gcn::Rectangle(50, 200, 100, 24));
    field.setForegroundColor(gcn::Color(255, 255, 255));
    top.add(&field);
    field.requestFocus();
  }
  void TearDown() override {
    top.remove(&field);
    WidgetPixels::TearDown();
  }

  // The field's inside as the font alone draws it with the given scroll.
  std::vector<std::uint32_t> Reference(const std::string& text, int scroll) {
    screen.Capture([&] {
      graphics._beginDraw();
      graphics.pushClipArea(gcn::Rectangle(52, 202, 96, 20));
      graphics.setColor(gcn::Color(60, 60, 60));
      graphics.fillRectangle(gcn::Rectangle(0, 0, 96, 20));
      programFont->SetColor(0xFFFFFFFF);
      programFont->Render(static_cast<float>(52 + 3 - scroll), 202 - 3, BitmapFont::kLeft,
                          text.c_str());
      graphics.popClipArea();
      graphics._endDraw();
    });
    return Inside();
  }
  // Pixels of the inner area that the field's text may cover, the caret's
  // column left out.
  std::vector<std::uint32_t> Inside() {
    const std::string beforeCaret = field.getText().substr(0, field.getCaretPosition());
    const int caretColumn = 52 + adapter->getWidth(beforeCaret) - field.getScroll();
    std::vector<std::uint32_t> pixels;
    for (int y = 202; y < 222; ++y)
      for (int x = 52; x < 148; ++x)
        if (x != caretColumn) pixels.push_back(screen.At(x, y));
    return pixels;
  }

  std::unique_ptr<BitmapFont> programFont;
  std::unique_ptr<gcn::HGEImageFont> adapter;
  SHR::TextField field;
};

TEST_F(TextFieldPixels, TextScrollsAfterTypingAndReturnsAfterHome) {
  const std::string path = "C:\\GAMES\\CLAW\\CLAW.REZ";
  for (char c : path) input.KeyPress(static_cast<unsigned char>(c));
  gui.logic();
  ASSERT_EQ(field.getText(), path);
  const int scroll = adapter->getWidth(path) - 100 + 4;
  ASSERT_GT(scroll, 0);
  ASSERT_EQ(field.getScroll(), scroll);

  Draw();
  const auto typed = Inside();
  int bright = 0;
  for (std::uint32_t pixel : typed) bright += (pixel & 0xFF) > 0xC0;
  EXPECT_GT(bright, 50);  // the text is there at all
  EXPECT_EQ(typed, Reference(path, scroll));
  EXPECT_NE(typed, Reference(path, 0));

  input.KeyPress(gcn::Key::HOME);
  gui.logic();
  ASSERT_EQ(field.getScroll(), 0);
  Draw();
  const auto home = Inside();
  EXPECT_EQ(home, Reference(path, 0));
  EXPECT_NE(home, typed);
}

TEST_F(TextFieldPixels, CaretShowsOnlyWithFocus) {
  field.setText("CLAW");
  field.setCaretPosition(2);
  const int caretColumn = 52 + adapter->getWidth("CL");
  Draw();
  EXPECT_EQ(screen.At(caretColumn, 210), 0xFFFFFFFFu);
  EXPECT_EQ(screen.At(caretColumn, 203), 0xFFFFFFFFu);  // from row 1 of the inside
  gui.focusNone();
  Draw();
  EXPECT_NE(screen.At(caretColumn, 210), 0xFFFFFFFFu);
  EXPECT_EQ(screen.At(151, 210), kBackground);
}

// The paste goes to the system clipboard when no test source is set.
TEST_F(TextFieldPixels, CtrlVReadsTheSystemClipboard) {
  SHR::SetClipboardSource(nullptr);
  ASSERT_EQ(SDL_SetClipboardText("/home/user/caf\xc3\xa9/CLAW.REZ\n"), 0) << SDL_GetError();
  field.setText("x");
  field.setCaretPosition(1);
  input.KeyPress('v', true);
  gui.logic();
  EXPECT_EQ(field.getText(), "x/home/user/caf\xe9/CLAW.REZ");
  EXPECT_EQ(field.getCaretPosition(), field.getText().size());
}

}  // namespace
}  // namespace widgettest

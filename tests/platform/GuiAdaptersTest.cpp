#include <gtest/gtest.h>

#include <fstream>
#include <guichan/actionevent.hpp>
#include <guichan/actionlistener.hpp>
#include <guichan/exception.hpp>
#include <guichan/gui.hpp>
#include <guichan/key.hpp>
#include <guichan/widgets/button.hpp>
#include <guichan/widgets/container.hpp>
#include <guichan/widgets/textfield.hpp>

#include "PlatformTestSupport.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEImage.h"
#include "platform/HGEInput.h"
#include "platform/RecordingEngine.h"
#include "support/TempDir.h"

namespace {

class GuiAdapters : public ::testing::Test {
 protected:
  void SetUp() override {
    auto recording = std::make_unique<RecordingEngine>();
    engine = recording.get();
    hgeInstall(std::move(recording));
  }
  void TearDown() override { hgeInstall(nullptr); }

  void Key(int key, int chr, int type = INPUT_KEYDOWN, int flags = 0) {
    hgeInputEvent event;
    event.type = type;
    event.key = key;
    event.chr = chr;
    event.flags = flags;
    engine->QueueEvent(event);
  }
  void Mouse(int type, float x, float y, int key = HGEK_LBUTTON) {
    hgeInputEvent event;
    event.type = type;
    event.key = key;
    event.x = x;
    event.y = y;
    engine->QueueEvent(event);
  }

  RecordingEngine* engine = nullptr;
};

TEST_F(GuiAdapters, ClipAreasBecomeEngineClippingInWindowCoordinates) {
  gcn::HGEGraphics graphics;
  graphics._beginDraw();
  graphics.pushClipArea(gcn::Rectangle(100, 50, 200, 100));
  graphics.pushClipArea(gcn::Rectangle(150, 80, 100, 100));  // relative to the area above
  graphics.popClipArea();
  graphics._endDraw();
  std::vector<std::vector<int>> clips;
  for (const auto& clip : engine->Clips()) clips.push_back({clip.x, clip.y, clip.w, clip.h});
  EXPECT_EQ(clips, (std::vector<std::vector<int>>{{0, 0, 600, 300},
                                                  {100, 50, 200, 100},
                                                  {250, 130, 50, 20},
                                                  {100, 50, 200, 100},
                                                  {0, 0, 0, 0}}));
}

TEST_F(GuiAdapters, RectanglesAndLinesUseTheColourAndAreaOffsetButNeverAnEmptyArea) {
  gcn::HGEGraphics graphics;
  graphics._beginDraw();
  graphics.pushClipArea(gcn::Rectangle(10, 20, 300, 200));
  graphics.pushClipArea(gcn::Rectangle(700, 10, 20, 20));  // outside the window
  engine->ClearCalls();
  graphics.setColor(gcn::Color(0x11, 0x22, 0x33, 0x80));
  graphics.fillRectangle(gcn::Rectangle(5, 6, 30, 40));
  graphics.drawLine(0, 0, 9, 0);
  // The engine would read an all-zero area as the whole window: it is never sent.
  EXPECT_TRUE(engine->calls.empty());

  graphics.popClipArea();
  graphics.fillRectangle(gcn::Rectangle(5, 6, 30, 40));
  graphics.drawLine(0, 0, 9, 0);
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].v[0].x, 15);
  EXPECT_EQ(quads[0].v[0].y, 26);
  EXPECT_EQ(quads[0].v[2].x, 45);
  EXPECT_EQ(quads[0].v[2].y, 66);
  EXPECT_EQ(quads[0].v[1].col, 0x80112233u);
  EXPECT_EQ(quads[0].tex, 0u);
  const auto lines = engine->Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].x1, 10);
  EXPECT_EQ(lines[0].y1, 20);
  EXPECT_EQ(lines[0].x2, 19);
  EXPECT_EQ(lines[0].color, 0x80112233u);
  graphics._endDraw();
}

TEST_F(GuiAdapters, RectangleOutlineCoversEachEdgePixelOnce) {
  gcn::HGEGraphics graphics;
  graphics._beginDraw();
  engine->ClearCalls();
  graphics.drawRectangle(gcn::Rectangle(10, 10, 4, 3));
  int covered[3][4] = {};
  for (const auto& quad : engine->Quads())
    for (int y = static_cast<int>(quad.v[0].y); y < static_cast<int>(quad.v[2].y); ++y)
      for (int x = static_cast<int>(quad.v[0].x); x < static_cast<int>(quad.v[2].x); ++x)
        ++covered[y - 10][x - 10];
  const int expected[3][4] = {{1, 1, 1, 1}, {1, 0, 0, 1}, {1, 1, 1, 1}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(covered[y][x], expected[y][x]) << x << "," << y;
  graphics._endDraw();
}

TEST_F(GuiAdapters, ImagesLoadFromPngAndDrawAsTexturedQuads) {
  TempDir folder;
  const std::string png =
      PngBytes(64, 32, [](int x, int) { return x < 32 ? 0xFFFF0000 : 0x8000FF00; });
  std::ofstream(folder / "picture.png", std::ios::binary) << png;

  gcn::HGEImageLoader loader;
  std::unique_ptr<gcn::Image> image(loader.load((folder / "picture.png").string()));
  EXPECT_EQ(image->getWidth(), 64);
  EXPECT_EQ(image->getHeight(), 32);
  EXPECT_EQ(image->getPixel(0, 0), gcn::Color(255, 0, 0, 255));
  EXPECT_EQ(image->getPixel(40, 5), gcn::Color(0, 255, 0, 0x80));
  EXPECT_THROW(loader.load((folder / "missing.png").string()), gcn::Exception);
  EXPECT_THROW(loader.loadFromMemory("GIF89a", 6), gcn::Exception);

  gcn::HGEGraphics graphics;
  graphics._beginDraw();
  graphics.pushClipArea(gcn::Rectangle(100, 100, 200, 100));
  engine->ClearCalls();
  graphics.drawImage(image.get(), 16, 8, 1, 2, 32, 16);
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].tex, static_cast<gcn::HGEImage*>(image.get())->getTexture());
  EXPECT_EQ(quads[0].v[0].x, 101);
  EXPECT_EQ(quads[0].v[0].y, 102);
  EXPECT_EQ(quads[0].v[2].x, 133);
  EXPECT_EQ(quads[0].v[2].y, 118);
  EXPECT_FLOAT_EQ(quads[0].v[0].tx, 0.25f);
  EXPECT_FLOAT_EQ(quads[0].v[0].ty, 0.25f);
  EXPECT_FLOAT_EQ(quads[0].v[2].tx, 0.75f);
  EXPECT_FLOAT_EQ(quads[0].v[2].ty, 0.75f);
  EXPECT_EQ(quads[0].v[0].col, 0xFFFFFFFFu);
  graphics._endDraw();
}

TEST_F(GuiAdapters, KeyEventsBecomeGuichanKeyValuesAndCtrlLettersReachShortcuts) {
  gcn::HGEInput input;
  Key('A', 'a');
  Key(0, 0xE9);  // a character typed on its own
  Key(0, 0xA0);  // no-break space: not a character guichan takes
  for (int key : {HGEK_ENTER, HGEK_TAB, HGEK_LEFT, HGEK_RIGHT, HGEK_HOME, HGEK_END, HGEK_DELETE,
                  HGEK_BACKSPACE, HGEK_ESCAPE /* not passed on */})
    Key(key, 0);
  Key('V', 0, INPUT_KEYDOWN, HGEINP_CTRL);  // Ctrl+V types no character
  Key('V', 0, INPUT_KEYDOWN);               // a bare key without a character is dropped
  Key('A', 0, INPUT_KEYUP);
  input._pollInput();
  std::vector<int> values, types, controls;
  while (!input.isKeyQueueEmpty()) {
    const gcn::KeyInput key = input.dequeueKeyInput();
    values.push_back(key.getKey().getValue());
    types.push_back(key.getType());
    controls.push_back(key.isControlPressed());
  }
  EXPECT_EQ(values, (std::vector<int>{'a', 0xE9, gcn::Key::ENTER, gcn::Key::TAB, gcn::Key::LEFT,
                                      gcn::Key::RIGHT, gcn::Key::HOME, gcn::Key::END,
                                      gcn::Key::DELETE, gcn::Key::BACKSPACE, 'v', 'a'}));
  EXPECT_EQ(controls, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(types.back(), gcn::KeyInput::RELEASED);
  EXPECT_EQ(types.front(), gcn::KeyInput::PRESSED);
}

TEST_F(GuiAdapters, MouseEventsBecomeGuichanMouseInput) {
  gcn::HGEInput input;
  Mouse(INPUT_MOUSEMOVE, 5, 6, 0);
  Mouse(INPUT_MBUTTONDOWN, 7, 8);
  Mouse(INPUT_MBUTTONUP, 7, 8, HGEK_RBUTTON);
  hgeInputEvent wheel;
  wheel.type = INPUT_MOUSEWHEEL;
  wheel.wheel = -1;
  engine->QueueEvent(wheel);
  input._pollInput();
  std::vector<std::vector<int>> seen;
  while (!input.isMouseQueueEmpty()) {
    const gcn::MouseInput mouse = input.dequeueMouseInput();
    seen.push_back({static_cast<int>(mouse.getType()), static_cast<int>(mouse.getButton()),
                    mouse.getX(), mouse.getY()});
  }
  EXPECT_EQ(seen, (std::vector<std::vector<int>>{
                      {gcn::MouseInput::MOVED, gcn::MouseInput::EMPTY, 5, 6},
                      {gcn::MouseInput::PRESSED, gcn::MouseInput::LEFT, 7, 8},
                      {gcn::MouseInput::RELEASED, gcn::MouseInput::RIGHT, 7, 8},
                      {gcn::MouseInput::WHEEL_MOVED_DOWN, gcn::MouseInput::EMPTY, 0, 0}}));
  EXPECT_THROW(input.dequeueMouseInput(), gcn::Exception);
}

// The adapters together: typing and clicking reach real guichan widgets.
TEST_F(GuiAdapters, TypingAndClickingReachGuichanWidgets) {
  gcn::HGEGraphics graphics;
  gcn::HGEInput input;
  gcn::Gui gui;
  gui.setGraphics(&graphics);
  gui.setInput(&input);
  gcn::Container top;
  top.setSize(600, 300);
  gcn::TextField field;
  field.setWidth(200);
  gcn::Button button("Go");
  top.add(&field, 10, 10);
  top.add(&button, 10, 100);
  gui.setTop(&top);

  struct Counter : gcn::ActionListener {
    int actions = 0;
    void action(const gcn::ActionEvent&) override { ++actions; }
  } counter;
  button.addActionListener(&counter);

  field.requestFocus();
  Key('T', 'T');
  Key(0, 0xE9);
  Key('X', 'x');
  Key(HGEK_BACKSPACE, 0);
  Key(HGEK_HOME, 0);
  Key('Z', 'z');
  gui.logic();
  EXPECT_EQ(field.getText(), "zT\xE9");

  const float x = 10 + button.getWidth() / 2.0f, y = 100 + button.getHeight() / 2.0f;
  Mouse(INPUT_MOUSEMOVE, x, y, 0);
  Mouse(INPUT_MBUTTONDOWN, x, y);
  Mouse(INPUT_MBUTTONUP, x, y);
  gui.logic();
  EXPECT_EQ(counter.actions, 1);
  gui.setTop(nullptr);
}

}  // namespace

// What the widget tests share: a recording engine installed as the process's
// engine, the skin cut from a 512x512 texture on it, a guichan Gui over a
// full-window container, and input scripted event by event.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <guichan/actionlistener.hpp>
#include <guichan/font.hpp>
#include <guichan/graphics.hpp>
#include <guichan/gui.hpp>
#include <guichan/input.hpp>
#include <guichan/keyinput.hpp>
#include <guichan/mouseinput.hpp>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wSkin.h"
#include "support/RecordingEngine.h"
#include "support/ScriptedInput.h"

namespace widgettest {

// Every character (UTF-8) 10 pixels wide; string widths carry the extra pixel
// of the program's font adapter, so an empty string measures 1.
class FixedWidthFont : public gcn::Font {
 public:
  static constexpr int kCharWidth = 10;
  int getWidth(const std::string& text) const override {
    return static_cast<int>(Starts(text).size()) * kCharWidth + 1;
  }
  int getHeight() const override { return 24; }
  int getStringIndexAt(const std::string& text, int x) const override {
    const std::vector<std::size_t> starts = Starts(text);
    const std::size_t index = static_cast<std::size_t>(std::max(x, 0) / kCharWidth);
    return static_cast<int>(index < starts.size() ? starts[index] : text.size());
  }
  void drawString(gcn::Graphics*, const std::string&, int, int) override {}

 private:
  static std::vector<std::size_t> Starts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
  }
};

// Toolkit graphics that draws nothing and keeps the colours of the last fill
// and the last text a widget drew.
class RecordingGraphics : public gcn::Graphics {
 public:
  void drawImage(const gcn::Image*, int, int, int, int, int, int) override {}
  void drawPoint(int, int) override {}
  void drawLine(int, int, int, int) override {}
  void drawRectangle(const gcn::Rectangle&) override {}
  void fillRectangle(const gcn::Rectangle&) override { fillColor = color; }
  void setColor(const gcn::Color& c) override { color = c; }
  const gcn::Color& getColor() const override { return color; }
  void drawText(const std::string& text, int x, int y, Alignment alignment) override {
    textColor = color;
    gcn::Graphics::drawText(text, x, y, alignment);
  }

  gcn::Color color, fillColor, textColor;
};

// Counts the action events of one widget.
class ActionCounter : public gcn::ActionListener {
 public:
  void action(const gcn::ActionEvent&) override { ++count; }
  int count = 0;
};

// True when the quad carries exactly the piece's part of the texture.
bool ShowsPiece(const hgeQuad& quad, const Sprite& piece);

// A recording engine, the skin and a Gui whose top is a 600x300 container.
class WidgetTest : public ::testing::Test {
 protected:
  WidgetTest();
  ~WidgetTest() override;

  // Runs the toolkit's logic over the scripted input.
  void Logic() { gui.logic(); }
  // Draws the whole Gui with fresh recordings.
  void Draw() {
    engine->ClearCalls();
    gui.draw();
  }

  // Lines of the skin's focus glow in the last drawing.
  int GlowLines() const;

  RecordingEngine* engine;
  HTEXTURE atlas;
  std::unique_ptr<SHR::cSkin> skin;
  FixedWidthFont font;
  ScriptedInput input;
  RecordingGraphics graphics;
  SHR::Contener top;
  gcn::Gui gui;
};

}  // namespace widgettest

#include "app/states/Summary.h"

#include <guichan/gui.hpp>

#include "app/AppContext.h"
#include "app/ScreenFrame.h"
#include "app/ScreenGui.h"
#include "app/states/Select.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wContener.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "text/BitmapFont.h"

namespace State {

namespace {

constexpr int kProblemTop = 40;
constexpr int kLineHeight = 24;
constexpr int kMaxProblemLines = 8;  // rows between the title bar and the buttons
constexpr float kLineWidth = 590;

// Colour codes inside a message must not recolour the screen.
std::string WithoutTildes(std::string text) {
  for (char& c : text)
    if (c == '~' || c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

void SummaryAL::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == owner->extractNext.get())
    owner->ChangeState(std::make_unique<Select>(owner->app));
  else if (source == owner->exit.get())
    owner->exitRequested = true;
}

Summary::Summary(AppContext& app, std::vector<std::string> problems, std::string fatal)
    : app(app), problems(std::move(problems)), fatal(std::move(fatal)) {}

Summary::~Summary() {
  Destroy();
}

void Summary::Init() {
  exitRequested = false;
  listener = std::make_unique<SummaryAL>(this);
  MakeScreenGui(app, gui, top);

  extractNext = std::make_unique<SHR::But>(app.skin.get(), "Extract next archive");
  extractNext->setSize(175, 33);
  extractNext->addActionListener(listener.get());
  top->add(extractNext.get(), 420, 262);

  exit = std::make_unique<SHR::But>(app.skin.get(), "Exit");
  exit->setSize(75, 33);
  exit->addActionListener(listener.get());
  top->add(exit.get(), 340, 262);
}

void Summary::Destroy() {
  if (gui) gui->setTop(nullptr);
  exit.reset();
  extractNext.reset();
  top.reset();
  gui.reset();
  listener.reset();
}

bool Summary::Think() {
  gui->logic();
  HandleAboutHotSpot(app);
  return exitRequested;
}

std::vector<std::string> Summary::ProblemLines() const {
  std::vector<std::string> lines;
  if (fatal.empty() && problems.empty()) return lines;
  if (!fatal.empty()) {
    lines.push_back("~r~The extraction could not run:~w~");
    lines.push_back(WithoutTildes(fatal));
  }
  if (!problems.empty())
    lines.push_back("~r~" + std::to_string(problems.size()) +
                    (problems.size() == 1 ? " file or folder was" : " files or folders were") +
                    " not extracted:~w~");
  const std::size_t room = kMaxProblemLines - lines.size();
  const bool cut = problems.size() > room;
  const std::size_t shown = cut ? room - 1 : problems.size();
  for (std::size_t i = 0; i < shown; ++i) lines.push_back(WithoutTildes(problems[i]));
  if (cut) lines.push_back("... and " + std::to_string(problems.size() - shown) + " more");

  // Long paths are shortened from the front, where the common part of the
  // destination is, so the end that tells the files apart stays readable.
  for (std::string& line : lines) {
    if (app.mainFont->GetStringWidth(line.c_str(), false) <= kLineWidth) continue;
    while (line.size() > 1 &&
           app.mainFont->GetStringWidth(("..." + line).c_str(), false) > kLineWidth)
      line.erase(0, 1);
    line = "..." + line;
  }
  return lines;
}

bool Summary::Render() {
  gui->draw();
  DrawScreenFrame(app, "Step 4/4: summary");
  BitmapFont& font = *app.mainFont;
  font.SetColor(kWhite);
  int y = kProblemTop;
  for (const std::string& line : ProblemLines()) {
    font.Render(5, static_cast<float>(y), 0, line.c_str(), false);
    y += kLineHeight;
  }
  return false;
}

}  // namespace State

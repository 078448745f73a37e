#include "app/states/Summary.h"

#include <guichan/gui.hpp>

#include "app/AppContext.h"
#include "app/ScreenFrame.h"
#include "app/ScreenGui.h"
#include "app/states/Select.h"
#include "extract/Formatting.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wContener.h"
#include "platform/FileDialog.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "text/BitmapFont.h"

namespace State {

namespace {

constexpr unsigned kRed = 0xFFFF4040;

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

void SummaryAL::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == owner->extractNext.get())
    owner->ChangeState(std::make_unique<Select>(owner->app));
  else if (source == owner->exit.get())
    owner->exitRequested = true;
  else if (source == owner->openFolder.get())
    platform::OpenInFileManager(owner->report.destination);
}

Summary::Summary(AppContext& app, ExtractionReport report) : app(app), report(std::move(report)) {}

Summary::~Summary() {
  Destroy();
}

void Summary::Init() {
  using L = Layout;
  exitRequested = false;
  shownLines = MakeLines();
  listener = std::make_unique<SummaryAL>(this);
  MakeScreenGui(app, gui, top);

  extractNext = std::make_unique<SHR::But>(app.skin.get(), "Extract next archive");
  extractNext->setSize(L::kNextWidth, kButtonHeight);
  extractNext->addActionListener(listener.get());
  top->add(extractNext.get(), L::kNextX, kButtonRowY);

  exit = std::make_unique<SHR::But>(app.skin.get(), "Exit");
  exit->setSize(L::kExitWidth, kButtonHeight);
  exit->addActionListener(listener.get());
  top->add(exit.get(), L::kExitX, kButtonRowY);

  if (!report.destination.empty() && platform::CanOpenInFileManager()) {
    openFolder = std::make_unique<SHR::But>(app.skin.get(), "Open folder");
    openFolder->setSize(L::kOpenFolderWidth, kButtonHeight);
    openFolder->addActionListener(listener.get());
    top->add(openFolder.get(), L::kOpenFolderX, kButtonRowY);
  }
  extractNext->requestFocus();
}

void Summary::Destroy() {
  if (gui) gui->setTop(nullptr);
  openFolder.reset();
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

std::vector<Summary::Line> Summary::MakeLines() const {
  std::vector<Line> lines;
  const ExtractResult& result = report.result;
  if (!report.destination.empty())
    lines.push_back({"Destination: " + report.destination, kWhite, true});
  lines.push_back({"Files written: ~y~" + std::to_string(result.written) + "~w~, kept: ~y~" +
                       std::to_string(result.kept) + "~w~, failed: ~y~" +
                       std::to_string(result.failed) + "~w~",
                   kWhite, false});
  lines.push_back({"Size of the selected files: ~y~" + SizeText(report.selectedBytes) +
                       "~w~, time: ~y~" + DurationText(report.elapsedMs) + "~w~",
                   kWhite, false});
  if (!result.fatalMessage.empty()) {
    lines.push_back({"The extraction could not run:", kRed, false});
    lines.push_back({OneLine(result.fatalMessage), kWhite, true});
  }
  const std::vector<std::string>& problems = report.problems;
  if (!problems.empty())
    lines.push_back({std::to_string(problems.size()) +
                         (problems.size() == 1 ? " file or folder was" : " files or folders were") +
                         " not extracted:",
                     kRed, false});
  const std::size_t room =
      Layout::kMaxLines > static_cast<int>(lines.size()) ? Layout::kMaxLines - lines.size() : 0;
  const bool cut = problems.size() > room;
  const std::size_t shown = cut ? (room > 0 ? room - 1 : 0) : problems.size();
  for (std::size_t i = 0; i < shown; ++i) lines.push_back({OneLine(problems[i]), kWhite, true});
  if (cut && room > 0)
    lines.push_back(
        {"... and " + std::to_string(problems.size() - shown) + " more", kWhite, false});
  for (Line& line : lines)
    if (line.literal) line.text = ShortenMiddle(*app.mainFont, line.text, Layout::kLineWidth);
  return lines;
}

bool Summary::Render() {
  gui->draw();
  DrawScreenFrame(app, "Step 4/4: summary");
  BitmapFont& font = *app.mainFont;
  int y = Layout::kLinesTop;
  for (const Line& line : shownLines) {
    if (line.literal) {
      DrawLiteral(font, 5, static_cast<float>(y), line.text, line.colour);
    } else {
      font.SetColor(line.colour);
      font.Render(5, static_cast<float>(y), 0, line.text.c_str(), false);
    }
    y += Layout::kLineHeight;
  }
  font.SetColor(kWhite);
  return false;
}

}  // namespace State

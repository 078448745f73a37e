#include "app/states/Extract.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <guichan/gui.hpp>

#include "app/AppContext.h"
#include "app/GuiQuestions.h"
#include "app/ScreenFrame.h"
#include "app/ScreenGui.h"
#include "app/states/Details.h"
#include "app/states/Select.h"
#include "app/states/Summary.h"
#include "archive/ArchiveStats.h"
#include "extract/ExtractJob.h"
#include "extract/Formatting.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wProgressBar.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "text/BitmapFont.h"

namespace State {

std::string TimeLeftText(int elapsedMs, float percentage) {
  const auto left = EstimateTimeLeft(elapsedMs, double(percentage) / 100.0);
  if (!left) return "Estimated time left: ~a~-~w~";
  return "Estimated time left: ~y~" + DurationText(*left) + "~w~";
}

void ExtractAL::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == owner->pause.get())
    owner->TogglePause();
  else if (source == owner->next.get())
    owner->ChangeState(std::make_unique<Summary>(owner->app, owner->Report()));
  else if (source == owner->back.get())
    owner->Abandon();
}

Extract::Extract(AppContext& app, const std::string& sourcePath, const std::string& destinationPath,
                 std::shared_ptr<REZ::Parser> archive, const ExtractOptions& options)
    : app(app),
      sourcePath(sourcePath),
      destinationPath(destinationPath),
      questions(std::make_shared<GuiQuestions>()),
      chosen(options),
      job(MakeExtractJob(sourcePath, destinationPath, std::move(archive), options, questions)) {}

Extract::~Extract() {
  Destroy();
}

void Extract::Init() {
  listener = std::make_unique<ExtractAL>(this);
  MakeScreenGui(app, gui, top);

  progressBar = std::make_unique<SHR::ProgressBar>(app.skin.get());
  using L = Layout;
  progressBar->setSize(L::kBarWidth, L::kBarHeight);
  top->add(progressBar.get(), L::kBarX, L::kBarY);

  // An abandoned extraction stops before its next file; it carries its own
  // game and palette, so this one need not wait for it.
  app.workers.CancelAll();
  app.workers.Start(job);
  elapsedMs = 0;
  firstFrame = true;

  next = std::make_unique<SHR::But>(app.skin.get(), "Next");
  next->setSize(L::kButtonWidth, kButtonHeight);
  next->setEnabled(false);
  next->addActionListener(listener.get());
  top->add(next.get(), L::kNextX, kButtonRowY);

  pause = std::make_unique<SHR::But>(app.skin.get(), "Pause");
  pause->setSize(L::kButtonWidth, kButtonHeight);
  pause->addActionListener(listener.get());
  top->add(pause.get(), L::kPauseX, kButtonRowY);

  back = std::make_unique<SHR::But>(app.skin.get(), "Back");
  back->setSize(L::kButtonWidth, kButtonHeight);
  back->setEnabled(false);
  back->addActionListener(listener.get());
  top->add(back.get(), L::kBackX, kButtonRowY);
}

void Extract::Destroy() {
  if (gui) gui->setTop(nullptr);
  back.reset();
  pause.reset();
  next.reset();
  progressBar.reset();
  top.reset();
  gui.reset();
  listener.reset();
}

bool Extract::Think() {
  // The first frame's delta covers the time before this screen existed,
  // such as the confirmation the user was answering.
  // The clock runs only while the worker may be working.
  if (firstFrame)
    firstFrame = false;
  else if (!job->IsDone() && !job->paused.load() && chosen.fileCount > 0)
    elapsedMs =
        static_cast<int>(static_cast<float>(elapsedMs) + 1000.0f * app.engine->Timer_GetDelta());
  if (job->IsDone()) {
    if (!next->isEnabled()) {
      next->setEnabled(true);
      pause->setEnabled(false);
      back->setEnabled(false);
    }
  } else if (job->paused.load() != shownPaused) {
    ShowPausedState(job->paused.load());
  }
  gui->logic();
  HandleAboutHotSpot(app);
  return false;
}

bool Extract::Render() {
  ProgressTracker& tracker = job->progress;
  tracker.Lock();
  if (tracker.IsChanged()) {
    progressBar->value = tracker.GetCurrent();
    progressBar->total = tracker.GetTotal();
  }
  tracker.Unlock();

  gui->draw();
  DrawTitleSeparator(app);
  DrawBanner(app);
  BitmapFont& font = *app.mainFont;
  font.SetColor(kWhite);
  font.Render(3, 3, 0, "Step 3/4: extracting", false);
  using L = Layout;
  font.Printf(L::kTextX, L::kProgressY, 0, "Progress: file %d/%d", false, progressBar->value,
              progressBar->total);
  font.Printf(L::kTextX, L::kElapsedY, 0, "Elapsed time: ~y~%s~w~", false,
              DurationText(elapsedMs).c_str());
  const float percentage = Percentage();
  font.Render(L::kTextX, L::kTimeLeftY, 0, TimeLeftText(elapsedMs, percentage).c_str(), false);
  font.Printf(L::kBarX + L::kBarWidth / 2, L::kBarY + 5, BitmapFont::kCentre, "%.1f%%", false,
              static_cast<double>(percentage));
  DrawAboutIcon(app);
  return false;
}

ExtractionReport Extract::Report() const {
  ExtractionReport report;
  report.destination = destinationPath;
  report.result = job->Result();
  report.problems = questions->Failures();
  report.elapsedMs = elapsedMs;
  std::vector<TypeStat> types;
  CollectTypeStats(types, job->archive->Root());
  std::vector<bool> ticked;
  for (const TypeStat& type : types) ticked.push_back(IsTypeSelected(chosen, type.extension));
  report.selectedBytes = ComputeSelectedTotals(types, ticked).totalSize;
  return report;
}

float Extract::Percentage() const {
  return job->IsDone() && job->Result().status != ExtractStatus::Cancelled
             ? 100.0f
             : progressBar->getProgress();
}

void Extract::ShowPausedState(bool paused) {
  shownPaused = paused;
  pause->setCaption(paused ? "Unpause" : "Pause");
  back->setEnabled(paused);
}

void Extract::TogglePause() {
  if (job->IsDone()) return;
  const bool nowPaused = !job->paused.load();
  job->paused.store(nowPaused);
  ShowPausedState(nowPaused);
}

void Extract::Abandon() {
  if (!job->paused.load() || job->IsDone()) return;
  // The worker waits at its pause point; it wakes, sees the cancellation and
  // stops without touching another file.
  job->Cancel();
  std::unique_ptr<Details> details = OpenDetailsOrTell(app, sourcePath, destinationPath);
  if (details) {
    details->KeepChoices(chosen);
    ChangeState(std::move(details));
  } else
    ChangeState(std::make_unique<Select>(app, sourcePath, destinationPath));
}

}  // namespace State

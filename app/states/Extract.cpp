#include "app/states/Extract.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <guichan/gui.hpp>

#include "app/AppContext.h"
#include "app/GuiQuestions.h"
#include "app/ScreenFrame.h"
#include "app/ScreenGui.h"
#include "app/states/Select.h"
#include "app/states/Summary.h"
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
    owner->ChangeState(std::make_unique<Summary>(owner->app, owner->questions->Failures(),
                                                 owner->job->Result().fatalMessage));
  else if (source == owner->back.get())
    owner->Abandon();
}

Extract::Extract(AppContext& app, const std::string& sourcePath, const std::string& destinationPath,
                 std::shared_ptr<REZ::Parser> archive, const ExtractOptions& options)
    : app(app),
      sourcePath(sourcePath),
      destinationPath(destinationPath),
      questions(std::make_shared<GuiQuestions>(app.Window())),
      job(MakeExtractJob(sourcePath, destinationPath, std::move(archive), options, questions)) {}

Extract::~Extract() {
  Destroy();
}

void Extract::Init() {
  listener = std::make_unique<ExtractAL>(this);
  MakeScreenGui(app, gui, top);
  const int width = app.ScreenWidth();
  const int height = app.ScreenHeight();

  progressBar = std::make_unique<SHR::ProgressBar>(app.skin.get());
  progressBar->setSize(580, 31);
  top->add(progressBar.get(), 10, 75);

  // An abandoned extraction stops before its next file; it carries its own
  // game and palette, so this one need not wait for it.
  app.workers.CancelAll();
  app.workers.Start(job);
  elapsedMs = 0;
  firstFrame = true;

  next = std::make_unique<SHR::But>(app.skin.get(), "Next");
  next->setSize(90, 33);
  next->setEnabled(false);
  next->addActionListener(listener.get());
  top->add(next.get(), width - 95, height - 38);

  pause = std::make_unique<SHR::But>(app.skin.get(), "Pause");
  pause->setSize(90, 33);
  pause->addActionListener(listener.get());
  top->add(pause.get(), width - 200, height - 38);

  back = std::make_unique<SHR::But>(app.skin.get(), "Back");
  back->setSize(90, 33);
  back->setEnabled(false);
  back->addActionListener(listener.get());
  top->add(back.get(), width - 305, height - 38);
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
  if (firstFrame)
    firstFrame = false;
  else if (progressBar->getProgress() != 100.0f)
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
  font.Printf(3, 40, 0, "Progress: file %d/%d", false, progressBar->value, progressBar->total);
  font.Printf(3, 110, 0, "Elapsed time: ~y~%s~w~", false, DurationText(elapsedMs).c_str());
  const float percentage = progressBar->getProgress();
  font.Render(3, 132, 0, TimeLeftText(elapsedMs, percentage).c_str(), false);
  font.Printf(300, 80, 2, "%.1f%%", false, static_cast<double>(percentage));
  DrawAboutIcon(app);
  return false;
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
  std::unique_ptr<SHR::cState> details = OpenDetailsOrTell(app, sourcePath, destinationPath);
  if (details)
    ChangeState(std::move(details));
  else
    ChangeState(std::make_unique<Select>(app, sourcePath, destinationPath));
}

}  // namespace State

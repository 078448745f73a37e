// Step 3 of the wizard: the extraction runs on a worker thread while this
// screen shows its progress, the elapsed time and an estimate of the rest.
#pragma once

#include <guichan/actionlistener.hpp>
#include <memory>
#include <string>

#include "app/cState.h"
#include "app/states/Summary.h"
#include "extract/ExtractOptions.h"

struct AppContext;
class ExtractJob;
class GuiQuestions;
namespace REZ {
class Parser;
}
namespace gcn {
class Gui;
}
namespace SHR {
class But;
class Contener;
class ProgressBar;
}  // namespace SHR

namespace State {

class Extract;

class ExtractAL : public gcn::ActionListener {
 public:
  explicit ExtractAL(Extract* owner) : owner(owner) {}
  void action(const gcn::ActionEvent& event) override;

 private:
  Extract* owner;
};

class Extract : public SHR::cState {
 public:
  Extract(AppContext& app, const std::string& sourcePath, const std::string& destinationPath,
          std::shared_ptr<REZ::Parser> archive, const ExtractOptions& options);
  ~Extract() override;

  void Init() override;
  void Destroy() override;
  bool Think() override;
  bool Render() override;

  const std::shared_ptr<ExtractJob>& Job() const { return job; }
  int ElapsedMs() const { return elapsedMs; }
  // What the bar and the percentage show: 100 once the job is done, even
  // when there was nothing to extract.
  float Percentage() const;
  // What step 4 shows; valid once the job is done.
  ExtractionReport Report() const;
  SHR::ProgressBar* Bar() const { return progressBar.get(); }
  SHR::But* NextButton() const { return next.get(); }
  SHR::But* PauseButton() const { return pause.get(); }
  SHR::But* BackButton() const { return back.get(); }

  // Where each part of the screen goes.
  struct Layout {
    static constexpr int kBarX = 10, kBarY = 75, kBarWidth = 580, kBarHeight = 31;
    static constexpr int kTextX = 3, kProgressY = 40, kElapsedY = 110, kTimeLeftY = 132;
    static constexpr int kButtonWidth = 90;
    static constexpr int kNextX = 505, kPauseX = 400, kBackX = 295;
  };

 private:
  friend class ExtractAL;

  void TogglePause();
  void Abandon();
  void ShowPausedState(bool paused);

  AppContext& app;
  std::string sourcePath;
  std::string destinationPath;
  std::shared_ptr<GuiQuestions> questions;
  // The choices of step 2, for Back to show them again.
  ExtractOptions chosen;
  std::shared_ptr<ExtractJob> job;
  int elapsedMs = 0;
  bool firstFrame = true;
  // The pause state the buttons show; follows the job's flag, which the
  // image conversion's error question may also set.
  bool shownPaused = false;

  std::unique_ptr<ExtractAL> listener;
  std::unique_ptr<gcn::Gui> gui;
  std::unique_ptr<SHR::Contener> top;
  std::unique_ptr<SHR::ProgressBar> progressBar;
  std::unique_ptr<SHR::But> next;
  std::unique_ptr<SHR::But> pause;
  std::unique_ptr<SHR::But> back;
};

// The time-left text: "-" in grey before anything can be estimated and once
// all is done, otherwise the duration from the elapsed time and the percentage.
std::string TimeLeftText(int elapsedMs, float percentage);

}  // namespace State

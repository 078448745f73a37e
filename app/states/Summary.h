// Step 4 of the wizard: what the extraction did, then start again with
// another archive, open the destination in the file manager, or leave.
#pragma once

#include <cstdint>
#include <guichan/actionlistener.hpp>
#include <memory>
#include <string>
#include <vector>

#include "app/cState.h"
#include "extract/ExtractJob.h"

struct AppContext;
namespace gcn {
class Gui;
}
namespace SHR {
class But;
class Contener;
}  // namespace SHR

namespace State {

class Summary;

class SummaryAL : public gcn::ActionListener {
 public:
  explicit SummaryAL(Summary* owner) : owner(owner) {}
  void action(const gcn::ActionEvent& event) override;

 private:
  Summary* owner;
};

// What step 3 hands over about the finished extraction.
struct ExtractionReport {
  std::string destination;
  ExtractResult result;               // counts and, when it could not run, why
  std::vector<std::string> problems;  // one message per file or folder not extracted
  std::int64_t selectedBytes = 0;     // size of the files of the ticked types
  int elapsedMs = 0;
};

class Summary : public SHR::cState {
 public:
  explicit Summary(AppContext& app, ExtractionReport report = {});
  ~Summary() override;

  void Init() override;
  void Destroy() override;
  bool Think() override;
  bool Render() override;

  SHR::But* ExtractNextButton() const { return extractNext.get(); }
  SHR::But* ExitButton() const { return exit.get(); }
  // Absent when no file manager can be started.
  SHR::But* OpenFolderButton() const { return openFolder.get(); }

  // Where each part of the screen goes.
  struct Layout {
    static constexpr int kLinesTop = 36;
    static constexpr int kLineHeight = 22;
    static constexpr int kMaxLines = 10;
    static constexpr float kLineWidth = 590;
    static constexpr int kOpenFolderX = 230, kOpenFolderWidth = 105;
    static constexpr int kExitX = 340, kExitWidth = 75;
    static constexpr int kNextX = 420, kNextWidth = 175;
  };

 private:
  friend class SummaryAL;

  struct Line {
    std::string text;
    unsigned colour;
    bool literal;  // a name or message from outside: drawn as it is
  };
  // What the screen lists under its title, already shortened to fit.
  std::vector<Line> MakeLines() const;

  AppContext& app;
  ExtractionReport report;
  std::vector<Line> shownLines;  // made once the font is there, drawn every frame
  bool exitRequested = false;
  std::unique_ptr<SummaryAL> listener;
  std::unique_ptr<gcn::Gui> gui;
  std::unique_ptr<SHR::Contener> top;
  std::unique_ptr<SHR::But> extractNext;
  std::unique_ptr<SHR::But> exit;
  std::unique_ptr<SHR::But> openFolder;
};

}  // namespace State

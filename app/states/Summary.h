// Step 4 of the wizard: start again with another archive, or leave.
#pragma once

#include <guichan/actionlistener.hpp>
#include <memory>
#include <string>
#include <vector>

#include "app/cState.h"

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

class Summary : public SHR::cState {
 public:
  // problems: what the extraction could not do, one message each; fatal: why
  // it could not run at all. Both empty after a clean run.
  explicit Summary(AppContext& app, std::vector<std::string> problems = {}, std::string fatal = {});
  ~Summary() override;

  void Init() override;
  void Destroy() override;
  bool Think() override;
  bool Render() override;

  SHR::But* ExtractNextButton() const { return extractNext.get(); }
  SHR::But* ExitButton() const { return exit.get(); }
  // The lines the screen shows about problems, already shortened to fit.
  std::vector<std::string> ProblemLines() const;

 private:
  friend class SummaryAL;

  AppContext& app;
  std::vector<std::string> problems;
  std::string fatal;
  bool exitRequested = false;
  std::unique_ptr<SummaryAL> listener;
  std::unique_ptr<gcn::Gui> gui;
  std::unique_ptr<SHR::Contener> top;
  std::unique_ptr<SHR::But> extractNext;
  std::unique_ptr<SHR::But> exit;
};

}  // namespace State

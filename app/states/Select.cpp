#include "app/states/Select.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <guichan/gui.hpp>
#include <system_error>
#include <utility>

#include "app/AppContext.h"
#include "app/Paths.h"
#include "app/ScreenFrame.h"
#include "app/ScreenGui.h"
#include "app/states/Details.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wTextField.h"
#include "platform/FileDialog.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "platform/MessageBox.h"
#include "text/BitmapFont.h"

namespace fs = std::filesystem;

namespace State {

namespace {

void Notice(AppContext& app, const std::string& text) {
  platform::ShowMessageBox(app.Window(), text, "Notice", platform::MessageBoxButtons::kOk,
                           platform::MessageBoxIcon::kInformation);
}

}  // namespace

bool CanOpenForReading(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  // A folder opens for reading on Linux, but it is never an archive.
  if (fs::is_directory(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

void SelectAL::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == owner->browseSource.get())
    owner->BrowseForSource();
  else if (source == owner->sourceField.get())
    owner->CheckTypedSource();
  else if (source == owner->next.get())
    owner->GoToDetails();
}

Select::Select(AppContext& app, std::optional<std::string> source,
               std::optional<std::string> destination)
    : app(app) {
  if (source) sourceField = std::make_unique<SHR::TextField>(*source);
  if (destination) destinationField = std::make_unique<SHR::TextField>(*destination);
}

Select::~Select() {
  Destroy();
}

void Select::Init() {
  listener = std::make_unique<SelectAL>(this);
  MakeScreenGui(app, gui, top);
  const int width = app.ScreenWidth();
  const int height = app.ScreenHeight();

  if (!sourceField) sourceField = std::make_unique<SHR::TextField>();
  sourceField->setSize(500, 24);
  sourceField->addActionListener(listener.get());
  top->add(sourceField.get(), 5, 75);

  if (!destinationField) destinationField = std::make_unique<SHR::TextField>();
  destinationField->setSize(500, 24);
  top->add(destinationField.get(), 5, 175);

  next = std::make_unique<SHR::But>(app.skin.get(), "Next");
  next->setSize(100, 33);
  next->setEnabled(false);
  next->addActionListener(listener.get());
  top->add(next.get(), width - 105, height - 38);

  browseSource = std::make_unique<SHR::But>(app.skin.get(), "Browse");
  browseSource->setSize(75, 25);
  browseSource->addActionListener(listener.get());
  top->add(browseSource.get(), 510, 75);

  browseDestination = std::make_unique<SHR::But>(app.skin.get(), "Browse");
  browseDestination->setSize(75, 25);
  browseDestination->addActionListener(listener.get());
  top->add(browseDestination.get(), 510, 175);

  if (app.initialSource) TakeSource(*std::exchange(app.initialSource, std::nullopt));
}

void Select::Destroy() {
  if (gui) gui->setTop(nullptr);
  browseDestination.reset();
  browseSource.reset();
  next.reset();
  destinationField.reset();
  sourceField.reset();
  top.reset();
  gui.reset();
  listener.reset();
}

bool Select::Think() {
  gui->logic();
  HandleAboutHotSpot(app);
  return false;
}

bool Select::Render() {
  gui->draw();
  DrawScreenFrame(app, "Step 1/4: select source file and destination path");
  app.mainFont->SetColor(kWhite);
  app.mainFont->Render(5, 50, 0, "Source file:", false);
  app.mainFont->Render(5, 150, 0, "Destination path:", false);
  return false;
}

void Select::BrowseForSource() {
  platform::OpenFileOptions options;
  options.filters = {
      {"Monolith's Resources (*.VRZ; *.SRZ; *.REZ)", "*.vrz;*.srz;*.rez"},
      {"Monolith's Resource (*.REZ)", "*.rez"},
      {"Monolith's Voice Resource (*.VRZ)", "*.vrz"},
      {"Monolith's Sound Resource (*.SRZ)", "*.srz"},
      {"All files (*.*)", "*.*"},
  };
  options.selectedFilter = 0;
  options.defaultExtension = "rez";
  const std::optional<std::string> chosen = platform::ShowOpenFileDialog(options);
  if (chosen) TakeSource(*chosen);
}

void Select::TakeSource(const std::string& chosen) {
  sourceField->setText(chosen);
  if (!CanOpenForReading(chosen)) return;
  next->setEnabled(true);
  destinationField->setText(DefaultDestination(chosen));
}

void Select::CheckTypedSource() {
  next->setEnabled(CanOpenForReading(sourceField->getText()));
}

bool Select::EnsureDestination(const std::string& destination) {
  std::error_code error;
  if (!destination.empty() && fs::is_directory(destination, error)) return true;
  const platform::MessageBoxAnswer answer = platform::ShowMessageBox(
      app.Window(), "Destination path does not exist. Do you want to create it?", "Question",
      platform::MessageBoxButtons::kYesNo, platform::MessageBoxIcon::kQuestion);
  if (answer != platform::MessageBoxAnswer::kYes) return false;
  // One folder, as asked; its parent must exist already.
  std::string reason;
  if (destination.empty()) {
    reason = "No destination path was given.";
  } else if (!fs::create_directory(destination, error)) {
    std::error_code ignored;
    if (error)
      reason = error.message();
    else if (!fs::is_directory(destination, ignored))
      reason = "A file of that name is in the way.";
  }
  if (reason.empty()) return true;
  Notice(app, "Destination path could not be created:\n" + destination + "\n\n" + reason);
  return false;
}

void Select::GoToDetails() {
  const std::string source = sourceField->getText();
  const std::string destination = destinationField->getText();
  if (!EnsureDestination(destination)) return;
  std::unique_ptr<SHR::cState> details = OpenDetailsOrTell(app, source, destination);
  if (details) ChangeState(std::move(details));
}

std::unique_ptr<SHR::cState> OpenDetailsOrTell(AppContext& app, const std::string& source,
                                               const std::string& destination) {
  std::string reason;
  try {
    return std::make_unique<Details>(app, source, destination);
  } catch (const REZ::Exception& exception) {
    reason = exception.message;
    if (!exception.detail.empty()) reason += "\n" + exception.detail;
  } catch (const std::exception& exception) {
    reason = exception.what();
  }
  Notice(app, "The archive could not be read:\n" + source + "\n\n" + reason);
  return nullptr;
}

}  // namespace State

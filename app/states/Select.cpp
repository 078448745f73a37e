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
#include "gcnWidgets/wSkin.h"
#include "gcnWidgets/wTextField.h"
#include "platform/FileDialog.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "platform/MessageBox.h"
#include "text/BitmapFont.h"

namespace fs = std::filesystem;

namespace State {

namespace {

void Notice(const std::string& text) {
  platform::ShowMessageBox(text, "Notice", platform::MessageBoxButtons::kOk,
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
  else if (source == owner->browseDestination.get())
    owner->BrowseForDestination();
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

  if (!sourceField) sourceField = std::make_unique<SHR::TextField>();
  sourceField->setFont(app.skin->nameFont.get());
  using L = Layout;
  sourceField->setSize(L::kFieldWidth, L::kFieldHeight);
  sourceField->addActionListener(listener.get());
  top->add(sourceField.get(), L::kLeft, L::kSourceY);

  if (!destinationField) destinationField = std::make_unique<SHR::TextField>();
  destinationField->setFont(app.skin->nameFont.get());
  destinationField->setSize(L::kFieldWidth, L::kFieldHeight);
  top->add(destinationField.get(), L::kLeft, L::kDestinationY);

  next = std::make_unique<SHR::But>(app.skin.get(), "Next");
  next->setSize(L::kNextWidth, kButtonHeight);
  next->setEnabled(false);
  next->addActionListener(listener.get());
  top->add(next.get(), L::kNextX, kButtonRowY);

  browseSource = std::make_unique<SHR::But>(app.skin.get(), "Browse");
  browseSource->setSize(L::kBrowseWidth, L::kBrowseHeight);
  browseSource->addActionListener(listener.get());
  top->add(browseSource.get(), L::kBrowseX, L::kSourceY);

  browseDestination = std::make_unique<SHR::But>(app.skin.get(), "Browse");
  browseDestination->setSize(L::kBrowseWidth, L::kBrowseHeight);
  browseDestination->addActionListener(listener.get());
  top->add(browseDestination.get(), L::kBrowseX, L::kDestinationY);
  // Typing works at once: the source field has the focus from the start.
  sourceField->requestFocus();

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
  using L = Layout;
  app.mainFont->Render(L::kLeft, L::kSourceY - L::kLabelAbove, 0, "Source file:", false);
  app.mainFont->Render(L::kLeft, L::kDestinationY - L::kLabelAbove, 0, "Destination path:", false);
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
  options.startPath = sourceField->getText();
  const std::optional<std::string> chosen = platform::ShowOpenFileDialog(options);
  if (chosen) TakeSource(*chosen);
}

void Select::TakeSource(const std::string& chosen) {
  sourceField->setText(chosen);
  if (!CanOpenForReading(chosen)) return;
  next->setEnabled(true);
  destinationField->setText(DefaultDestination(chosen));
}

void Select::BrowseForDestination() {
  platform::OpenFileOptions options;
  options.chooseFolder = true;
  options.title = "Destination path";
  options.startPath = destinationField->getText();
  if (options.startPath.empty()) options.startPath = PathDirectory(sourceField->getText());
  const std::optional<std::string> chosen = platform::ShowOpenFileDialog(options);
  if (chosen) destinationField->setText(*chosen);
}

void Select::CheckTypedSource() {
  next->setEnabled(CanOpenForReading(sourceField->getText()));
}

bool Select::EnsureDestination(const std::string& destination) {
  std::error_code error;
  if (fs::is_directory(destination, error)) return true;
  const platform::MessageBoxAnswer answer = platform::ShowMessageBox(
      "Destination path does not exist. Do you want to create it?", "Question",
      platform::MessageBoxButtons::kYesNo, platform::MessageBoxIcon::kQuestion);
  if (answer != platform::MessageBoxAnswer::kYes) return false;
  // The missing parents too: the user asked for this folder, wherever it lies.
  fs::create_directories(destination, error);
  std::error_code ignored;
  if (!error && fs::is_directory(destination, ignored)) return true;
  const std::string reason = error ? error.message() : "A file of that name is in the way.";
  Notice("Destination path could not be created:\n" + destination + "\n\n" + reason);
  return false;
}

void Select::GoToDetails() {
  const std::string source = sourceField->getText();
  const std::string destination = destinationField->getText();
  if (destination.empty()) {
    Notice(kEmptyDestination);
    return;
  }
  // The archive first: nothing is created for an archive that cannot be read.
  std::unique_ptr<Details> details = OpenDetailsOrTell(app, source, destination);
  if (!details || !EnsureDestination(destination)) return;
  ChangeState(std::move(details));
}

std::unique_ptr<Details> OpenDetailsOrTell(AppContext& app, const std::string& source,
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
  Notice("The archive could not be read:\n" + source + "\n\n" + reason);
  return nullptr;
}

}  // namespace State

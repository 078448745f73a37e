// Step 1 of the wizard: the archive to extract and the folder to extract it to.
#pragma once

#include <guichan/actionlistener.hpp>
#include <memory>
#include <optional>
#include <string>

#include "app/cState.h"

struct AppContext;
namespace gcn {
class Gui;
}
namespace SHR {
class But;
class Contener;
class TextField;
}  // namespace SHR

namespace State {

class Details;
class Select;

class SelectAL : public gcn::ActionListener {
 public:
  explicit SelectAL(Select* owner) : owner(owner) {}
  void action(const gcn::ActionEvent& event) override;

 private:
  Select* owner;
};

class Select : public SHR::cState {
 public:
  // A text that is given appears in its field; the other field starts empty.
  Select(AppContext& app, std::optional<std::string> source = std::nullopt,
         std::optional<std::string> destination = std::nullopt);
  ~Select() override;

  void Init() override;
  void Destroy() override;
  bool Think() override;
  bool Render() override;

  // The widgets, for the listener and for tests.
  SHR::TextField* SourceField() const { return sourceField.get(); }
  SHR::TextField* DestinationField() const { return destinationField.get(); }
  SHR::But* BrowseSourceButton() const { return browseSource.get(); }
  SHR::But* BrowseDestinationButton() const { return browseDestination.get(); }
  SHR::But* NextButton() const { return next.get(); }

  // Where each part of the screen goes; the labels sit above their fields.
  struct Layout {
    static constexpr int kLeft = 5, kFieldWidth = 500, kFieldHeight = 24;
    static constexpr int kSourceY = 75, kDestinationY = 175, kLabelAbove = 25;
    static constexpr int kBrowseX = 510, kBrowseWidth = 75, kBrowseHeight = 25;
    static constexpr int kNextX = 495, kNextWidth = 100;
  };

 private:
  friend class SelectAL;

  void BrowseForSource();
  void BrowseForDestination();
  // Fills the source and, for a readable file, enables Next and proposes a destination.
  void TakeSource(const std::string& chosen);
  void CheckTypedSource();
  void GoToDetails();
  // Makes sure the destination folder exists, asking before creating it and
  // its missing parents; false when the user declined or it could not be made.
  bool EnsureDestination(const std::string& destination);

  AppContext& app;
  std::unique_ptr<SelectAL> listener;
  std::unique_ptr<gcn::Gui> gui;
  std::unique_ptr<SHR::Contener> top;
  std::unique_ptr<SHR::TextField> sourceField;
  std::unique_ptr<SHR::TextField> destinationField;
  std::unique_ptr<SHR::But> next;
  std::unique_ptr<SHR::But> browseSource;
  std::unique_ptr<SHR::But> browseDestination;
};

inline constexpr const char* kEmptyDestination =
    "No destination path was given. Please choose the folder to extract to.";

// Builds step 2 for the two paths. When the archive cannot be opened or read
// the user is told why and nothing is returned.
std::unique_ptr<Details> OpenDetailsOrTell(AppContext& app, const std::string& source,
                                           const std::string& destination);

// True when path names a file that can be opened for reading.
bool CanOpenForReading(const std::string& path);

}  // namespace State

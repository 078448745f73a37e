// The program's own open-file chooser, made of guichan widgets: the current
// folder, its sub-folders and the files that pass the filter, a filter list,
// a name field, OK and Cancel. Used when no desktop chooser can be started.
#pragma once

#include <filesystem>
#include <guichan/actionlistener.hpp>
#include <guichan/listmodel.hpp>
#include <guichan/widgets/button.hpp>
#include <guichan/widgets/container.hpp>
#include <guichan/widgets/dropdown.hpp>
#include <guichan/widgets/label.hpp>
#include <guichan/widgets/listbox.hpp>
#include <guichan/widgets/scrollarea.hpp>
#include <guichan/widgets/textfield.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialog.h"

namespace platform {

class FileChooser : public gcn::Container, public gcn::ActionListener {
 public:
  enum class Outcome { kOpen, kChosen, kCancelled };

  FileChooser(const OpenFileOptions& options, const std::filesystem::path& startFolder, int width,
              int height);
  ~FileChooser() override;

  Outcome outcome() const { return result; }
  const std::string& chosenFile() const { return chosen; }
  const std::filesystem::path& folder() const { return currentFolder; }
  // Rows of the list: "..", then folders with a trailing '/', then files.
  const std::vector<std::string>& entries() const { return rows; }
  const std::string& message() const { return messageText; }

  // What the user can do, also reached through the widgets.
  void SelectFilter(std::size_t index);
  void Activate(std::size_t row);  // a click on a row: enters a folder, names a file
  void SetName(const std::string& name);
  void Confirm();  // OK
  void Cancel();

  gcn::TextField& nameField() { return name; }
  gcn::Button& okButton() { return ok; }
  gcn::Button& cancelButton() { return cancel; }
  gcn::ListBox& list() { return listBox; }

  void action(const gcn::ActionEvent& event) override;

 private:
  class Rows : public gcn::ListModel {
   public:
    explicit Rows(const std::vector<std::string>& rows) : rows(rows) {}
    int getNumberOfElements() override { return static_cast<int>(rows.size()); }
    std::string getElementAt(int i) override;

   private:
    const std::vector<std::string>& rows;
  };

  void EnterFolder(const std::filesystem::path& folder);
  void Refresh();
  bool PassesFilter(const std::string& fileName) const;

  OpenFileOptions options;
  std::size_t filterIndex;
  std::filesystem::path currentFolder;
  std::vector<std::string> rows;
  std::vector<std::string> filterNames;
  std::string messageText;
  Outcome result = Outcome::kOpen;
  std::string chosen;

  Rows rowModel{rows};
  Rows filterModel{filterNames};
  gcn::Label folderLabel;
  gcn::ListBox listBox;
  gcn::ScrollArea scroll;
  gcn::DropDown filterBox;
  gcn::TextField name;
  gcn::Button ok{"OK"};
  gcn::Button cancel{"Cancel"};
  gcn::Label messageLabel;
};

// Runs the chooser in the engine's window until the user confirms or cancels;
// nothing when cancelled or when the engine has no window to show it in.
std::optional<std::string> RunFileChooser(const OpenFileOptions& options);

}  // namespace platform

// The program's own open-file and choose-folder dialog, drawn in the window
// with the program's skin: the current folder, its sub-folders and (choosing
// a file) the files that pass the filter, a filter list, a name field, OK and
// Cancel. Used when no desktop chooser can be started; installed as the
// platform's built-in chooser.
#pragma once

#include <chrono>
#include <filesystem>
#include <guichan/actionlistener.hpp>
#include <guichan/keylistener.hpp>
#include <guichan/listmodel.hpp>
#include <guichan/mouselistener.hpp>
#include <guichan/widgets/dropdown.hpp>
#include <guichan/widgets/label.hpp>
#include <guichan/widgets/listbox.hpp>
#include <guichan/widgets/scrollarea.hpp>
#include <optional>
#include <string>
#include <vector>

#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wTextField.h"
#include "platform/FileDialog.h"

struct AppContext;

class FileChooser : public SHR::Contener,
                    public gcn::ActionListener,
                    public gcn::KeyListener,
                    public gcn::MouseListener {
 public:
  enum class Outcome { kOpen, kChosen, kCancelled };

  // Where each part goes in the 600 by 300 window; the filter list opens
  // downwards over the file list, so it fits whatever the filter count.
  struct Layout {
    static constexpr int kTitleY = 3, kFolderY = 32;
    static constexpr int kFilterY = 56, kFilterHeight = 22;
    static constexpr int kListY = 84, kListHeight = 142;
    static constexpr int kNameY = 236, kNameWidth = 400;
    static constexpr int kOkX = 412, kCancelX = 505, kButtonWidth = 88, kButtonHeight = 28;
    static constexpr int kMessageY = 270;
  };

  FileChooser(AppContext& app, const platform::OpenFileOptions& options,
              const std::filesystem::path& startFolder);
  ~FileChooser() override;

  Outcome outcome() const { return result; }
  const std::string& chosenPath() const { return chosen; }
  const std::filesystem::path& folder() const { return currentFolder; }
  // Rows of the list: "..", then folders with a trailing '/', then files.
  const std::vector<std::string>& entries() const { return rows; }
  const std::string& message() const { return messageText; }
  const std::string& title() const { return titleText; }

  // What the user can do, also reached through the widgets.
  void SelectFilter(std::size_t index);
  void Select(std::size_t row);  // one click: a file's (or folder's) name into the field
  void Open(std::size_t row);    // double click or Return: enters a folder, picks a file
  void SetName(const std::string& name);
  void Confirm();  // OK, or Return in the name field
  void Cancel();   // Cancel, Escape, closing the window

  SHR::TextField& nameField() { return name; }
  gcn::ListBox& list() { return listBox; }

  void action(const gcn::ActionEvent& event) override;
  void keyPressed(gcn::KeyEvent& event) override;
  void mousePressed(gcn::MouseEvent& event) override;

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
  void Tell(const std::string& text);

  platform::OpenFileOptions options;
  std::size_t filterIndex;
  std::filesystem::path currentFolder;
  std::vector<std::string> rows;
  std::vector<std::string> filterNames;
  std::string messageText;
  std::string titleText;
  Outcome result = Outcome::kOpen;
  std::string chosen;

  Rows rowModel{rows};
  Rows filterModel{filterNames};
  gcn::Label folderLabel;
  gcn::ListBox listBox;
  gcn::ScrollArea scroll;
  gcn::DropDown filterBox;
  SHR::TextField name;
  SHR::But ok;
  SHR::But cancel;
  gcn::Label messageLabel;
};

// Runs the chooser in the window until the user picks or cancels; nothing
// when cancelled or when there is no window to show it in.
std::optional<std::string> RunFileChooser(AppContext& app,
                                          const platform::OpenFileOptions& options);

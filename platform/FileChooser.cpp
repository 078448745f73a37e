#include "platform/FileChooser.h"

#include <fnmatch.h>

#include <algorithm>
#include <guichan/gui.hpp>
#include <system_error>

#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "platform/hge.h"

namespace fs = std::filesystem;

namespace platform {

std::string FileChooser::Rows::getElementAt(int i) {
  return i >= 0 && i < static_cast<int>(rows.size()) ? rows[i] : std::string();
}

FileChooser::FileChooser(const OpenFileOptions& options, const fs::path& startFolder, int width,
                         int height)
    : options(options),
      filterIndex(options.selectedFilter < options.filters.size() ? options.selectedFilter : 0),
      listBox(&rowModel),
      scroll(&listBox),
      filterBox(&filterModel) {
  for (const FileFilter& filter : options.filters) filterNames.push_back(filter.description);
  if (filterNames.empty()) filterNames.push_back("All files (*.*)");

  setSize(width, height);
  setOpaque(true);
  const int buttonsLeft = width - 185;
  add(&folderLabel, 5, 5);
  scroll.setScrollPolicy(gcn::ScrollArea::SHOW_NEVER, gcn::ScrollArea::SHOW_AUTO);
  scroll.setSize(width - 10, height - 100);
  add(&scroll, 5, 28);
  listBox.setWidth(width - 30);
  filterBox.setSize(buttonsLeft - 15, 20);
  filterBox.setSelected(static_cast<int>(filterIndex));
  add(&filterBox, 5, height - 64);
  name.setSize(buttonsLeft - 15, 24);
  add(&name, 5, height - 34);
  ok.setSize(80, 26);
  cancel.setSize(80, 26);
  add(&ok, buttonsLeft, height - 34);
  add(&cancel, buttonsLeft + 90, height - 34);
  add(&messageLabel, buttonsLeft, height - 64);

  for (gcn::Widget* widget :
       std::initializer_list<gcn::Widget*>{&listBox, &filterBox, &name, &ok, &cancel})
    widget->addActionListener(this);

  EnterFolder(startFolder.empty() ? fs::path("/") : startFolder);
}

FileChooser::~FileChooser() {
  // The widgets are members: take them out before the container forgets them.
  clear();
}

void FileChooser::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == &listBox) {
    if (listBox.getSelected() >= 0) Activate(static_cast<std::size_t>(listBox.getSelected()));
  } else if (source == &filterBox) {
    if (filterBox.getSelected() >= 0)
      SelectFilter(static_cast<std::size_t>(filterBox.getSelected()));
  } else if (source == &name || source == &ok) {
    Confirm();
  } else if (source == &cancel) {
    Cancel();
  }
}

void FileChooser::SelectFilter(std::size_t index) {
  if (index >= filterNames.size()) return;
  filterIndex = index;
  if (filterBox.getSelected() != static_cast<int>(index))
    filterBox.setSelected(static_cast<int>(index));
  Refresh();
}

void FileChooser::Activate(std::size_t row) {
  if (row >= rows.size()) return;
  const std::string& entry = rows[row];
  if (entry == "..") {
    EnterFolder(currentFolder.parent_path());
  } else if (!entry.empty() && entry.back() == '/') {
    EnterFolder(currentFolder / entry.substr(0, entry.size() - 1));
  } else {
    SetName(entry);
  }
}

void FileChooser::SetName(const std::string& text) {
  name.setText(text);
  name.setCaretPosition(static_cast<unsigned int>(text.size()));
}

void FileChooser::Confirm() {
  const std::string text = name.getText();
  if (text.empty()) {
    if (listBox.getSelected() >= 0) Activate(static_cast<std::size_t>(listBox.getSelected()));
    return;
  }
  fs::path path(text);
  if (path.is_relative()) path = currentFolder / path;
  std::error_code error;
  if (fs::is_directory(path, error)) {
    EnterFolder(path);
    SetName("");
    return;
  }
  if (!fs::exists(path, error) && !path.has_extension() && !options.defaultExtension.empty())
    path += "." + options.defaultExtension;
  if (fs::is_regular_file(path, error)) {
    chosen = path.lexically_normal().string();
    result = Outcome::kChosen;
    return;
  }
  messageText = "File not found.";
  messageLabel.setCaption(messageText);
  messageLabel.adjustSize();
}

void FileChooser::Cancel() {
  result = Outcome::kCancelled;
}

void FileChooser::EnterFolder(const fs::path& folder) {
  std::error_code error;
  fs::path absolute = fs::absolute(folder, error).lexically_normal();
  if (error || !fs::is_directory(absolute, error)) {
    messageText = "Cannot open the folder.";
    messageLabel.setCaption(messageText);
    messageLabel.adjustSize();
    return;
  }
  if (!absolute.has_filename() && absolute != absolute.root_path())
    absolute = absolute.parent_path();
  currentFolder = absolute;
  messageText.clear();
  messageLabel.setCaption("");
  Refresh();
}

bool FileChooser::PassesFilter(const std::string& fileName) const {
  if (filterIndex >= options.filters.size()) return true;
  const std::string& patterns = options.filters[filterIndex].patterns;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    const std::string pattern = patterns.substr(start, end - start);
    // "*.*" means every file, as it does on the platform the filters come from.
    if (pattern == "*.*" || pattern == "*") return true;
    if (!pattern.empty() && fnmatch(pattern.c_str(), fileName.c_str(), FNM_CASEFOLD) == 0)
      return true;
    start = end + 1;
  }
  return false;
}

void FileChooser::Refresh() {
  std::vector<std::string> folders, files;
  std::error_code error;
  for (fs::directory_iterator it(currentFolder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string entryName = it->path().filename().string();
    if (entryName.empty() || entryName[0] == '.') continue;
    std::error_code statusError;
    if (it->is_directory(statusError))
      folders.push_back(entryName + "/");
    else if (it->is_regular_file(statusError) && PassesFilter(entryName))
      files.push_back(entryName);
  }
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  rows.clear();
  if (currentFolder != currentFolder.root_path()) rows.push_back("..");
  rows.insert(rows.end(), folders.begin(), folders.end());
  rows.insert(rows.end(), files.begin(), files.end());

  folderLabel.setCaption(currentFolder.string());
  folderLabel.adjustSize();
  listBox.setSelected(-1);
  listBox.adjustSize();
  listBox.setWidth(scroll.getChildrenArea().width);
}

std::optional<std::string> RunFileChooser(const OpenFileOptions& options) {
  HGE* hge = hgeCreate(HGE_VERSION);
  if (!hge || !hge->System_GetState(HGE_HWND)) return std::nullopt;
  std::error_code error;
  fs::path start = fs::current_path(error);
  FileChooser chooser(options, start, hge->System_GetState(HGE_SCREENWIDTH),
                      hge->System_GetState(HGE_SCREENHEIGHT));
  gcn::HGEGraphics graphics;
  gcn::HGEInput input;
  gcn::Gui gui;
  gui.setGraphics(&graphics);
  gui.setInput(&input);
  gui.setTop(&chooser);
  chooser.nameField().requestFocus();
  while (chooser.outcome() == FileChooser::Outcome::kOpen) {
    if (hge->System_NextModalFrame()) {
      chooser.Cancel();
      break;
    }
    gui.logic();
    if (hge->Gfx_BeginScene(0)) {
      gui.draw();
      hge->Gfx_EndScene();
    }
  }
  gui.setTop(nullptr);
  if (chooser.outcome() != FileChooser::Outcome::kChosen) return std::nullopt;
  return chooser.chosenFile();
}

}  // namespace platform

#include "app/FileChooser.h"

#include <fnmatch.h>

#include <algorithm>
#include <guichan/gui.hpp>
#include <guichan/key.hpp>
#include <guichan/keyevent.hpp>
#include <guichan/mouseevent.hpp>
#include <system_error>

#include "app/AppContext.h"
#include "app/ScreenFrame.h"
#include "gcnWidgets/wSkin.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "platform/hge.h"
#include "text/BitmapFont.h"

namespace fs = std::filesystem;

namespace {

// The stock list widgets in the colours of the skinned ones.
void Colour(gcn::Widget& widget) {
  widget.setBaseColor(gcn::Color(0x50, 0x50, 0x50));
  widget.setBackgroundColor(gcn::Color(0x26, 0x26, 0x26));
  widget.setForegroundColor(gcn::Color(0xFF, 0xFF, 0xFF));
  widget.setSelectionColor(gcn::Color(0x2F, 0x6D, 0xB5));
}

}  // namespace

std::string FileChooser::Rows::getElementAt(int i) {
  return i >= 0 && i < static_cast<int>(rows.size()) ? rows[i] : std::string();
}

FileChooser::FileChooser(AppContext& app, const platform::OpenFileOptions& options,
                         const fs::path& startFolder)
    : options(options),
      filterIndex(options.selectedFilter < options.filters.size() ? options.selectedFilter : 0),
      listBox(&rowModel),
      scroll(&listBox),
      filterBox(&filterModel),
      ok(app.skin.get(), "OK"),
      cancel(app.skin.get(), "Cancel") {
  using L = Layout;
  const int width = app.ScreenWidth();
  const int height = app.ScreenHeight();
  titleText = !options.title.empty() ? options.title
              : options.chooseFolder ? "Choose a folder"
                                     : "Open a file";
  for (const platform::FileFilter& filter : options.filters)
    filterNames.push_back(filter.description);
  if (filterNames.empty()) filterNames.push_back("All files (*.*)");

  setSize(width, height);
  for (gcn::Widget* widget : std::initializer_list<gcn::Widget*>{&listBox, &scroll, &filterBox,
                                                                 &folderLabel, &messageLabel})
    Colour(*widget);
  // Names of the file system are drawn as they stand.
  for (gcn::Widget* widget : std::initializer_list<gcn::Widget*>{&listBox, &folderLabel, &name})
    widget->setFont(app.skin->nameFont.get());
  add(&folderLabel, 5, L::kFolderY);
  scroll.setScrollPolicy(gcn::ScrollArea::SHOW_NEVER, gcn::ScrollArea::SHOW_AUTO);
  const int listTop = options.chooseFolder ? L::kFilterY : L::kListY;
  scroll.setSize(width - 10, L::kListY + L::kListHeight - listTop);
  add(&scroll, 5, listTop);
  listBox.setWidth(width - 30);
  if (!options.chooseFolder) {
    filterBox.setSize(width - 10, L::kFilterHeight);
    filterBox.setSelected(static_cast<int>(filterIndex));
    add(&filterBox, 5, L::kFilterY);
  }
  name.setSize(L::kNameWidth, 24);
  add(&name, 5, L::kNameY);
  ok.setSize(L::kButtonWidth, L::kButtonHeight);
  cancel.setSize(L::kButtonWidth, L::kButtonHeight);
  add(&ok, L::kOkX, L::kNameY - 2);
  add(&cancel, L::kCancelX, L::kNameY - 2);
  add(&messageLabel, 5, L::kMessageY);

  for (gcn::Widget* widget :
       std::initializer_list<gcn::Widget*>{&listBox, &filterBox, &name, &ok, &cancel})
    widget->addActionListener(this);
  listBox.addMouseListener(this);
  EnterFolder(startFolder.empty() ? fs::path("/") : startFolder);
}

FileChooser::~FileChooser() {
  // The widgets are members: take them out before the container forgets them.
  clear();
}

void FileChooser::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == &listBox) {
    if (listBox.getSelected() >= 0) Select(static_cast<std::size_t>(listBox.getSelected()));
  } else if (source == &filterBox) {
    if (filterBox.getSelected() >= 0)
      SelectFilter(static_cast<std::size_t>(filterBox.getSelected()));
  } else if (source == &name || source == &ok) {
    Confirm();
  } else if (source == &cancel) {
    Cancel();
  }
}

void FileChooser::keyPressed(gcn::KeyEvent& event) {
  const int key = event.getKey().getValue();
  if (key == gcn::Key::ESCAPE) {
    Cancel();
    event.consume();
  } else if (key == gcn::Key::ENTER && listBox.isFocused() && listBox.getSelected() >= 0) {
    Open(static_cast<std::size_t>(listBox.getSelected()));
    event.consume();
  }
}

void FileChooser::mousePressed(gcn::MouseEvent& event) {
  if (event.getButton() != gcn::MouseEvent::LEFT || event.getClickCount() != 2) return;
  const int row = listBox.getSelected();
  if (row >= 0) Open(static_cast<std::size_t>(row));
}

void FileChooser::SelectFilter(std::size_t index) {
  if (index >= filterNames.size()) return;
  filterIndex = index;
  if (filterBox.getSelected() != static_cast<int>(index))
    filterBox.setSelected(static_cast<int>(index));
  Refresh();
}

void FileChooser::Select(std::size_t row) {
  if (row >= rows.size() || rows[row] == "..") return;
  const std::string& entry = rows[row];
  const bool isFolder = entry.back() == '/';
  if (isFolder && !options.chooseFolder) return;
  SetName(isFolder ? entry.substr(0, entry.size() - 1) : entry);
}

void FileChooser::Open(std::size_t row) {
  if (row >= rows.size()) return;
  const std::string& entry = rows[row];
  if (entry == "..") {
    EnterFolder(currentFolder.parent_path());
  } else if (entry.back() == '/') {
    EnterFolder(currentFolder / entry.substr(0, entry.size() - 1));
  } else {
    SetName(entry);
    Confirm();
  }
}

void FileChooser::SetName(const std::string& text) {
  name.setText(text);
  name.setCaretPosition(static_cast<unsigned int>(text.size()));
}

void FileChooser::Confirm() {
  const std::string text = name.getText();
  std::error_code error;
  if (text.empty()) {
    if (options.chooseFolder) {
      chosen = currentFolder.string();
      result = Outcome::kChosen;
    }
    return;
  }
  fs::path path(text);
  if (path.is_relative()) path = currentFolder / path;
  if (options.chooseFolder) {
    // A folder that does not exist yet is fine: step 1 offers to create it.
    chosen = path.lexically_normal().string();
    result = Outcome::kChosen;
    return;
  }
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
  Tell("File not found.");
}

void FileChooser::Cancel() {
  result = Outcome::kCancelled;
}

void FileChooser::Tell(const std::string& text) {
  messageText = text;
  messageLabel.setCaption(text);
  messageLabel.adjustSize();
}

void FileChooser::EnterFolder(const fs::path& folder) {
  std::error_code error;
  fs::path absolute = fs::absolute(folder, error).lexically_normal();
  if (error || !fs::is_directory(absolute, error)) {
    Tell("Cannot open the folder.");
    return;
  }
  if (!absolute.has_filename() && absolute != absolute.root_path())
    absolute = absolute.parent_path();
  currentFolder = absolute;
  // A folder's name picked by the first click of a double click is not a
  // name inside the folder just entered.
  if (options.chooseFolder) SetName("");
  Tell("");
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
    else if (!options.chooseFolder && it->is_regular_file(statusError) && PassesFilter(entryName))
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

std::optional<std::string> RunFileChooser(AppContext& app,
                                          const platform::OpenFileOptions& options) {
  HGE* engine = app.engine;
  if (!engine->System_GetState(HGE_HWND)) return std::nullopt;
  FileChooser chooser(app, options, platform::StartFolder(options));
  gcn::Gui gui;
  gui.setGraphics(app.guiGraphics.get());
  gui.setInput(app.guiInput.get());
  gui.setTop(&chooser);
  gui.addGlobalKeyListener(&chooser);
  chooser.nameField().requestFocus();
  while (chooser.outcome() == FileChooser::Outcome::kOpen) {
    if (engine->System_NextModalFrame()) {
      chooser.Cancel();
      break;
    }
    gui.logic();
    if (engine->Gfx_BeginScene(0)) {
      gui.draw();
      DrawTitleSeparator(app);
      DrawLiteral(*app.mainFont, 3, FileChooser::Layout::kTitleY, chooser.title(), kWhite);
      engine->Gfx_EndScene();
    }
  }
  gui.removeGlobalKeyListener(&chooser);
  gui.setTop(nullptr);
  if (chooser.outcome() != FileChooser::Outcome::kChosen) return std::nullopt;
  return chooser.chosenPath();
}

// Step 2 of the wizard: the archive's file types, the options, and the totals
// of what is ticked.
#pragma once

#include <cstdint>
#include <guichan/actionlistener.hpp>
#include <guichan/mouselistener.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cState.h"
#include "archive/ArchiveStats.h"
#include "extract/ExtractOptions.h"

struct AppContext;
namespace REZ {
class Parser;
}
namespace gcn {
class Gui;
}
namespace SHR {
class But;
class CBox;
class Contener;
}  // namespace SHR

namespace State {

class Details;

class DetailsAL : public gcn::ActionListener, public gcn::MouseListener {
 public:
  explicit DetailsAL(Details* owner) : owner(owner) {}
  void action(const gcn::ActionEvent& event) override;
  // The mouse wheel and the scroll bar move a type list longer than the column.
  void mouseWheelMovedUp(gcn::MouseEvent& event) override;
  void mouseWheelMovedDown(gcn::MouseEvent& event) override;
  void mousePressed(gcn::MouseEvent& event) override;

 private:
  Details* owner;
};

class Details : public SHR::cState {
 public:
  // Measures and opens the archive; raises REZ::Exception when it cannot be
  // measured, opened or read.
  Details(AppContext& app, const std::string& sourcePath, const std::string& destinationPath);
  ~Details() override;

  void Init() override;
  void Destroy() override;
  bool Think() override;
  bool Render() override;

  // What the ticks say, as step 3 receives it.
  ExtractOptions BuildOptions() const;
  // Ticks the boxes as options says once the screen is built: step 3's Back
  // returns to the choices the extraction was started with.
  void KeepChoices(const ExtractOptions& options) { kept = options; }

  // Rows of the type list that fit into the left column at once.
  int VisibleRows() const;
  int FirstVisibleRow() const { return firstRow; }
  // Scrolls the type list by rows (negative: up), within its bounds.
  void ScrollTypes(int rows);

  const std::vector<TypeStat>& Types() const { return typeList; }
  const std::string& FileName() const { return fileName; }
  std::int64_t ArchiveFileSize() const { return archiveFileSize; }
  SHR::CBox* TypeBox(std::size_t index) const { return typeBoxes.at(index).get(); }
  SHR::CBox* PidBox() const { return pidBox.get(); }
  SHR::CBox* EmptyFoldersBox() const { return emptyFoldersBox.get(); }
  SHR::But* BackButton() const { return back.get(); }
  SHR::But* NextButton() const { return next.get(); }

  // Where a type row starts: its box at (3, y), icon at (22, y + 4), label at (40, y).
  static constexpr int kListTop = 47;
  static constexpr int kRowHeight = 22;
  static constexpr int kColumnWidth = 180;
  static constexpr int kBackX = 390, kNextX = 495, kButtonWidth = 100;

 private:
  friend class DetailsAL;

  void Confirm();
  void PlaceTypeBoxes();
  bool Scrollable() const { return static_cast<int>(typeList.size()) > VisibleRows(); }
  // The scroll bar's track at the column's right edge.
  bool InsideScrollTrack(int x, int y) const;
  void DrawScrollBar();
  // Fits the archive's name into the title and the type labels into the column.
  void ShortenNames();

  AppContext& app;
  std::string sourcePath;
  std::string destinationPath;
  std::string fileName;
  std::int64_t archiveFileSize = 0;
  std::string archiveSizeText;
  std::shared_ptr<REZ::Parser> archive;
  std::vector<TypeStat> typeList;
  std::string shortFileName;            // fileName, shortened to fit the title
  std::vector<std::string> typeLabels;  // one a type, as the list draws it
  int firstRow = 0;
  std::optional<ExtractOptions> kept;

  std::unique_ptr<DetailsAL> listener;
  std::unique_ptr<gcn::Gui> gui;
  std::unique_ptr<SHR::Contener> top;
  std::unique_ptr<SHR::But> back;
  std::unique_ptr<SHR::But> next;
  std::vector<std::unique_ptr<SHR::CBox>> typeBoxes;
  std::unique_ptr<SHR::CBox> pidBox;
  std::unique_ptr<SHR::CBox> rectBox;
  std::unique_ptr<SHR::CBox> emptyFoldersBox;
  std::unique_ptr<SHR::CBox> xmiBox;
  std::unique_ptr<SHR::CBox> pcxBox;
};

}  // namespace State

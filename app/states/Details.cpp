#include "app/states/Details.h"

#include <algorithm>
#include <guichan/gui.hpp>
#include <guichan/mouseevent.hpp>

#include "app/AppContext.h"
#include "app/Paths.h"
#include "app/ScreenFrame.h"
#include "app/ScreenGui.h"
#include "app/states/Extract.h"
#include "app/states/Select.h"
#include "archive/cREZ.h"
#include "extract/EntryNames.h"
#include "extract/Formatting.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wSkin.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"
#include "platform/MessageBox.h"
#include "text/BitmapFont.h"
#include "text/Windows1252.h"

namespace State {

namespace {

constexpr int kScrollTrackLeft = 172;
constexpr int kScrollTrackRight = 178;
constexpr const char* kTitlePrefix = "Step 2/4: options and details of ";

}  // namespace

void DetailsAL::action(const gcn::ActionEvent& event) {
  gcn::Widget* source = event.getSource();
  if (source == owner->back.get()) {
    owner->ChangeState(
        std::make_unique<Select>(owner->app, owner->sourcePath, owner->destinationPath));
  } else if (source == owner->pidBox.get()) {
    owner->rectBox->setEnabled(owner->pidBox->isSelected());
  } else if (source == owner->next.get()) {
    owner->Confirm();
  }
}

void DetailsAL::mouseWheelMovedUp(gcn::MouseEvent& event) {
  if (event.getX() >= Details::kColumnWidth) return;
  owner->ScrollTypes(-1);
  event.consume();
}

void DetailsAL::mouseWheelMovedDown(gcn::MouseEvent& event) {
  if (event.getX() >= Details::kColumnWidth) return;
  owner->ScrollTypes(1);
  event.consume();
}

void DetailsAL::mousePressed(gcn::MouseEvent& event) {
  if (event.getButton() != gcn::MouseEvent::LEFT) return;
  if (!owner->InsideScrollTrack(event.getX(), event.getY())) return;
  // Centre the rows around the clicked point of the track.
  const int rows = static_cast<int>(owner->typeList.size());
  const int visible = owner->VisibleRows();
  const int clickedRow =
      (event.getY() - Details::kListTop) * rows / (visible * Details::kRowHeight);
  owner->ScrollTypes(clickedRow - visible / 2 - owner->firstRow);
  event.consume();
}

Details::Details(AppContext& app, const std::string& sourcePath, const std::string& destinationPath)
    : app(app), sourcePath(sourcePath), destinationPath(destinationPath) {
  fileName = PathFileName(sourcePath);
  archiveFileSize = MeasureArchiveFile(sourcePath);
  archiveSizeText = SizeText(archiveFileSize);
  archive = std::make_shared<REZ::Parser>(sourcePath);
  CollectTypeStats(typeList, archive->Root());
  DetectGame(*archive);
}

Details::~Details() {
  Destroy();
}

int Details::VisibleRows() const {
  return std::max(1, (app.ScreenHeight() - 37 - kListTop) / kRowHeight);
}

void Details::Init() {
  listener = std::make_unique<DetailsAL>(this);
  MakeScreenGui(app, gui, top);
  top->addMouseListener(listener.get());

  back = std::make_unique<SHR::But>(app.skin.get(), "Back");
  back->setSize(kButtonWidth, kButtonHeight);
  back->addActionListener(listener.get());
  top->add(back.get(), kBackX, kButtonRowY);

  next = std::make_unique<SHR::But>(app.skin.get(), "Next");
  next->setSize(kButtonWidth, kButtonHeight);
  next->addActionListener(listener.get());
  top->add(next.get(), kNextX, kButtonRowY);

  for (std::size_t i = 0; i < typeList.size(); ++i) {
    auto box = std::make_unique<SHR::CBox>(app.skin.get(), "");
    top->add(box.get(), 3, kListTop + kRowHeight * static_cast<int>(i));
    typeBoxes.push_back(std::move(box));
  }
  PlaceTypeBoxes();
  ShortenNames();

  pidBox = std::make_unique<SHR::CBox>(app.skin.get(), "");
  pidBox->addActionListener(listener.get());
  top->add(pidBox.get(), 190, 30);

  rectBox = std::make_unique<SHR::CBox>(app.skin.get(), "");
  rectBox->setEnabled(false);
  top->add(rectBox.get(), 210, 52);

  emptyFoldersBox = std::make_unique<SHR::CBox>(app.skin.get(), "");
  top->add(emptyFoldersBox.get(), 190, 74);

  xmiBox = std::make_unique<SHR::CBox>(app.skin.get(), "");
  top->add(xmiBox.get(), 190, 96);

  pcxBox = std::make_unique<SHR::CBox>(app.skin.get(), "");
  top->add(pcxBox.get(), 190, 118);

  if (kept) {
    for (std::size_t i = 0; i < typeList.size(); ++i)
      typeBoxes[i]->setSelected(IsTypeSelected(*kept, typeList[i].extension));
    pidBox->setSelected(kept->convertPid);
    rectBox->setEnabled(kept->convertPid);
    rectBox->setSelected(kept->rectConversion);
    emptyFoldersBox->setSelected(kept->extractEmptyFolders);
    xmiBox->setSelected(kept->convertXmi);
    pcxBox->setSelected(kept->convertPcx);
  }
}

void Details::Destroy() {
  if (gui) gui->setTop(nullptr);
  pcxBox.reset();
  xmiBox.reset();
  emptyFoldersBox.reset();
  rectBox.reset();
  pidBox.reset();
  typeBoxes.clear();
  next.reset();
  back.reset();
  top.reset();
  gui.reset();
  listener.reset();
}

bool Details::Think() {
  gui->logic();
  HandleAboutHotSpot(app);
  return false;
}

void Details::ScrollTypes(int rows) {
  const int last = std::max(0, static_cast<int>(typeList.size()) - VisibleRows());
  const int wanted = std::clamp(firstRow + rows, 0, last);
  if (wanted == firstRow) return;
  firstRow = wanted;
  PlaceTypeBoxes();
}

void Details::PlaceTypeBoxes() {
  const int visible = VisibleRows();
  for (std::size_t i = 0; i < typeBoxes.size(); ++i) {
    const int row = static_cast<int>(i) - firstRow;
    typeBoxes[i]->setPosition(3, kListTop + kRowHeight * row);
    // Rows scrolled out of the column are hidden, so they neither draw over
    // the title or the banner nor take clicks or the keyboard focus.
    typeBoxes[i]->setVisible(row >= 0 && row < visible);
  }
}

void Details::ShortenNames() {
  // The archive's name is shortened in the middle, so that the size after it
  // stays clear of the about icon.
  BitmapFont& font = *app.mainFont;
  const std::string sizePart = " (" + archiveSizeText + ")";
  const float sizeWidth = font.GetStringWidth(sizePart.c_str(), false);
  const BitmapFont::LiteralScope literal(font);
  const float room = kAboutIconX - 6 - (3 + font.GetStringWidth(kTitlePrefix, false)) - sizeWidth;
  shortFileName = ShortenMiddle(font, fileName, room);
  typeLabels.clear();
  for (const TypeStat& type : typeList) {
    const std::string name = PrintableName(text::Utf8FromWindows1252(type.extension));
    typeLabels.push_back(ShortenMiddle(font, name, 90) + (type.count < 2 ? "" : "s"));
  }
}

bool Details::InsideScrollTrack(int x, int y) const {
  return Scrollable() && x >= kScrollTrackLeft && x < kScrollTrackRight && y >= kListTop &&
         y < kListTop + VisibleRows() * kRowHeight;
}

void Details::DrawScrollBar() {
  const int rows = static_cast<int>(typeList.size());
  const int visible = VisibleRows();
  const float trackTop = kListTop;
  const float trackHeight = static_cast<float>(visible * kRowHeight);
  const float thumbTop = trackTop + trackHeight * firstRow / rows;
  const float thumbHeight = trackHeight * visible / rows;
  for (int x = kScrollTrackLeft; x < kScrollTrackRight; ++x) {
    const float lineX = static_cast<float>(x) + 0.5f;
    app.engine->Gfx_RenderLine(lineX, trackTop, lineX, trackTop + trackHeight, kDarkLine, 0.5f);
    app.engine->Gfx_RenderLine(lineX, thumbTop, lineX, thumbTop + thumbHeight, 0xFFA0A0A0, 0.5f);
  }
}

bool Details::Render() {
  HGE* engine = app.engine;
  const float width = static_cast<float>(app.ScreenWidth());
  const float bottom = static_cast<float>(app.ScreenHeight() - 37);
  gui->draw();

  engine->Gfx_RenderLine(181, 29, 181, bottom, kGreyLine, 0.5f);
  engine->Gfx_RenderLine(0, 29, width, 29, kGreyLine, 0.5f);
  engine->Gfx_RenderLine(180, 151, width, 151, kGreyLine, 0.5f);
  engine->Gfx_RenderLine(180, 28, 180, bottom, kDarkLine, 0.5f);
  engine->Gfx_RenderLine(0, 28, width, 28, kDarkLine, 0.5f);
  engine->Gfx_RenderLine(180, 150, width, 150, kDarkLine, 0.5f);

  DrawBanner(app);
  BitmapFont& font = *app.mainFont;
  font.SetColor(kWhite);
  float x = 3 + DrawLiteral(font, 3, 3, kTitlePrefix, kWhite);
  x += DrawLiteral(font, x, 3, shortFileName, kYellow);
  x += DrawLiteral(font, x, 3, " (", kWhite);
  x += DrawLiteral(font, x, 3, archiveSizeText, kGreen);
  DrawLiteral(font, x, 3, ")", kWhite);
  font.SetColor(kWhite);
  font.Render(3, 25, 0, "Which types extract?", false);

  const int visible = VisibleRows();
  for (std::size_t i = 0; i < typeList.size(); ++i) {
    const int row = static_cast<int>(i) - firstRow;
    if (row < 0 || row >= visible) continue;
    const TypeStat& type = typeList[i];
    const float y = static_cast<float>(kListTop + kRowHeight * row);
    app.art->typeIcons[SHR::TypeIconFor(type.extension)]->Render(22, y + 4);
    const float nameWidth = DrawLiteral(font, 40, y, typeLabels[i], kWhite);
    font.Printf(40 + nameWidth, y, 0, " (~y~%d~w~)", false, type.count);
  }
  if (Scrollable()) DrawScrollBar();

  font.Render(205, 30, 0, "Convert PID to PNG", false);
  font.Render(225, 52, 0, rectBox->isEnabled() ? "Rect conversion" : "~a~Rect conversion~w~",
              false);
  font.Render(205, 74, 0, "Extract empty folders", false);
  font.Render(205, 96, 0, "Convert XMI to MIDI", false);
  font.Render(205, 118, 0, "Convert PCX to PNG", false);

  std::vector<bool> ticked;
  for (const auto& box : typeBoxes) ticked.push_back(box->isSelected());
  const SelectedTotals totals = ComputeSelectedTotals(typeList, ticked);
  font.Printf(185, 152, 0, "~w~Files to extract: ~y~%d~w~", false,
              static_cast<int>(totals.fileCount));
  font.Printf(185, 174, 0, "Estimated size: ~y~%s~w~", false, SizeText(totals.totalSize).c_str());

  DrawAboutIcon(app);
  return false;
}

ExtractOptions Details::BuildOptions() const {
  std::vector<bool> selected;
  for (std::size_t i = 0; i < typeList.size(); ++i)
    selected.push_back(typeBoxes.at(i)->isSelected());
  ExtractOptions options = MakeExtractOptions(typeList, selected, pidBox->isSelected(),
                                              rectBox->isSelected(), emptyFoldersBox->isSelected());
  options.convertXmi = xmiBox->isSelected();
  options.convertPcx = pcxBox->isSelected();
  return options;
}

void Details::Confirm() {
  platform::ShowMessageBox(
      "Remember that you need at least " + SizeText(3 * archiveFileSize) +
          " free space on destination drive\nto ensure valid extraction. Otherwise extracted "
          "files may be corrupted or\nincomplete.",
      "Notice", platform::MessageBoxButtons::kOk, platform::MessageBoxIcon::kInformation);
  const platform::MessageBoxAnswer answer = platform::ShowMessageBox(
      "Archive will be now extracted. Are you sure you want to proceed?", "Notice",
      platform::MessageBoxButtons::kYesNo, platform::MessageBoxIcon::kQuestion);
  if (answer != platform::MessageBoxAnswer::kYes) return;
  ChangeState(std::make_unique<Extract>(app, sourcePath, destinationPath, archive, BuildOptions()));
}

}  // namespace State

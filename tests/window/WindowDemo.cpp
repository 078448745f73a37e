// Opens the program's real window and exercises the platform layer in it; run
// by window_test.sh under Xvfb.
//
//   window_demo screenshot OUT.png SECONDS   draws the demo screen for SECONDS,
//       saves its last frame and prints the driver, frames and CPU use
//   window_demo message-box COUNTFILE       shows a box from a worker thread,
//       writing into COUNTFILE how many frames ran while it was up
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "platform/Resources.h"
#include "platform/SdlEngine.h"
#include "support/SdlEngineProbe.h"
#include "text/BitmapFont.h"
#include "text/Sprite.h"

namespace {

SdlEngine* engine = nullptr;
HTEXTURE skin = 0;
std::unique_ptr<BitmapFont> font;
std::vector<std::unique_ptr<Sprite>> sprites;
Sprite *logo, *aboutIcon, *checkOff, *checkOn, *radioOff, *radioOn;
std::vector<Sprite*> fill, track, typeIcons, symbols;

Sprite* Piece(float x, float y, float w, float h) {
  sprites.push_back(std::make_unique<Sprite>(skin, x, y, w, h));
  return sprites.back().get();
}

void Fill(float x, float y, float w, float h, std::uint32_t argb) {
  hgeQuad quad;
  const float corners[4][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  for (int i = 0; i < 4; ++i) {
    quad.v[i].x = corners[i][0];
    quad.v[i].y = corners[i][1];
    quad.v[i].col = argb;
  }
  engine->Gfx_RenderQuad(&quad);
}

// A button face of the skin: left cap, stretched middle, right cap, caption.
struct Face {
  Sprite *left, *middle, *right;
};
std::vector<Face> faces;

void DrawButton(const Face& face, float x, float y, float width, const char* caption) {
  face.left->Render(x, y);
  face.middle->RenderStretch(x + 4, y, x + width - 4, y + 33);
  face.right->Render(x + width - 4, y);
  font->SetColor(0xFFFFFFFF);
  font->Render(x + width / 2, y + 5, BitmapFont::kCentre, caption);
}

bool DrawDemo() {
  engine->Gfx_BeginScene(0);
  Fill(0, 0, 600, 300, 0xFF2E3238);
  engine->Gfx_RenderLine(0, 28, 600, 28, 0xFF1F1F1F, 0.5f);
  engine->Gfx_RenderLine(0, 29, 600, 29, 0xFF5C5C5C, 0.5f);
  font->SetColor(0xFFFFFFFF);
  font->Render(3, 3, BitmapFont::kLeft, "Step 1/4: select source file and destination path");
  font->Render(5, 36, BitmapFont::kLeft,
               "~w~white ~y~yellow ~g~green ~r~red ~b~blue ~p~magenta ~a~grey ~l~black");
  font->Render(595, 62, BitmapFont::kRight, "~a~Size: ~y~27.3 MB~a~ in ~g~1523~a~ files");
  const char* labels[] = {"Next", "Hover", "Disabled", "Pressed"};
  for (std::size_t i = 0; i < faces.size(); ++i)
    DrawButton(faces[i], 5 + 110.0f * i, 92, 100, labels[i]);

  // Check boxes, radio knobs, the progress bar, file-type icons, symbols.
  checkOff->Render(460, 100);
  checkOn->Render(480, 100);
  radioOff->Render(500, 100);
  radioOn->Render(520, 100);
  fill[0]->Render(5, 140);
  fill[1]->RenderStretch(8, 140, 297, 171);
  fill[2]->Render(297, 140);
  track[0]->Render(300, 140);
  track[1]->RenderStretch(303, 140, 394, 171);
  track[2]->Render(394, 140);
  font->SetColor(0xFFFFFFFF);
  font->Render(200, 144, BitmapFont::kCentre, "~w~66%");
  for (int i = 0; i < 10; ++i) typeIcons[i]->Render(5 + 22.0f * i, 190);
  font->Render(230, 187, BitmapFont::kLeft, "~a~ten file-type icons");
  for (int i = 0; i < 3; ++i) symbols[i]->RenderStretch(420 + 40.0f * i, 180, 452 + 40.0f * i, 212);
  logo->Render(2, 263);
  aboutIcon->Render(581, 7);
  engine->Gfx_EndScene();
  return false;
}

bool LoadArtwork() {
  const auto atlas = platform::FindResource("Main", "PNG");
  const auto fontImage = platform::FindResource("Myriad20", "PNG");
  const auto fontDescriptor = platform::FindResource("Myriad20", "FNT");
  if (!atlas || !fontImage || !fontDescriptor) return false;
  skin = engine->Texture_Load(reinterpret_cast<const char*>(atlas->data),
                              static_cast<std::uint32_t>(atlas->size), false);
  const HTEXTURE fontTexture =
      engine->Texture_Load(reinterpret_cast<const char*>(fontImage->data),
                           static_cast<std::uint32_t>(fontImage->size), false);
  if (!skin || !fontTexture) return false;
  font = std::make_unique<BitmapFont>(reinterpret_cast<const char*>(fontDescriptor->data),
                                      static_cast<std::uint32_t>(fontDescriptor->size), fontTexture,
                                      true, 0, 0);
  const float buttonRows[4][3] = {{0, 4, 136}, {102, 106, 132}, {34, 38, 64}, {68, 72, 98}};
  for (int i = 0; i < 4; ++i) {
    const float y = i == 0 ? 6 : 39;
    faces.push_back({Piece(buttonRows[i][0], y, 4, 33), Piece(buttonRows[i][1], y, 4, 33),
                     Piece(buttonRows[i][2], y, 4, 33)});
  }
  logo = Piece(0, 455, 287, 35);
  aboutIcon = Piece(13, 138, 14, 14);
  checkOff = Piece(0, 105, 13, 13);
  checkOn = Piece(0, 118, 14, 13);
  radioOff = Piece(0, 131, 13, 14);
  radioOn = Piece(0, 145, 13, 14);
  fill = {Piece(50, 275, 3, 31), Piece(53, 275, 3, 31), Piece(59, 275, 3, 31)};
  track = {Piece(72, 275, 3, 31), Piece(64, 275, 3, 31), Piece(69, 275, 3, 31)};
  for (int i = 0; i < 10; ++i)
    typeIcons.push_back(Piece(50 + 16.0f * (i % 2), 338 + 16.0f * (i / 2), 16, 16));
  symbols = {Piece(320, 0, 64, 64), Piece(320, 69, 64, 64), Piece(384, 69, 64, 64)};
  return true;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Screenshot mode: CPU use is measured once start-up work (textures, the first
// frames) is over.
std::chrono::steady_clock::time_point measureFrom, stopAt;
bool measuring = false;
double cpuAtStart = 0;
std::chrono::steady_clock::time_point wallAtStart;
double idleCpuPercent = 0;

long frameCount = 0;

bool ScreenshotFrame() {
  ++frameCount;
  const auto now = std::chrono::steady_clock::now();
  if (!measuring && now >= measureFrom) {
    measuring = true;
    cpuAtStart = CpuSeconds();
    wallAtStart = now;
  }
  if (now >= stopAt) {
    const double wall = std::chrono::duration<double>(now - wallAtStart).count();
    idleCpuPercent = 100.0 * (CpuSeconds() - cpuAtStart) / wall;
    return true;
  }
  return false;
}

// Message-box mode.
std::string countFile;
std::atomic<bool> boxesDone{false};
std::atomic<long> frames{0}, framesWhileUp{0};
platform::MessageBoxAnswer first, second;
std::thread worker;

bool MessageBoxFrame() {
  ++frames;
  if (frames == 3) {
    HWND owner = engine->System_GetState(HGE_HWND);
    worker = std::thread([owner] {
      using namespace platform;
      first = ShowMessageBox(owner, "File exists. Overwrite?", "Question",
                             MessageBoxButtons::kYesNoCancel, MessageBoxIcon::kQuestion);
      second = ShowMessageBox(owner, "Could not save the picture.", "DevIL error",
                              MessageBoxButtons::kCancelTryContinue, MessageBoxIcon::kNone);
      boxesDone = true;
    });
  }
  if (platform::IsModalActive()) {
    ++framesWhileUp;
    std::ofstream(countFile, std::ios::trunc) << framesWhileUp << "\n";
  }
  return boxesDone.load();
}

const char* AnswerName(platform::MessageBoxAnswer answer) {
  using A = platform::MessageBoxAnswer;
  switch (answer) {
    case A::kOk:
      return "OK";
    case A::kCancel:
      return "Cancel";
    case A::kYes:
      return "Yes";
    case A::kNo:
      return "No";
    case A::kTryAgain:
      return "TryAgain";
    case A::kContinue:
      return "Continue";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_demo screenshot OUT.png SECONDS | message-box FILE\n");
    return 2;
  }
  const std::string mode = argv[1];
  // Sprites and the font reach the engine through hgeCreate: it must be this one.
  auto owned = std::make_unique<SdlEngine>();
  engine = owned.get();
  hgeInstall(std::move(owned));
  engine->System_SetState(HGE_FRAMEFUNC, mode == "screenshot" ? ScreenshotFrame : MessageBoxFrame);
  engine->System_SetState(HGE_RENDERFUNC, DrawDemo);
  engine->System_SetState(HGE_SCREENWIDTH, 600);
  engine->System_SetState(HGE_SCREENHEIGHT, 300);
  engine->System_SetState(HGE_TITLE, "Tarnwick 1.1a");
  engine->System_SetState(HGE_WINDOWED, true);
  engine->System_SetState(HGE_USESOUND, false);
  engine->System_SetState(HGE_SHOWSPLASH, false);
  engine->System_SetState(HGE_ICON, 100);
  engine->System_SetState(HGE_TEXTUREFILTER, false);
  engine->System_SetState(HGE_FPS, 30);
  engine->System_SetState(HGE_DONTSUSPEND, true);
  engine->System_SetState(HGE_HIDEMOUSE, false);
  if (!engine->System_Initiate()) {
    platform::ShowMessageBox(nullptr, engine->System_GetErrorMessage(), "Fatal error",
                             platform::MessageBoxButtons::kOk, platform::MessageBoxIcon::kError);
    return 3;
  }
  if (!LoadArtwork()) {
    platform::ShowMessageBox(nullptr, "Executable is corrupted. Please reinstall Tarnwick.",
                             "Fatal error", platform::MessageBoxButtons::kOk,
                             platform::MessageBoxIcon::kError);
    return 1;
  }

  if (mode == "screenshot") {
    const double seconds = argc > 3 ? std::atof(argv[3]) : 3.0;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    measureFrom = start + std::chrono::seconds(1);
    stopAt = start + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(std::max(seconds, 2.0)));
    engine->System_Start();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("driver=%s renderer=%s frames=%ld seconds=%.2f idle_cpu_percent=%.2f\n",
                SdlEngineProbe::VideoDriver(*engine).c_str(),
                SdlEngineProbe::RendererName(*engine).c_str(), frameCount, wall, idleCpuPercent);
    if (!SdlEngineProbe::SaveShownFrame(*engine, argv[2])) return 4;
  } else {
    countFile = argv[2];
    engine->System_Start();
    worker.join();
    std::printf("driver=%s first=%s second=%s frames_while_up=%ld\n",
                SdlEngineProbe::VideoDriver(*engine).c_str(), AnswerName(first), AnswerName(second),
                framesWhileUp.load());
  }
  font.reset();
  sprites.clear();
  engine->System_Shutdown();
  hgeInstall(nullptr);
  return 0;
}

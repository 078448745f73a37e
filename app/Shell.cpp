#include "app/Shell.h"

#include <cstdio>
#include <cstdlib>
#include <guichan/image.hpp>
#include <guichan/widget.hpp>
#include <string>
#include <utility>

#include "app/AppContext.h"
#include "app/FileChooser.h"
#include "app/GuiQuestions.h"
#include "app/InWindowBoxes.h"
#include "app/StateManager.h"
#include "app/states/Select.h"
#include "convert/ImageConversion.h"
#include "gcnWidgets/wSkin.h"
#include "platform/FileDialog.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEImage.h"
#include "platform/HGEInput.h"
#include "platform/MessageBox.h"
#include "text/BitmapFont.h"
#include "text/HGEImageFont.h"

namespace {

// The engine calls back through plain functions; they reach the one running
// program through this.
AppContext* running = nullptr;

bool FrameFunc() {
  const bool end = running->states->RunFrame();
  if (running->boxes) running->boxes->ServeWorkers();
  return end;
}
bool RenderFunc() {
  if (running->boxes && running->boxes->Render()) return false;
  return running->states->RunRender();
}
bool ExitFunc() {
  return running->states->RunExit();
}

// Before the window and the font exist no box can be drawn: the box's
// stand-in on standard error is then the one message the user gets.
void FatalError(const std::string& text) {
  platform::ShowMessageBox(text, "Fatal error", platform::MessageBoxButtons::kOk,
                           platform::MessageBoxIcon::kError);
}

// Waits for cancelled workers to reach their next pause point. A worker that
// waits for the answer to a question has not begun the file it asks about,
// so there is no point in waiting for it; neither is there beyond a minute.
bool StopWorkers(WorkerThreads& workers) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!workers.WaitAll(std::chrono::milliseconds(50))) {
    if (GuiQuestions::OpenQuestions() > 0 || std::chrono::steady_clock::now() > deadline)
      return false;
  }
  return true;
}

}  // namespace

AppContext::AppContext() = default;

AppContext::~AppContext() {
  // The screens go first: their widgets refer to the skin and the fonts.
  states.reset();
  gcn::Widget::setGlobalFont(nullptr);
  gcn::Image::setImageLoader(nullptr);
}

StartUpResult StartUp(AppContext& app, const ResourceFinder& find) {
  HGE* engine = app.engine = hgeCreate(HGE_VERSION);
  running = &app;
  engine->System_SetState(HGE_FRAMEFUNC, FrameFunc);
  engine->System_SetState(HGE_RENDERFUNC, RenderFunc);
  engine->System_SetState(HGE_EXITFUNC, ExitFunc);
  engine->System_SetState(HGE_SCREENWIDTH, 600);
  engine->System_SetState(HGE_SCREENHEIGHT, 300);
  engine->System_SetState(HGE_TITLE, kProductTitle);
  engine->System_SetState(HGE_WINDOWED, true);
  engine->System_SetState(HGE_USESOUND, false);
  engine->System_SetState(HGE_SHOWSPLASH, false);
  engine->System_SetState(HGE_ICON, 100);
  engine->System_SetState(HGE_TEXTUREFILTER, false);
  engine->System_SetState(HGE_FPS, 30);
  engine->System_SetState(HGE_DONTSUSPEND, true);
  engine->System_SetState(HGE_HIDEMOUSE, false);

  if (!engine->System_Initiate()) {
    FatalError(engine->System_GetErrorMessage());
    return StartUpResult::EngineFailed;
  }

  app.states = std::make_unique<StateManager>();

  const auto skinBytes = find("Main", "PNG");
  if (!skinBytes) {
    FatalError(kCorruptedExecutable);
    return StartUpResult::ResourceMissing;
  }
  app.skinTexture = engine->Texture_Load(reinterpret_cast<const char*>(skinBytes->data),
                                         static_cast<std::uint32_t>(skinBytes->size), false);

  const auto fontImage = find("Myriad20", "PNG");
  const auto fontDescriptor = find("Myriad20", "FNT");
  if (!fontImage || !fontDescriptor) {
    FatalError(kCorruptedExecutable);
    return StartUpResult::ResourceMissing;
  }
  const HTEXTURE fontTexture =
      engine->Texture_Load(reinterpret_cast<const char*>(fontImage->data),
                           static_cast<std::uint32_t>(fontImage->size), false);
  app.mainFont = std::make_unique<BitmapFont>(reinterpret_cast<const char*>(fontDescriptor->data),
                                              static_cast<std::uint32_t>(fontDescriptor->size),
                                              fontTexture, true, 0, 0);

  app.art = SHR::CutScreenArt(app.skinTexture);
  app.imageLoader = std::make_unique<gcn::HGEImageLoader>();
  gcn::Image::setImageLoader(app.imageLoader.get());
  app.guiGraphics = std::make_unique<gcn::HGEGraphics>();
  app.guiInput = std::make_unique<gcn::HGEInput>();
  app.skin = SHR::CutSkin(app.skinTexture);
  SHR::AttachFonts(*app.skin, app.mainFont.get());
  gcn::Widget::setGlobalFont(app.skin->guiFonts[0].get());

  InitImageLibrary();

  app.states->RequestPush(std::make_unique<State::Select>(app));
  return StartUpResult::Ready;
}

int RunProgram(const ResourceFinder& find, std::optional<std::string> initialSource) {
  HGE* engine = nullptr;
  int exitCode = 0;
  bool workersEnded = true;
  {
    AppContext app;
    app.initialSource = std::move(initialSource);
    const StartUpResult result = StartUp(app, find);
    engine = app.engine;
    if (result == StartUpResult::Ready) {
      // Closing the window while a box is up: the box takes its safe answer,
      // the workers stop at their next pause point, and the frame loop ends
      // on the close it has still to see.
      app.boxes = std::make_unique<InWindowBoxes>(app, [&app] { app.workers.CancelAll(); });
      InWindowBoxes* boxes = app.boxes.get();
      platform::SetMessageBoxAnswerer(
          [boxes](const platform::MessageBoxRequest& request) { return boxes->Answer(request); });
      platform::SetBuiltInChooser([&app](const platform::OpenFileOptions& options) {
        return RunFileChooser(app, options);
      });
      engine->System_Start();
      platform::SetBuiltInChooser(nullptr);
      // Nobody sees a box from now on: a worker's last question takes its
      // safe answer.
      app.boxes->Close();
      // Closing the window may end the program in the middle of an
      // extraction: the worker stops before its next file, so no file is
      // left half-written.
      app.workers.CancelAll();
      workersEnded = StopWorkers(app.workers);
    }
    if (result != StartUpResult::Ready) exitCode = 1;
    if (!workersEnded) {
      // A worker still waits for the answer to a question; it has not begun
      // the file it asks about, and no orderly teardown can wait for it.
      engine->System_Shutdown();
      engine->Release();
      std::fflush(stdout);
      std::_Exit(exitCode);
    }
    // The screens, fonts and textures go while the engine still runs.
    platform::SetMessageBoxAnswerer(nullptr);
  }
  engine->System_Shutdown();
  engine->Release();
  return exitCode;
}

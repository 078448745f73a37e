#include "AppHarness.h"

#include <algorithm>
#include <map>
#include <thread>

#include "support/PidBuilder.h"
#include "support/RezBuilder.h"
#include "text/BitmapFont.h"

namespace apptest {

void WriteSmallArchive(const std::filesystem::path& path) {
  using rezbuild::FileNode, rezbuild::Folder;
  const std::vector<std::uint8_t> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const auto palette = FileNode("MAIN", "PAL", std::vector<unsigned char>(768, 7));
  const auto picture = FileNode("FRAME", "PID", pidbuild::Picture(4, 3, indices, false));
  const auto sounds =
      Folder("SOUNDS", {FileNode("A", "WAV", "sound a"), FileNode("B", "WAV", "sound bb")});
  rezbuild::Write(
      path,
      Folder("ROOT", {FileNode("README", "TXT", "hello\n"),
                      Folder("CLAW", {Folder("PALETTES", {palette}), Folder("IMAGES", {picture}),
                                      sounds, Folder("LOWER", {FileNode("c", "wav", "lower")})})}));
}

AppHarness::AppHarness() : engine(new RecordingEngine) {
  hgeInstall(std::unique_ptr<HGE>(engine));
  StartUp(app, platform::FindResource);
}

AppHarness::~AppHarness() {
  boxes.Release();
  app.workers.CancelAll();
  app.workers.WaitAll(std::chrono::seconds(30));
}

bool AppHarness::Frame() {
  engine->ClearCalls();
  const bool end = app.states->RunFrame();
  app.states->RunRender();
  engine->NextFrame();
  return end;
}

bool AppHarness::FramesUntil(const std::function<bool()>& condition, int maxFrames) {
  for (int i = 0; i < maxFrames && !condition(); ++i) {
    Frame();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return condition();
}

void AppHarness::Show(std::unique_ptr<SHR::cState> state) {
  app.states->RequestChange(std::move(state)), Frame();
}

void AppHarness::Queue(int type, float x, float y, int key, int character) {
  engine->QueueEvent({type, key, 0, character, 0, x, y});
  if (type == INPUT_MOUSEMOVE) engine->SetMousePos(x, y);
}

bool AppHarness::Click(float x, float y) {
  Queue(INPUT_MOUSEMOVE, x, y);
  Queue(INPUT_MBUTTONDOWN, x, y, HGEK_LBUTTON);
  engine->PressKey(HGEK_LBUTTON);
  Frame();
  Queue(INPUT_MBUTTONUP, x, y, HGEK_LBUTTON);
  return Frame();
}

void AppHarness::Key(int key, int character) {
  Queue(INPUT_KEYDOWN, 0, 0, key, character), Queue(INPUT_KEYUP, 0, 0, key), Frame();
}

std::string AppHarness::TextStartingWith(const std::string& prefix) const {
  // Glyphs are told apart by where their cells lie in the font texture.
  const BitmapFont& font = *app.mainFont;
  std::map<std::pair<float, float>, char> glyphAt;
  for (int code = 255; code >= 0; --code)
    if (const Sprite* glyph = font.GetSprite(static_cast<unsigned char>(code)))
      glyphAt[{glyph->GetQuad().v[0].tx, glyph->GetQuad().v[0].ty}] = static_cast<char>(code);
  std::vector<std::string> texts;
  float lastY = -1, lastRight = -100;
  for (const hgeQuad& quad : engine->quads) {
    const hgeVertex& corner = quad.v[0];
    const auto glyph =
        quad.tex == font.GetTexture() ? glyphAt.find({corner.tx, corner.ty}) : glyphAt.end();
    if (glyph == glyphAt.end()) {
      lastY = -1;
      continue;
    }
    if (texts.empty() || corner.y != lastY || corner.x < lastRight - 1 || corner.x > lastRight + 20)
      texts.emplace_back();
    texts.back() += glyph->second;
    lastY = corner.y;
    lastRight = quad.v[1].x;
  }
  for (const std::string& text : texts)
    if (text.rfind(prefix, 0) == 0) return text;
  ADD_FAILURE() << "no text starting with \"" << prefix << "\" was drawn";
  return {};
}

}  // namespace apptest

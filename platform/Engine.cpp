#include <mutex>

#include "platform/SdlEngine.h"
#include "platform/hge.h"

namespace {
std::mutex engineLock;
std::unique_ptr<HGE>& TheEngine() {
  static std::unique_ptr<HGE> engine;
  return engine;
}
}  // namespace

HGE* hgeCreate(int version) {
  if (version != HGE_VERSION) return nullptr;
  std::lock_guard<std::mutex> guard(engineLock);
  auto& engine = TheEngine();
  if (!engine) engine = std::make_unique<SdlEngine>();
  return engine.get();
}

void hgeInstall(std::unique_ptr<HGE> engine) {
  std::lock_guard<std::mutex> guard(engineLock);
  TheEngine() = std::move(engine);
}

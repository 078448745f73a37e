#include "app/StateManager.h"

#include <utility>

#include "platform/hge.h"

StateManager::StateManager(HGE* engine) : engine(engine) {}

StateManager::~StateManager() {
  for (auto& state : stack) {
    state->Destroy();
    state.reset();
  }
}

void StateManager::RequestPush(std::unique_ptr<SHR::cState> state) {
  // A change already asked for takes the newer state instead.
  if (request.kind != Request::kChange) request.kind = Request::kPush;
  request.state = std::move(state);
}

void StateManager::RequestPop(int result) {
  if (request.kind == Request::kChange) return;  // the change replaces the top anyway
  request.pop = true;
  request.popResult = result;
}

void StateManager::RequestChange(std::unique_ptr<SHR::cState> state) {
  request.kind = Request::kChange;
  request.state = std::move(state);
  request.pop = false;
}

void StateManager::DestroyTop() {
  // Taken off the stack first, so that whatever Destroy asks of the manager
  // never sees a half-destroyed top.
  std::unique_ptr<SHR::cState> top = std::move(stack.back());
  stack.pop_back();
  top->Destroy();
}

void StateManager::Activate(std::unique_ptr<SHR::cState> state) {
  stack.push_back(std::move(state));
  SHR::cState* top = stack.back().get();
  top->manager = this;
  top->active = true;
  top->Init();
}

void StateManager::Carry(Request taken) {
  if (taken.kind == Request::kChange) {
    if (!taken.state) return;
    // With nothing to replace, the new state is simply pushed.
    if (!stack.empty()) DestroyTop();
    return Activate(std::move(taken.state));
  }
  if (taken.pop && !stack.empty()) {
    DestroyTop();
    if (!stack.empty()) {
      stack.back()->active = true;
      stack.back()->Resume(taken.popResult);
    }
  }
  if (taken.kind == Request::kPush && taken.state) {
    if (!stack.empty()) stack.back()->active = false;
    Activate(std::move(taken.state));
  }
}

bool StateManager::RunFrame() {
  // Init, Resume and Destroy may ask for more; those run in this frame too.
  while (request.kind != Request::kNone || request.pop) Carry(std::exchange(request, Request{}));
  return stack.empty() ? false : stack.back()->Think();
}

bool StateManager::RunRender() {
  if (stack.empty()) return false;
  SHR::cState* top = stack.back().get();
  SHR::cState* beneath =
      !top->IsOpaque() && stack.size() >= 2 ? stack[stack.size() - 2].get() : nullptr;
  if (beneath) beneath->PreRender();
  top->PreRender();
  HGE* hge = engine ? engine : hgeCreate(HGE_VERSION);
  hge->Gfx_BeginScene(0);
  const bool beneathResult = beneath ? beneath->Render() : false;
  const bool topResult = top->Render();
  hge->Gfx_EndScene();
  return beneathResult || topResult;
}

bool StateManager::RunExit() {
  return stack.empty() ? true : stack.back()->CanExit();
}

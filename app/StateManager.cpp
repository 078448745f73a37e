#include "app/StateManager.h"

#include "platform/hge.h"

StateManager::StateManager(HGE* engine) : engine(engine) {}

StateManager::~StateManager() {
  for (auto& state : stack) {
    state->Destroy();
    state.reset();
  }
}

void StateManager::RequestPush(std::unique_ptr<SHR::cState> state) {
  pushRequested = true;
  pending = std::move(state);
}

void StateManager::RequestPop(int result) {
  popRequested = true;
  popResult = result;
}

void StateManager::RequestChange(std::unique_ptr<SHR::cState> state) {
  changeRequested = true;
  pending = std::move(state);
}

void StateManager::DestroyTop() {
  // Taken off the stack first, so that whatever Destroy asks of the manager
  // never sees a half-destroyed top.
  std::unique_ptr<SHR::cState> top = std::move(stack.back());
  stack.pop_back();
  top->Destroy();
}

bool StateManager::RunFrame() {
  while (pushRequested || popRequested || changeRequested) {
    if (changeRequested) {
      changeRequested = popRequested = pushRequested = false;
      std::unique_ptr<SHR::cState> next = std::move(pending);
      if (next) {
        // With nothing to replace, the new state is simply pushed.
        if (!stack.empty()) DestroyTop();
        stack.push_back(std::move(next));
        SHR::cState* state = stack.back().get();
        state->manager = this;
        state->active = true;
        state->Init();
      }
    }
    if (popRequested) {
      popRequested = false;
      if (!stack.empty()) {
        DestroyTop();
        if (!stack.empty()) {
          stack.back()->active = true;
          stack.back()->Resume(popResult);
        }
      }
    }
    if (pushRequested) {
      pushRequested = false;
      std::unique_ptr<SHR::cState> next = std::move(pending);
      if (next) {
        if (!stack.empty()) stack.back()->active = false;
        stack.push_back(std::move(next));
        SHR::cState* state = stack.back().get();
        state->active = true;
        state->manager = this;
        state->Init();
      }
    }
  }
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

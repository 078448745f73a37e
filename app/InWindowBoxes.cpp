#include "app/InWindowBoxes.h"

#include "app/AppContext.h"
#include "app/MessageBoxView.h"
#include "app/StateManager.h"
#include "app/cState.h"

InWindowBoxes::InWindowBoxes(AppContext& app, std::function<void()> whenClosed)
    : app(app), whenClosed(std::move(whenClosed)), mainThread(std::this_thread::get_id()) {}

InWindowBoxes::~InWindowBoxes() {
  Close();
}

platform::MessageBoxAnswer InWindowBoxes::Answer(const platform::MessageBoxRequest& request) {
  if (std::this_thread::get_id() == mainThread) return RunModal(request);
  std::unique_lock<std::mutex> guard(lock);
  if (closed) return request.safeAnswer;
  Waiting mine{&request, std::nullopt};
  waiting.push_back(&mine);
  answered.wait(guard, [&] { return mine.answer.has_value(); });
  return *mine.answer;
}

void InWindowBoxes::ServeWorkers() {
  for (;;) {
    Waiting* next = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock);
      if (waiting.empty()) return;
      next = waiting.front();
      waiting.pop_front();
    }
    const platform::MessageBoxAnswer answer = RunModal(*next->request);
    {
      std::lock_guard<std::mutex> guard(lock);
      next->answer = answer;
    }
    answered.notify_all();
  }
}

platform::MessageBoxAnswer InWindowBoxes::RunModal(const platform::MessageBoxRequest& request) {
  if (Closed()) return request.safeAnswer;
  MessageBoxView view(app, request);
  MessageBoxView* outer = shown;
  shown = &view;
  std::optional<platform::MessageBoxAnswer> answer;
  HGE* engine = app.engine;
  while (!answer) {
    engine->System_Redraw();
    if (engine->System_NextModalFrame()) {
      // The window's close button: the safe answer, and the program ends.
      Close();
      answer = request.safeAnswer;
      break;
    }
    hgeInputEvent event;
    while (engine->Input_GetEvent(&event))
      if (!answer) answer = view.Handle(event);
  }
  shown = outer;
  return *answer;
}

bool InWindowBoxes::Render() {
  if (!shown) return false;
  HGE* engine = app.engine;
  if (!engine->Gfx_BeginScene(0)) return true;
  if (SHR::cState* top = app.states ? app.states->Top() : nullptr) top->Render();
  shown->Draw();
  engine->Gfx_EndScene();
  return true;
}

void InWindowBoxes::Close() {
  if (!Closed() && whenClosed) whenClosed();
  {
    std::lock_guard<std::mutex> guard(lock);
    closed = true;
    for (Waiting* each : waiting) each->answer = each->request->safeAnswer;
    waiting.clear();
  }
  answered.notify_all();
}

bool InWindowBoxes::Closed() const {
  std::lock_guard<std::mutex> guard(lock);
  return closed;
}

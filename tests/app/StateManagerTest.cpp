#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/StateManager.h"
#include "support/RecordingEngine.h"

namespace {

using Journal = std::vector<std::string>;

// A state that writes every call the manager makes into a shared journal.
class ProbeState : public SHR::cState {
 public:
  ProbeState(std::string name, Journal& journal, RecordingEngine& engine)
      : name(std::move(name)), journal(journal), engine(engine) {}
  ~ProbeState() override { Note("deleted"); }
  bool IsOpaque() override { return opaque; }
  void Init() override {
    Note("Init");
    if (onInit) onInit(*this);
  }
  void Destroy() override { Note("Destroy"); }
  bool Think() override {
    Note("Think");
    if (onThink) onThink(*this);
    return thinkResult;
  }
  // Drawing must happen inside the scene, preparing before it.
  bool Render() override {
    Note(engine.scenesBegun == engine.scenesEnded + 1 ? "Render" : "Render outside the scene");
    return renderResult;
  }
  void Resume(int result) override { Note("Resume " + std::to_string(result)); }
  void PreRender() override {
    Note(engine.scenesBegun == engine.scenesEnded ? "PreRender" : "PreRender inside the scene");
  }
  bool CanExit() override { return Note("CanExit"), canExit; }
  std::unique_ptr<ProbeState> Make(const std::string& other) {
    return std::make_unique<ProbeState>(other, journal, engine);
  }

  std::string name;
  Journal& journal;
  RecordingEngine& engine;
  bool opaque = false, thinkResult = false, renderResult = false, canExit = true;
  std::function<void(ProbeState&)> onInit, onThink;

 private:
  void Note(const std::string& what) { journal.push_back(name + ":" + what); }
};

class StateManagerTest : public ::testing::Test {
 protected:
  std::unique_ptr<ProbeState> Make(const std::string& name) {
    return std::make_unique<ProbeState>(name, journal, engine);
  }
  // Pushes a state and runs the frame that brings it up; the journal starts empty after.
  ProbeState* PushAndRun(const std::string& name) {
    auto state = Make(name);
    ProbeState* raw = state.get();
    states.RequestPush(std::move(state));
    states.RunFrame();
    journal.clear();
    return raw;
  }
  Journal Taken() { return std::exchange(journal, {}); }  // the journal since the last call

  Journal journal;
  RecordingEngine engine;
  StateManager states{&engine};
};

TEST_F(StateManagerTest, RequestsTakeEffectAtTheNextFrameInOrder) {
  auto first = Make("A");
  first->thinkResult = true;
  ProbeState* a = first.get();
  // Requests made by Init are carried out in the same frame.
  a->onInit = [](ProbeState& self) { self.manager->RequestPush(self.Make("B")); };
  states.RequestPush(std::move(first));
  EXPECT_EQ(states.Depth(), 0u);
  EXPECT_FALSE(states.RunFrame());  // the top's Think decides the frame's result
  EXPECT_EQ(Taken(), (Journal{"A:Init", "B:Init", "B:Think"}));
  EXPECT_FALSE(a->active);
  EXPECT_EQ(a->manager, &states);

  // Pop resumes the state beneath with the result.
  static_cast<ProbeState*>(states.Top())->PopState(42);
  EXPECT_TRUE(states.RunFrame());
  EXPECT_EQ(Taken(), (Journal{"B:Destroy", "B:deleted", "A:Resume 42", "A:Think"}));
  EXPECT_TRUE(a->active);

  // A change asked for in Think waits for the next frame; the old state still draws.
  a->onThink = [](ProbeState& self) { self.ChangeState(self.Make("C")); };
  states.RunFrame();
  states.RunRender();
  EXPECT_EQ(Taken(), (Journal{"A:Think", "A:PreRender", "A:Render"}));
  states.RunFrame();
  EXPECT_EQ(Taken(), (Journal{"A:Destroy", "A:deleted", "C:Init", "C:Think"}));
  EXPECT_EQ(states.Depth(), 1u);
  EXPECT_TRUE(states.Top()->active);
}

TEST_F(StateManagerTest, ChangeOverridesAPendingPushOrPopAndPopRunsBeforeAPush) {
  PushAndRun("A");
  states.RequestPush(Make("pushed"));
  states.RequestChange(Make("changed"));
  states.RunFrame();
  // The pushed state never became part of the stack: freed without Init or Destroy.
  EXPECT_EQ(Taken(),
            (Journal{"pushed:deleted", "A:Destroy", "A:deleted", "changed:Init", "changed:Think"}));
  PushAndRun("B");
  states.RequestPop(7);
  states.RequestChange(Make("C"));
  states.RunFrame();
  EXPECT_EQ(Taken(), (Journal{"B:Destroy", "B:deleted", "C:Init", "C:Think"}));
  EXPECT_EQ(states.Depth(), 2u);
  states.RequestPush(Make("D"));
  states.RequestPop(1);
  states.RunFrame();
  EXPECT_EQ(Taken(), (Journal{"C:Destroy", "C:deleted", "changed:Resume 1", "D:Init", "D:Think"}));
}

TEST_F(StateManagerTest, TheTopIsDrawnOverOnlyTheStateBeneathUnlessOpaqueAndDecidesExit) {
  ProbeState* a = PushAndRun("A");
  ProbeState* b = PushAndRun("B");
  EXPECT_FALSE(states.RunRender());
  EXPECT_EQ(Taken(), (Journal{"A:PreRender", "B:PreRender", "A:Render", "B:Render"}));
  EXPECT_EQ(engine.scenesEnded, 1);
  a->renderResult = true;  // either drawn state may end the loop
  EXPECT_TRUE(states.RunRender());
  ProbeState* c = PushAndRun("C");
  EXPECT_FALSE(states.RunRender());
  EXPECT_EQ(Taken(), (Journal{"B:PreRender", "C:PreRender", "B:Render", "C:Render"}));
  c->opaque = true;
  b->renderResult = true;  // hidden, so it has no say
  EXPECT_FALSE(states.RunRender());
  EXPECT_EQ(Taken(), (Journal{"C:PreRender", "C:Render"}));
  c->canExit = false;
  EXPECT_FALSE(states.RunExit());
  c->canExit = true;
  EXPECT_TRUE(states.RunExit());
  EXPECT_EQ(Taken(), (Journal{"C:CanExit", "C:CanExit"}));
}

}  // namespace

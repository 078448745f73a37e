#include "app/cState.h"

#include "app/StateManager.h"

namespace SHR {

void cState::ChangeState(std::unique_ptr<cState> next) {
  if (manager) manager->RequestChange(std::move(next));
}

void cState::PopState(int result) {
  if (manager) manager->RequestPop(result);
}

}  // namespace SHR

#include "platform/Modal.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<int> openDialogs{0};
}

bool IsModalActive() {
  return openDialogs.load() > 0;
}

ModalScope::ModalScope() {
  ++openDialogs;
}

ModalScope::~ModalScope() {
  --openDialogs;
}

}  // namespace platform

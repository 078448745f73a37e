// While a message box or the file chooser is up, the main window ignores input,
// as an owner window does while a modal dialog of its own is open.
#pragma once

namespace platform {

// True while at least one modal dialog is open anywhere in the process.
bool IsModalActive();

// Marks a modal dialog open for its lifetime; usable from any thread.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace platform

// Which kinds of display the environment names: the program asks the desktop
// for nothing (a window, a chooser, a file manager) when it names none.
#pragma once

#include <cstdlib>

namespace platform {

struct NamedDisplays {
  bool x11;      // DISPLAY is set and not empty
  bool wayland;  // WAYLAND_DISPLAY is set and not empty
  bool Any() const { return x11 || wayland; }
};

inline NamedDisplays DisplaysNamed() {
  const auto named = [](const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
  };
  return {named("DISPLAY"), named("WAYLAND_DISPLAY")};
}

}  // namespace platform

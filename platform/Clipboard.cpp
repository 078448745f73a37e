#include "platform/Clipboard.h"

#include <SDL.h>

std::string platform::ReadClipboardText() {
  char* text = SDL_GetClipboardText();
  if (!text) return {};
  std::string result(text);
  SDL_free(text);
  return result;
}

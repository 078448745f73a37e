#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/Modal.h"

namespace platform {
namespace {

std::mutex answererLock;
MessageBoxAnswerer& Answerer() {
  static MessageBoxAnswerer answerer;
  return answerer;
}

bool IsValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t more;
    if (lead < 0x80) {
      more = 0;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      more = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      more = 2;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      more = 3;
    } else {
      return false;
    }
    if (text.size() - i < more + 1) return false;
    for (std::size_t k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += more + 1;
  }
  return true;
}

// Unicode of Windows-1252 bytes 0x80-0x9F; 0 where the code page has none.
const unsigned short kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned int code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

Uint32 IconFlags(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kError:
      return SDL_MESSAGEBOX_ERROR;
    case MessageBoxIcon::kWarning:
      return SDL_MESSAGEBOX_WARNING;
    case MessageBoxIcon::kInformation:
    case MessageBoxIcon::kQuestion:
      return SDL_MESSAGEBOX_INFORMATION;
    case MessageBoxIcon::kNone:
      break;
  }
  return 0;
}

// Only a window of the X11 driver can own an SDL box: SDL reads any other
// window's data as if it were an X11 window.
SDL_Window* UsableOwner(HWND owner) {
  if (!owner || !SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "x11") == 0 ? static_cast<SDL_Window*>(owner) : nullptr;
}

MessageBoxAnswer ShowSdlBox(const MessageBoxRequest& request) {
  const std::vector<MessageBoxButton> buttons = ButtonsOf(request.buttons);
  std::vector<SDL_MessageBoxButtonData> sdlButtons;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    Uint32 flags = 0;
    if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (buttons[i].answer == EscapeAnswer(request.buttons))
      flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    sdlButtons.push_back({flags, static_cast<int>(i), buttons[i].label});
  }
  const std::string text = DisplayText(request.text);
  const std::string title = DisplayText(request.title);
  SDL_MessageBoxData data{};
  data.flags = IconFlags(request.icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  data.window = UsableOwner(request.owner);
  data.title = title.c_str();
  data.message = text.c_str();
  data.numbuttons = static_cast<int>(sdlButtons.size());
  data.buttons = sdlButtons.data();
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) {
    // Nobody can see a box: the terminal is the last place left to tell the user.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return EscapeAnswer(request.buttons);
  }
  if (pressed < 0 || static_cast<std::size_t>(pressed) >= buttons.size())
    return EscapeAnswer(request.buttons);  // closed without a button
  return buttons[pressed].answer;
}

}  // namespace

std::vector<MessageBoxButton> ButtonsOf(MessageBoxButtons buttons) {
  using A = MessageBoxAnswer;
  switch (buttons) {
    case MessageBoxButtons::kOk:
      return {{"OK", A::kOk}};
    case MessageBoxButtons::kYesNo:
      return {{"Yes", A::kYes}, {"No", A::kNo}};
    case MessageBoxButtons::kYesNoCancel:
      return {{"Yes", A::kYes}, {"No", A::kNo}, {"Cancel", A::kCancel}};
    case MessageBoxButtons::kCancelTryContinue:
      return {{"Cancel", A::kCancel}, {"Try Again", A::kTryAgain}, {"Continue", A::kContinue}};
  }
  return {{"OK", A::kOk}};
}

MessageBoxAnswer ReturnAnswer(MessageBoxButtons buttons) {
  return ButtonsOf(buttons)[0].answer;
}

MessageBoxAnswer EscapeAnswer(MessageBoxButtons buttons) {
  switch (buttons) {
    case MessageBoxButtons::kOk:
      return MessageBoxAnswer::kOk;
    case MessageBoxButtons::kYesNo:
      return MessageBoxAnswer::kNo;
    case MessageBoxButtons::kYesNoCancel:
    case MessageBoxButtons::kCancelTryContinue:
      return MessageBoxAnswer::kCancel;
  }
  return MessageBoxAnswer::kCancel;
}

std::string DisplayText(const std::string& text) {
  if (IsValidUtf8(text)) return text;
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0xA0) {
      const unsigned int code = kWindows1252High[byte - 0x80];
      AppendUtf8(out, code ? code : '?');
    } else {
      AppendUtf8(out, byte);
    }
  }
  return out;
}

MessageBoxAnswer ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                                MessageBoxButtons buttons, MessageBoxIcon icon) {
  const MessageBoxRequest request{owner, text, title, buttons, icon};
  ModalScope modal;
  MessageBoxAnswerer answerer;
  {
    std::lock_guard<std::mutex> guard(answererLock);
    answerer = Answerer();
  }
  if (answerer) return answerer(request);
  return ShowSdlBox(request);
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  std::lock_guard<std::mutex> guard(answererLock);
  Answerer() = std::move(answerer);
}

}  // namespace platform

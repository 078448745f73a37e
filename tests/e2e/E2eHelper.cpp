// Helper for the end-to-end tests of the desktop program: writes the test
// archives, and does the few X11 things xdotool cannot (asking a window to
// close the way a window manager does, reading its pixels, saving a screenshot).
#include <SDL.h>
#include <SDL_image.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/PidBuilder.h"
#include "support/RezBuilder.h"

using rezbuild::FileNode;
using rezbuild::Folder;
using rezbuild::Node;

namespace {

// A picture with a transparent border and diagonal bands of 16 pixels, which
// code into short runs.
std::vector<unsigned char> Picture(int width, int height, int seed) {
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height, 0);
  for (int y = 1; y + 1 < height; ++y)
    for (int x = 1; x + 1 < width; ++x)
      indices[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint8_t>(1 + (x / 16 + y / 16 + seed) % 200);
  return pidbuild::Picture(width, height, indices, false);
}

// Enough pictures for the extraction to take a few seconds with PNG conversion.
Node BigArchive(int folders, int perFolder) {
  std::vector<Node> top;
  for (int f = 0; f < folders; ++f) {
    std::vector<Node> pictures;
    for (int i = 0; i < perFolder; ++i)
      pictures.push_back(FileNode("P" + std::to_string(i), "PID", Picture(320, 240, f * 1000 + i)));
    top.push_back(Folder("SET" + std::to_string(f), pictures));
  }
  top.push_back(Folder("SOUNDS", {FileNode("LAST", "WAV", "riff")}));
  return Folder("ROOT", top);
}

// What a window manager sends when the user clicks the close button.
int CloseWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  return 0;
}

// A window that went away between two requests ("Bad Drawable") is no
// reason to abort: the request just fails and the caller asks again.
bool xFailed = false;
int NoteXError(Display*, XErrorEvent*) {
  return xFailed = true, 0;
}

// Prints "r g b" for each "x,y" point ("-" outside), one line each; or saves
// the window as a PNG.
int Pixels(Display* display, Window window, int count, char** points, const char* png) {
  XWindowAttributes size;
  if (!XGetWindowAttributes(display, window, &size) || xFailed) return 1;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(size.width),
                            static_cast<unsigned>(size.height), AllPlanes, ZPixmap);
  if (!image) return 1;
  const auto rgb = [image](int x, int y, int channel) {  // a 24-bit visual: 8 bits each
    return static_cast<int>(XGetPixel(image, x, y) >> (16 - 8 * channel) & 0xFF);
  };
  int result = 0;
  if (png) {  // 32 bits a pixel, the top byte unused
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(image->data, image->width, image->height, 32,
                                           image->bytes_per_line, SDL_PIXELFORMAT_RGB888);
    result = surface && IMG_SavePNG(surface, png) == 0 ? 0 : 1;
    SDL_FreeSurface(surface);
  }
  for (int i = 0; i < count; ++i) {
    int x = -1, y = -1;
    if (std::sscanf(points[i], "%d,%d", &x, &y) != 2 || x < 0 || y < 0 || x >= image->width ||
        y >= image->height)
      std::printf("-\n");
    else
      std::printf("%d %d %d\n", rgb(x, y, 0), rgb(x, y, 1), rgb(x, y, 2));
  }
  XDestroyImage(image);
  return result;
}

// Owns the clipboard with text for a while, as a program the user copied
// from would; the program under test pastes it.
int OfferClipboard(const char* text, int seconds) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0 || SDL_SetClipboardText(text) != 0) return 1;
  for (const Uint32 end = SDL_GetTicks() + static_cast<Uint32>(seconds) * 1000;
       SDL_GetTicks() < end; SDL_Delay(10))
    SDL_PumpEvents();
  SDL_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  if (command == "fixtures") {
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    rezbuild::Write(folder / "big.rez", BigArchive(20, 60));
    // Not an archive: a text file with the archive's extension.
    return rezbuild::WriteBytes(folder / "broken.rez", rezbuild::Bytes("Not an archive.\n")), 0;
  }
  if (command == "clipboard" && argc == 4) return OfferClipboard(argv[2], std::atoi(argv[3]));
  Display* display = command.empty() ? nullptr : XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr,
                 "usage: tarnwick_e2e_helper fixtures DIR | clipboard TEXT SECONDS | close WINDOW"
                 " | pixels WINDOW X,Y... | screenshot WINDOW FILE.png (with a display)\n");
    return 2;
  }
  XSetErrorHandler(NoteXError);
  const Window window = static_cast<Window>(std::strtoul(argv[2], nullptr, 0));
  const int result = command == "close"    ? CloseWindow(display, window)
                     : command == "pixels" ? Pixels(display, window, argc - 3, argv + 3, nullptr)
                     : command == "screenshot" && argc == 4
                         ? Pixels(display, window, 0, nullptr, argv[3])
                         : 2;
  XSync(display, False);
  XCloseDisplay(display);
  return xFailed ? 1 : result;
}

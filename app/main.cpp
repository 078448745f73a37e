// Tarnwick: unpacks the resource archives of CLAW and GRUNTZ.
// Usage: tarnwick [ARCHIVE]. A desktop's "Open with" passes the archive as the one argument.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/AppContext.h"
#include "app/Shell.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && std::strcmp(argv[1], "--help") == 0)) {
    std::fprintf(argc > 2 ? stderr : stdout, "usage: tarnwick [ARCHIVE]\n");
    return argc > 2 ? 2 : 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", kProductTitle);
    return 0;
  }
  std::optional<std::string> source;
  if (argc == 2) {
    // Shown whole in step 1, and the proposed destination is made beside it.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(argv[1], error);
    source = error ? std::string(argv[1]) : absolute.lexically_normal().string();
  }
  return RunProgram(platform::FindResource, std::move(source));
}

// Start-up and the run of the program.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Resources.h"

struct AppContext;

// Finds a resource carried in the executable by name and type.
using ResourceFinder =
    std::function<std::optional<platform::ResourceBytes>(std::string_view, std::string_view)>;

enum class StartUpResult {
  Ready,            // step 1 is requested; the frame loop may start
  EngineFailed,     // told the user; exit code 1
  ResourceMissing,  // told the user; exit code 1
};

inline constexpr const char* kCorruptedExecutable =
    "Executable is corrupted. Please reinstall Tarnwick.";

// Everything up to the frame loop, in the fixed order: engine set-up, window,
// state manager, skin and font from the resources, toolkit adapters, image
// library, step 1.
StartUpResult StartUp(AppContext& app, const ResourceFinder& find);

// The whole program: start-up, the frame loop, shut-down. Returns the exit code.
// initialSource is the archive to start with (the program's argument), if any.
int RunProgram(const ResourceFinder& find, std::optional<std::string> initialSource = std::nullopt);

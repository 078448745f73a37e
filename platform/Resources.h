// Files carried inside the executable, found by name and type.
//
// The table is generated at build time from the folder resources/: a file
// "Name.ext" becomes name "Name" with type "EXT" (upper case), and a file
// "iconN.png" becomes the window icon with number N. Lookups compare bytes
// exactly, as the names are fixed by the program.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace platform {

struct ResourceBytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// Bytes of the resource, or nothing when the executable does not carry it.
std::optional<ResourceBytes> FindResource(std::string_view name, std::string_view type);
// PNG bytes of the icon with this number, or nothing.
std::optional<ResourceBytes> FindIconResource(int number);

// One row of the generated table.
struct EmbeddedResource {
  const char* name;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};
// The generated table and its length.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace platform

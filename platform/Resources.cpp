#include "platform/Resources.h"

#include <string>

namespace platform {

std::optional<ResourceBytes> FindResource(std::string_view name, std::string_view type) {
  for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
    const EmbeddedResource& entry = kEmbeddedResources[i];
    if (name == entry.name && type == entry.type) return ResourceBytes{entry.data, entry.size};
  }
  return std::nullopt;
}

std::optional<ResourceBytes> FindIconResource(int number) {
  return FindResource(std::to_string(number), "ICON");
}

}  // namespace platform

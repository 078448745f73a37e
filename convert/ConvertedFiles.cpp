#include "convert/ConvertedFiles.h"

std::string NameWithoutType(const std::string& name, const std::string& type) {
  const std::string suffix = "." + type;
  if (name.size() > suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    return name.substr(0, name.size() - suffix.size());
  return name;
}

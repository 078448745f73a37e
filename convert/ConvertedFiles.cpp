#include "convert/ConvertedFiles.h"

#include "convert/XmiToMidi.h"

std::string SizeRefusal(ConvertFunction convert, std::uint64_t size) {
  if (convert == ConvertXmiToMidi && size > kMaxXmiBytes)
    return "XMI of " + std::to_string(size) + " bytes is larger than the limit of " +
           std::to_string(kMaxXmiBytes);
  return "";
}

std::string NameWithoutType(const std::string& name, const std::string& type) {
  const std::string suffix = "." + type;
  if (name.size() > suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    return name.substr(0, name.size() - suffix.size());
  return name;
}

#include "cli/PaletteOption.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

#include "text/Windows1252.h"

namespace cli {

namespace {

std::optional<Palette> FromBytes(const std::vector<unsigned char>& bytes, const std::string& what,
                                 std::string& error) {
  if (bytes.size() != Palette::kBytes) {
    error = what + (bytes.size() > Palette::kBytes ? " holds more than " : " holds ") +
            std::to_string(std::min(bytes.size(), Palette::kBytes)) + " bytes; a palette holds " +
            std::to_string(Palette::kBytes);
    return std::nullopt;
  }
  Palette palette;
  std::copy(bytes.begin(), bytes.end(), palette.bytes.begin());
  return palette;
}

bool HasPalExtension(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == "PAL";
}

}  // namespace

std::optional<Palette> LoadPaletteOption(const std::string& value, const REZ::Parser& archive,
                                         std::string& error) {
  // Archive names are Windows-1252; what the user typed is UTF-8.
  if (const auto archiveName = text::Windows1252FromUtf8(value)) {
    const REZ::Element* entry = archive.Root().GetElement(*archiveName);
    if (entry && entry->IsFile() && REZ::FileExtension(entry->name) == std::string("PAL")) {
      const auto& file = static_cast<const REZ::File&>(*entry);
      // One byte more than a palette is enough to tell a wrong size.
      return FromBytes(file.GetData(std::min<std::uint32_t>(file.size, Palette::kBytes + 1)),
                       "the archive entry " + value, error);
    }
  }
  std::error_code statusError;
  if (HasPalExtension(value) && std::filesystem::is_regular_file(value, statusError)) {
    std::ifstream in(value, std::ios::binary);
    std::vector<unsigned char> bytes(Palette::kBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
      error = "cannot read " + value;
      return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return FromBytes(bytes, value, error);
  }
  error = "'" + value + "' is neither a PAL entry of the archive nor a .PAL file";
  return std::nullopt;
}

}  // namespace cli

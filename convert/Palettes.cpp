#include <algorithm>

#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "convert/Palette.h"

std::optional<Palette> currentPalette;

void loadPaletteFromMemory(Palette& palette, const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) return;
  std::copy_n(data, std::min(size, Palette::kBytes), palette.bytes.begin());
}

void switchPaletteFrom(const REZ::Dir& folder) {
  switchPaletteFrom(folder, currentPalette);
}

void switchPaletteFrom(const REZ::Dir& folder, std::optional<Palette>& current) {
  for (const auto& child : folder.children) {
    if (!child->IsDir() || child->name != "PALETTES") continue;
    const REZ::Element* entry = static_cast<const REZ::Dir&>(*child).GetElement("MAIN.PAL");
    if (entry == nullptr || !entry->IsFile()) continue;
    const auto& file = static_cast<const REZ::File&>(*entry);

    // Only the first 768 bytes are ever used; an oversized entry is not read whole.
    const auto bytes = file.GetData(std::min<std::uint32_t>(file.size, Palette::kBytes));
    if (file.size != Palette::kBytes)
      WriteDiagnostic("Error: palette found in %s is broken!\n", folder.name.c_str());
    // Entries a short palette does not reach are black rather than left over
    // from the previous palette.
    Palette palette{};
    loadPaletteFromMemory(palette, bytes.data(), bytes.size());
    current = palette;
    WriteDiagnostic("Switched to palette from: %s\n", folder.name.c_str());
  }
}

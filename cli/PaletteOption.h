// extract --palette=P: the palette for pictures that have none of their own.
#pragma once

#include <optional>
#include <string>

#include "archive/cREZ.h"
#include "convert/Palette.h"

namespace cli {

// P names a PAL entry of the archive (a path such as GRUNTZ/PALETTEZ/REDTOY.PAL)
// or a .PAL file on disk; either must hold exactly 768 bytes. Nothing, with
// the reason in error, when P is neither.
std::optional<Palette> LoadPaletteOption(const std::string& value, const REZ::Parser& archive,
                                         std::string& error);

}  // namespace cli

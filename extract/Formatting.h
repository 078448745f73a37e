// Short texts for byte counts and durations shown on the wizard screens.
#pragma once

#include <cstdint>
#include <string>

// "%d bytes", "%.2f kB", "%.2f MB" or "%.2f GB" (units of 1024).
std::string SizeText(std::int64_t bytes);
// "%d ms", "%d seconds", "%d minutes[ %d seconds]", "%d hours[ %d minutes]",
// "%d days[ %d hours]"; a value on a unit boundary uses the smaller unit.
std::string DurationText(std::int64_t milliseconds);

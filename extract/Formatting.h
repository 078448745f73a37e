// Short texts for byte counts and durations shown on the wizard screens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// "%d bytes", "%.2f kB", "%.2f MB" or "%.2f GB" (units of 1024).
std::string SizeText(std::int64_t bytes);
// "%d ms", "%d seconds", "%d minutes[ %d seconds]", "%d hours[ %d minutes]",
// "%d days[ %d hours]"; a value on a unit boundary uses the smaller unit.
std::string DurationText(std::int64_t milliseconds);
// Milliseconds left when doneFraction (0 to 1) of the work took elapsedMs, at
// the same pace; none before anything is done or once everything is.
std::optional<std::int64_t> EstimateTimeLeft(std::int64_t elapsedMs, double doneFraction);

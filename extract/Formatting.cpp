#include "extract/Formatting.h"

#include <algorithm>
#include <cstdio>

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace

std::string SizeText(std::int64_t bytes) {
  constexpr std::int64_t kKilo = 1024, kMega = 1048576, kGiga = 1073741824;
  if (bytes < kKilo) return Format("%lld bytes", static_cast<long long>(bytes));
  if (bytes < kMega) return Format("%.2f kB", static_cast<double>(bytes) / kKilo);
  if (bytes < kGiga) return Format("%.2f MB", static_cast<double>(bytes) / kMega);
  return Format("%.2f GB", static_cast<double>(bytes) / kGiga);
}

std::string DurationText(std::int64_t t) {
  constexpr std::int64_t kSecond = 1000, kMinute = 60000, kHour = 3600000, kDay = 86400000;
  const auto n = [](std::int64_t v) { return static_cast<long long>(v); };
  if (t > kDay) {
    if (t % kDay == 0) return Format("%lld days", n(t / kDay));
    return Format("%lld days %lld hours", n(t / kDay), n(t % kDay / kHour));
  }
  if (t > kHour) {
    if (t % kHour == 0) return Format("%lld hours", n(t / kHour));
    return Format("%lld hours %lld minutes", n(t / kHour), n(t % kHour / kMinute));
  }
  if (t > kMinute) {
    if (t % kMinute == 0) return Format("%lld minutes", n(t / kMinute));
    return Format("%lld minutes %lld seconds", n(t / kMinute), n(t % kMinute / kSecond));
  }
  if (t > kSecond) return Format("%lld seconds", n(t / kSecond));
  return Format("%lld ms", n(t));
}

std::optional<std::int64_t> EstimateTimeLeft(std::int64_t elapsedMs, double doneFraction) {
  // Nothing done yet: any figure would be a guess that grows without bound.
  if (!(doneFraction > 0.0) || doneFraction >= 1.0) return std::nullopt;
  const double left = double(elapsedMs) / doneFraction * (1.0 - doneFraction);
  // Far beyond any real wait, yet still within what DurationText shows.
  return static_cast<std::int64_t>(std::clamp(left, 0.0, 9.0e15));
}

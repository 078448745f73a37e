#include "convert/Diagnostics.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<bool> diagnosticsEnabled{true};
}

void SetDiagnosticsEnabled(bool enabled) { diagnosticsEnabled = enabled; }

void WriteDiagnostic(const char* format, ...) {
  if (!diagnosticsEnabled) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fflush(stdout);
}

// The conversion's diagnostic lines ("Switched to palette from: ...",
// "Error: palette found in ... is broken!", "ERROR") go to standard output;
// tarnwick-cli --quiet turns them off.
#pragma once

void SetDiagnosticsEnabled(bool enabled);
// printf-style; writes to standard output and flushes, unless disabled.
void WriteDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tarnwick: unpacks the resource archives of CLAW and GRUNTZ.
#include "app/Shell.h"

int main() {
  return RunProgram(platform::FindResource);
}

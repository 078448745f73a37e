// Writes the sample archive that newcomers try the program on.
//
// Usage: make_sample_archive OUTPUT      (the repository keeps examples/sample.rez)
#include <cstdio>
#include <exception>

#include "support/SampleArchive.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_archive OUTPUT\n");
    return 2;
  }
  try {
    rezbuild::Write(argv[1], rezbuild::SampleArchive());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sample_archive: %s\n", e.what());
    return 1;
  }
  return 0;
}

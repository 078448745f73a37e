// Writes the sample archive that newcomers try the program on.
//
// Usage: make_sample_archive OUTPUT RETAIL_OUTPUT
// (the repository keeps examples/sample.rez and examples/retail-sample.rez)
#include <cstdio>
#include <exception>

#include "tools/SampleArchive.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_sample_archive OUTPUT RETAIL_OUTPUT\n");
    return 2;
  }
  try {
    rezbuild::Write(argv[1], rezbuild::SampleArchive());
    rezbuild::Write(argv[2], rezbuild::RetailSampleArchive(), rezbuild::Layout::Retail);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sample_archive: %s\n", e.what());
    return 1;
  }
  return 0;
}

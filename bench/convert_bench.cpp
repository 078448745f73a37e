// Converts a few thousand typical PID pictures to PNG and compares the rate
// with writing the same RGBA canvases through libpng directly, at the
// compression DevIL uses (zlib's default level, libpng's default filters).
//
// Usage: convert_bench [picture count]
#include <png.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveStats.h"
#include "convert/ImageConversion.h"
#include "convert/PidImage.h"
#include "extract/EntryNames.h"
#include "support/PidBuilder.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Most pictures in the games are small sprites; a few are screens.
std::pair<int, int> TypicalSize(std::mt19937& random) {
  const auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const int kind = between(0, 99);
  if (kind < 70) return {between(16, 128), between(16, 128)};
  if (kind < 93) return {between(128, 320), between(96, 240)};
  return {between(320, 640), between(240, 480)};
}

// A sprite: a blob of shaded colours on a transparent surround.
std::vector<std::uint8_t> SpriteIndices(int width, int height, std::mt19937& random) {
  std::vector<std::uint8_t> indices(std::size_t(width) * std::size_t(height), 0);
  const double cx = width / 2.0, cy = height / 2.0;
  const std::uint8_t base = std::uint8_t(std::uniform_int_distribution<int>(1, 200)(random));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double dx = (x - cx) / cx, dy = (y - cy) / cy;
      if (dx * dx + dy * dy > 0.9) continue;
      const int shade = (x / 3 + y / 5) % 24 + int(random() % 3);
      indices[std::size_t(y) * std::size_t(width) + std::size_t(x)] = std::uint8_t(base + shade);
    }
  return indices;
}

bool WritePngDirectly(const fs::path& path, const std::vector<std::uint8_t>& canvas, int width,
                      int height) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_compression_level(png, Z_DEFAULT_COMPRESSION);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // The canvas is stored bottom row first.
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
      rows[std::size_t(y)] = const_cast<png_bytep>(canvas.data()) +
                             std::size_t(height - 1 - y) * std::size_t(width) * 4;
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  } else {
    ok = false;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

std::uintmax_t FolderBytes(const fs::path& folder) {
  std::uintmax_t total = 0;
  for (const auto& entry : fs::directory_iterator(folder)) total += entry.file_size();
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
  TempDir dir;
  std::mt19937 random(2024);

  std::vector<rezbuild::Node> entries;
  std::uint64_t pixels = 0;
  for (int i = 0; i < count; ++i) {
    const auto [width, height] = TypicalSize(random);
    pixels += std::uint64_t(width) * std::uint64_t(height);
    const auto indices = SpriteIndices(width, height, random);
    entries.push_back(rezbuild::FileNode(
        "F" + std::to_string(i), "PID",
        pidbuild::Picture(width, height, indices, i % 2 == 0, int(random() % 9) - 4, 0)));
  }
  rezbuild::Write(dir / "bench.rez", rezbuild::Folder("", {rezbuild::Folder("ANI", entries)}));
  REZ::Parser parser(dir / "bench.rez");
  const auto& folder = static_cast<const REZ::Dir&>(*parser.Root().children.at(0));
  std::vector<const REZ::File*> files;
  for (const auto& child : folder.children)
    files.push_back(static_cast<const REZ::File*>(child.get()));

  InitImageLibrary();
  currentPalette = pidbuild::DistinctPalette();
  DetectedGame = kGameClaw;
  int problems = 0;

  // Decoding and drawing alone, keeping the canvases for the libpng reference.
  struct Canvas {
    std::vector<std::uint8_t> rgba;
    int width = 0;
    int height = 0;
  };
  std::vector<Canvas> canvases;
  canvases.reserve(files.size());
  auto start = Clock::now();
  for (const REZ::File* file : files) {
    const auto bytes = file->GetData();
    PidImage image;
    image.loadFromMemory(bytes.data(), bytes.size(), &*currentPalette, false, false, true);
    std::vector<std::uint8_t> canvas(std::size_t(image.width()) * std::size_t(image.height()) * 4);
    image.renderRgba(canvas, 0, 0, 0, 0);
    canvases.push_back({std::move(canvas), image.width(), image.height()});
  }
  const double decodeSeconds = SecondsSince(start);

  const fs::path viaDevil = dir / "devil";
  const fs::path viaLibpng = dir / "libpng";
  fs::create_directory(viaDevil);
  fs::create_directory(viaLibpng);

  start = Clock::now();
  const ConversionContext context{kGameClaw, currentPalette};
  for (const REZ::File* file : files) {
    const PngEncoding png = EncodePidAsPng(file->GetData(), context, {});
    std::ofstream out(viaDevil / PngNameOf(file->name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.bytes.data()), std::streamsize(png.bytes.size()));
    if (!png.Succeeded() || !out.flush()) ++problems;
  }
  const double convertSeconds = SecondsSince(start);

  start = Clock::now();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const Canvas& canvas = canvases[i];
    if (!WritePngDirectly(viaLibpng / ("F" + std::to_string(i) + ".png"), canvas.rgba, canvas.width,
                          canvas.height))
      ++problems;
  }
  const double libpngSeconds = SecondsSince(start);

  std::printf("pictures: %d (16x16 .. 640x480), %.1f Mpixels\n", count, double(pixels) / 1e6);
  std::printf("decode + draw only:       %8.3f s  %9.1f pictures/s\n", decodeSeconds,
              count / decodeSeconds);
  std::printf("convertPidToPng (DevIL):  %8.3f s  %9.1f pictures/s  %10ju bytes written\n",
              convertSeconds, count / convertSeconds, FolderBytes(viaDevil));
  std::printf("libpng direct (level 6):  %8.3f s  %9.1f pictures/s  %10ju bytes written\n",
              libpngSeconds, count / libpngSeconds, FolderBytes(viaLibpng));
  std::printf("ratio convertPidToPng / libpng (time per picture): %.2f\n",
              convertSeconds / libpngSeconds);
  if (problems) std::printf("problems: %d\n", problems);
  return problems ? 1 : 0;
}

#include "text/BitmapFont.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "text/Windows1252.h"

namespace {

constexpr unsigned char kFallbackCode = '?';

// The colour a colour code's middle byte selects, or 0 when it selects none
// (no code colour is fully transparent, so 0 can stand for "none").
std::uint32_t CodeColour(char letter) {
  switch (letter) {
    case 'a':
      return 0xFF777777;  // grey
    case 'b':
      return 0xFF0000FF;  // blue
    case 'g':
      return 0xFF00FF00;  // green
    case 'l':
      return 0xFF000000;  // black
    case 'p':
      return 0xFFFF00FF;  // magenta
    case 'r':
      return 0xFFFF0000;  // red
    case 'w':
      return 0xFFFFFFFF;  // white
    case 'y':
      return 0xFFFFFF00;  // yellow
    default:
      return 0;
  }
}

// What a colour code at text does: whether there is one ("~", a byte, "~"),
// and the colour it selects (0 when its letter names none). The one place
// where colour codes are read.
struct ColourCode {
  bool present;
  std::uint32_t colour;
};
ColourCode ColourCodeAt(const char* text) {
  if (text[0] != '~' || text[1] == 0 || text[2] != '~') return {false, 0};
  return {true, CodeColour(text[1])};
}

// The code-page byte of the character at text, advancing past it; 256 for a
// character the code page lacks. Valid UTF-8 is read as characters; any other
// text as Windows-1252 bytes, so that raw archive names still draw.
int NextCharacter(const char*& text, bool utf8) {
  if (!utf8 || static_cast<unsigned char>(*text) < 0x80) return static_cast<unsigned char>(*text++);
  const std::string_view sequence(text, strnlen(text, 4));
  std::size_t length = 0;
  const char32_t character = text::NextCodePoint(sequence, length);
  text += length;
  const auto byte = text::Windows1252ByteOf(character);
  return byte ? *byte : 256;
}

bool IsBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool StartsWith(const std::string& line, const char* prefix) {
  return line.compare(0, std::strlen(prefix), prefix) == 0;
}

void SkipBlanks(const std::string& line, std::size_t& at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
}

// One decimal integer as scanf's %d reads it (leading blanks, optional sign);
// false when there is none or it does not fit an int.
bool ReadInt(const std::string& line, std::size_t& at, int& value) {
  SkipBlanks(line, at);
  bool negative = false;
  if (at < line.size() && (line[at] == '-' || line[at] == '+')) negative = line[at++] == '-';
  if (at >= line.size() || !std::isdigit(static_cast<unsigned char>(line[at]))) return false;
  long long magnitude = 0;
  for (; at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])); ++at) {
    magnitude = magnitude * 10 + (line[at] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  const long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX || signedValue < INT_MIN) return false;
  value = static_cast<int>(signedValue);
  return true;
}

}  // namespace

BitmapFont::BitmapFont(const char* descriptorName, bool mipmap)
    : engine(hgeCreate(HGE_VERSION)),
      name(descriptorName ? descriptorName : ""),
      ownsTexture(true) {
  if (!engine || !descriptorName) return;
  std::uint32_t size = 0;
  void* resource = engine->Resource_Load(descriptorName, &size);
  if (!resource) return;
  std::vector<char> text(static_cast<const char*>(resource),
                         static_cast<const char*>(resource) + size);
  text.push_back('\0');
  engine->Resource_Free(resource);
  Load(text.data(), text.size(), true, mipmap, 0, 0);
}

BitmapFont::BitmapFont(const char* data, std::uint32_t size, HTEXTURE texture_, bool ownsTexture_,
                       int offsetX, int offsetY)
    : engine(hgeCreate(HGE_VERSION)),
      name("from memory"),
      texture(texture_),
      ownsTexture(ownsTexture_) {
  if (!engine) return;
  Load(data, data ? size : 0, false, false, offsetX, offsetY);
}

BitmapFont::~BitmapFont() {
  for (auto& glyph : glyphs) glyph.reset();
  if (!ownsTexture || !engine) return;
  for (HTEXTURE replaced : replacedTextures) engine->Texture_Free(replaced);
  if (texture != 0) engine->Texture_Free(texture);
}

void BitmapFont::Load(const char* data, std::size_t size, bool fromFile, bool mipmap, int offsetX,
                      int offsetY) {
  // The descriptor ends at its first NUL or at its size, whichever comes first.
  const std::string text(data, data ? std::find(data, data + size, '\0') : data);
  std::size_t at = 0;
  int physicalLine = 1;

  // A line ends at CR or LF; the whole run of line breaks after it goes with it.
  const auto readLine = [&](std::string& line, int& number) {
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    line.assign(text, at, std::min(end - at, kMaxLineLength));
    number = physicalLine;
    for (at = end; at < text.size() && (text[at] == '\r' || text[at] == '\n'); ++at) {
      const bool crlf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
      if (!crlf) ++physicalLine;
    }
  };

  std::string line;
  int lineNumber = 0;
  readLine(line, lineNumber);
  if (line != "[HGEFONT]") {
    engine->System_Log("Font %s has incorrect format.", name.c_str());
    return;
  }
  while (at < text.size()) {
    readLine(line, lineNumber);
    if (StartsWith(line, "Bitmap")) {
      if (fromFile && !LoadBitmap(line, mipmap)) return;
    } else if (StartsWith(line, "Char")) {
      ReadGlyphLine(line, lineNumber, offsetX, offsetY);
    }
  }
}

bool BitmapFont::LoadBitmap(const std::string& line, bool mipmap) {
  // "Bitmap = <name>", blanks optional around "=".
  std::size_t at = std::strlen("Bitmap");
  SkipBlanks(line, at);
  if (at >= line.size() || line[at] != '=') return true;
  ++at;
  SkipBlanks(line, at);
  const std::size_t start = at;
  while (at < line.size() && !IsBlank(line[at])) ++at;
  if (at == start) return true;
  const std::string file = line.substr(start, at - start);

  std::size_t separator = name.rfind('\\');
  if (separator == std::string::npos) separator = name.rfind('/');
  std::string path = separator == std::string::npos ? file : name.substr(0, separator + 1) + file;
  if (path.size() > kMaxPathLength) path.resize(kMaxPathLength);

  HTEXTURE loaded = 0;
  std::uint32_t size = 0;
  if (void* bytes = engine->Resource_Load(path.c_str(), &size)) {
    loaded = engine->Texture_Load(static_cast<const char*>(bytes), size, mipmap);
    engine->Resource_Free(bytes);
  }
  if (loaded == 0) {
    engine->System_Log("Font %s: cannot load bitmap %s.", name.c_str(), path.c_str());
    return false;
  }
  if (texture != 0) replacedTextures.push_back(texture);
  texture = loaded;
  return true;
}

void BitmapFont::ReadGlyphLine(const std::string& line, int lineNumber, int offsetX, int offsetY) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return LogIgnoredLine(lineNumber, "no \"=\"");
  std::size_t at = equals + 1;
  while (at < line.size() && line[at] == ' ') ++at;

  unsigned code = 0;
  if (at < line.size() && line[at] == '"') {
    // The character itself, whatever it is, then a closing quote that is not checked.
    if (at + 1 >= line.size()) return LogIgnoredLine(lineNumber, "no character after the quote");
    code = static_cast<unsigned char>(line[at + 1]);
    at = std::min(at + 3, line.size());
  } else {
    bool tooLarge = false;
    for (; at < line.size() && std::isxdigit(static_cast<unsigned char>(line[at])); ++at) {
      const char digit = line[at];
      const unsigned value =
          std::isdigit(static_cast<unsigned char>(digit))
              ? unsigned(digit - '0')
              : unsigned(std::tolower(static_cast<unsigned char>(digit)) - 'a' + 10);
      code = code * 16 + value;
      if (code > 255) {
        tooLarge = true;
        code = 256;  // keeps long digit runs from wrapping around
      }
    }
    if (tooLarge) return LogIgnoredLine(lineNumber, "character code above 255");
  }

  int numbers[6];
  for (int& number : numbers) {
    SkipBlanks(line, at);
    if (at >= line.size() || line[at] != ',' || !ReadInt(line, ++at, number))
      return LogIgnoredLine(lineNumber, "it needs six numbers (x, y, width, height, pre, post)");
  }
  const long long x = static_cast<long long>(numbers[0]) + offsetX;
  const long long y = static_cast<long long>(numbers[1]) + offsetY;
  const long long width = numbers[2], height_ = numbers[3];
  if (width < 0 || height_ < 0) return LogIgnoredLine(lineNumber, "negative glyph size");
  if (texture != 0) {
    const long long textureWidth = engine->Texture_GetWidth(texture);
    const long long textureHeight = engine->Texture_GetHeight(texture);
    if (x < 0 || y < 0 || x + width > textureWidth || y + height_ > textureHeight)
      return LogIgnoredLine(lineNumber, "glyph rectangle outside the texture");
  }

  glyphs[code] = std::make_unique<Sprite>(texture, static_cast<float>(x), static_cast<float>(y),
                                          static_cast<float>(width), static_cast<float>(height_));
  pre[code] = static_cast<float>(numbers[4]);
  post[code] = static_cast<float>(numbers[5]);
  height = std::max(height, static_cast<float>(height_));
}

void BitmapFont::LogIgnoredLine(int lineNumber, const char* reason) {
  engine->System_Log("Font %s, line %d ignored: %s.", name.c_str(), lineNumber, reason);
}

int BitmapFont::DrawnCode(int code) const {
  if (code < 256 && glyphs[code]) return code;
  if (glyphs[kFallbackCode]) return kFallbackCode;
  return -1;
}

float BitmapFont::LineWidth(const char*& text, bool utf8) const {
  float width = 0;
  while (*text && (literal || *text != '\n')) {
    if (!literal && ColourCodeAt(text).present) {
      text += 3;
      continue;
    }
    const int code = DrawnCode(NextCharacter(text, utf8));
    if (code >= 0) width += pre[code] + glyphs[code]->GetWidth() + post[code] + tracking;
  }
  return width;
}

float BitmapFont::GetStringWidth(const char* text, bool multiline) const {
  return text ? Width(text, multiline, text::IsValidUtf8(text)) : 0;
}

float BitmapFont::Width(const char* text, bool multiline, bool utf8) const {
  float widest = LineWidth(text, utf8);
  while (multiline && *text) {
    while (*text == '\n' || *text == '\r') ++text;
    if (!*text) break;
    widest = std::max(widest, LineWidth(text, utf8));
  }
  return widest * scale * proportion;
}

float BitmapFont::AlignedPen(float x, int horizontal, const char* line, bool utf8) const {
  if (horizontal == kRight) return x - Width(line, false, utf8);
  if (horizontal == kCentre) return x - std::trunc(Width(line, false, utf8) * 0.5f);
  return x;
}

void BitmapFont::Render(float x, float y, int align, const char* text, bool plain) {
  if (!text) return;
  const int horizontal = align & 3;
  const float xScale = scale * proportion;
  const bool utf8 = text::IsValidUtf8(text);
  float pen = AlignedPen(x, horizontal, text, utf8);
  while (*text) {
    if (!literal && *text == '\n') {
      y += std::trunc(scale * height * spacing);
      pen = AlignedPen(x, horizontal, ++text, utf8);
      continue;
    }
    if (const ColourCode code = ColourCodeAt(text);
        !literal && code.present && (plain || code.colour)) {
      if (!plain) SetColor(code.colour);
      text += 3;
      continue;
    }
    // A code whose letter names no colour is drawn like any characters.
    const int code = DrawnCode(NextCharacter(text, utf8));
    if (code < 0) continue;
    Sprite& glyph = *glyphs[code];
    pen += pre[code] * xScale;
    glyph.RenderEx(pen, y, rotation, xScale, scale);
    pen += (glyph.GetWidth() + post[code] + tracking) * xScale;
  }
}

void BitmapFont::Printf(float x, float y, int align, const char* format, int plain, ...) {
  if (!format) return;
  char buffer[kPrintfBufferSize];
  va_list args;
  va_start(args, plain);
  const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (written < 0) buffer[0] = '\0';
  Render(x, y, align, buffer, plain != 0);
}

void BitmapFont::SetColor(std::uint32_t value) {
  color = value;
  for (auto& glyph : glyphs)
    if (glyph) glyph->SetColor(value);
}

void BitmapFont::SetZ(float value) {
  z = value;
  for (auto& glyph : glyphs)
    if (glyph) glyph->SetZ(value);
}

void BitmapFont::SetBlendMode(int value) {
  blend = value;
  for (auto& glyph : glyphs)
    if (glyph) glyph->SetBlendMode(value);
}

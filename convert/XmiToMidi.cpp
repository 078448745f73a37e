#include "convert/XmiToMidi.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <optional>
#include <queue>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// XMI plays at a fixed 120 ticks per second.
constexpr std::uint64_t kXmiTicksPerSecond = 120;
constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note
constexpr std::uint32_t kMaxDivision = 0x7FFF;   // ticks per quarter in a MIDI header
constexpr std::uint64_t kMaxDelta = 0x0FFFFFFF;  // the largest variable-length number
constexpr std::size_t kMaxSongs = 4096;

struct Failure {
  std::string reason;
};

std::string Hex(std::uint64_t value) {
  char text[20];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string TagText(const unsigned char* tag) {
  std::string text = "\"";
  for (int i = 0; i < 4; ++i) {
    if (tag[i] >= 0x20 && tag[i] < 0x7F && tag[i] != '"' && tag[i] != '\\')
      text.push_back(static_cast<char>(tag[i]));
    else
      text += "\\x" + Hex(tag[i]).substr(2);
  }
  return text + "\"";
}

std::uint32_t BigEndian32(const unsigned char* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

struct Chunk {
  const unsigned char* tag;
  std::size_t start;  // offset of the body in the file
  std::size_t size;
};

// The IFF chunks of one container, each checked to lie inside it.
class ChunkReader {
 public:
  ChunkReader(const unsigned char* data, std::size_t from, std::size_t end)
      : data(data), pos(from), end(end) {}

  bool AtEnd() const { return pos >= end; }

  Chunk Next() {
    if (end - pos < 8)
      throw Failure{"chunk header at offset " + std::to_string(pos) + " is cut off"};
    Chunk chunk{data + pos, pos + 8, BigEndian32(data + pos + 4)};
    if (chunk.size > end - chunk.start)
      throw Failure{"chunk " + TagText(chunk.tag) + " at offset " + std::to_string(pos) +
                    " declares " + std::to_string(chunk.size) + " bytes, only " +
                    std::to_string(end - chunk.start) + " follow"};
    pos = chunk.start + chunk.size;
    // Chunks of odd size are padded to an even offset.
    if (chunk.size % 2 == 1 && pos < end && data[pos] == 0) ++pos;
    return chunk;
  }

 private:
  const unsigned char* data;
  std::size_t pos;
  std::size_t end;
};

bool Is(const unsigned char* tag, std::string_view name) {
  return std::string_view(reinterpret_cast<const char*>(tag), 4) == name;
}

// A container chunk (FORM or CAT) of the given form type; returns where its
// children start.
std::size_t OpenContainer(const unsigned char* data, const Chunk& chunk, std::string_view kind,
                          std::string_view type) {
  if (!Is(chunk.tag, kind) || chunk.size < 4 || !Is(data + chunk.start, type))
    throw Failure{"expected a " + std::string(kind) + " of type " + std::string(type) +
                  " at offset " + std::to_string(chunk.start - 8) + ", found " +
                  TagText(chunk.tag)};
  return chunk.start + 4;
}

// One event of a song, pointing into the input.
struct Event {
  std::uint64_t time;  // XMI ticks
  std::size_t start;   // status byte
  std::size_t length;  // bytes to copy (a note-on without its duration)
  std::optional<std::uint64_t> noteDuration;
};

struct Song {
  std::vector<Event> events;
  // The end-of-track event's time; without one the song ends when its last
  // note does.
  std::optional<std::uint64_t> end;
  std::optional<std::uint32_t> tempo;  // the first tempo event
};

class EventReader {
 public:
  EventReader(const unsigned char* data, std::size_t from, std::size_t end)
      : data(data), pos(from), end(end) {}

  Song Read() {
    Song song;
    std::uint64_t time = 0;
    while (pos < end) {
      if (data[pos] < 0x80) {  // delays are summed until a status byte
        time += data[pos++];
        continue;
      }
      const std::size_t start = pos;
      const unsigned char status = data[pos++];
      Event event{time, start, 0, std::nullopt};
      switch (status >> 4) {
        case 0x8:
        case 0xA:
        case 0xB:
        case 0xE:
          DataBytes(2);
          break;
        case 0xC:
        case 0xD:
          DataBytes(1);
          break;
        case 0x9:
          DataBytes(2);
          event.length = pos - start;
          event.noteDuration = Number();
          break;
        default:
          if (status == 0xFF) {
            const unsigned char type = DataBytes(1);
            const std::uint64_t length = Number();
            const std::size_t body = pos;
            Skip(length);
            if (type == 0x2F) {
              song.end = time;
              return song;
            }
            if (type == 0x51) {
              if (length != 3)
                throw Failure{"tempo event at offset " + std::to_string(start) + " holds " +
                              std::to_string(length) + " bytes instead of 3"};
              const std::uint32_t tempo = std::uint32_t(data[body]) << 16 |
                                          std::uint32_t(data[body + 1]) << 8 | data[body + 2];
              if (tempo == 0)
                throw Failure{"tempo event at offset " + std::to_string(start) + " is 0"};
              // Later tempo events are ignored by the games' player.
              if (!song.tempo) song.tempo = tempo;
              continue;
            }
          } else if (status == 0xF0 || status == 0xF7) {
            Skip(Number());
          } else {
            throw Failure{"unknown event " + Hex(status) + " at offset " + std::to_string(start)};
          }
      }
      if (event.length == 0) event.length = pos - start;
      song.events.push_back(event);
    }
    return song;
  }

 private:
  unsigned char DataBytes(int n) {
    unsigned char last = 0;
    for (int i = 0; i < n; ++i) {
      if (pos >= end) throw CutOff();
      last = data[pos++];
      if (last >= 0x80)
        throw Failure{"data byte " + Hex(last) + " at offset " + std::to_string(pos - 1) +
                      " is not below 0x80"};
    }
    return last;
  }

  std::uint64_t Number() {
    std::uint64_t value = 0;
    for (int i = 0; i < 4; ++i) {
      if (pos >= end) throw CutOff();
      const unsigned char byte = data[pos++];
      value = value << 7 | (byte & 0x7F);
      if (byte < 0x80) return value;
    }
    throw Failure{"variable-length number at offset " + std::to_string(pos - 4) +
                  " is longer than 4 bytes"};
  }

  void Skip(std::uint64_t n) {
    if (n > end - pos) throw CutOff();
    pos += static_cast<std::size_t>(n);
  }

  Failure CutOff() const {
    return Failure{"the last event of the song is cut off at offset " + std::to_string(end)};
  }

  const unsigned char* data;
  std::size_t pos;
  std::size_t end;
};

// Chooses a MIDI tempo and division that keep the XMI's 120 ticks per second
// exact: every XMI tick becomes `scale` MIDI ticks. The tempo is kept when a
// small enough division exists, else rounded to a multiple of 25 ms, for
// which one always does.
struct Timing {
  std::uint32_t tempo;
  std::uint32_t division;
  std::uint64_t scale;
};

Timing TimingFor(std::uint32_t tempo) {
  // division * 1e6 / tempo = 120 * scale, in lowest terms.
  constexpr std::uint64_t kMicroseconds = 1000000;
  const std::uint64_t ticks = kXmiTicksPerSecond * tempo;
  const std::uint64_t common = std::gcd(ticks, kMicroseconds);
  if (ticks / common <= kMaxDivision)
    return {tempo, static_cast<std::uint32_t>(ticks / common), kMicroseconds / common};
  // Any multiple of this tempo gives a whole division at scale 1.
  constexpr std::uint64_t step = kMicroseconds / std::gcd(kXmiTicksPerSecond, kMicroseconds);
  std::uint64_t rounded = (tempo + step / 2) / step * step;
  rounded = std::clamp<std::uint64_t>(rounded, step, 0xFFFFFF / step * step);
  return {static_cast<std::uint32_t>(rounded),
          static_cast<std::uint32_t>(kXmiTicksPerSecond * rounded / kMicroseconds), 1};
}

class TrackWriter {
 public:
  void At(std::uint64_t time) {
    if (time - last > kMaxDelta)
      throw Failure{"a pause of " + std::to_string(time - last) + " ticks is too long for MIDI"};
    std::uint64_t delta = time - last;
    last = time;
    unsigned char groups[4];
    int n = 0;
    do {
      groups[n++] = delta & 0x7F;
      delta >>= 7;
    } while (delta != 0);
    while (n > 1) track.push_back(groups[--n] | 0x80);
    track.push_back(groups[0]);
  }
  void Put(std::initializer_list<unsigned char> bytes) { track.insert(track.end(), bytes); }
  void Put(const unsigned char* bytes, std::size_t n) {
    track.insert(track.end(), bytes, bytes + n);
  }
  std::uint64_t Last() const { return last; }
  Bytes track;

 private:
  std::uint64_t last = 0;
};

struct NoteOff {
  std::uint64_t time;
  std::uint64_t order;  // equal times keep the order of their note-ons
  unsigned char channel;
  unsigned char note;
  bool operator>(const NoteOff& other) const {
    return time != other.time ? time > other.time : order > other.order;
  }
};

void PutBigEndian(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

Bytes WriteMidi(const unsigned char* data, const Song& song) {
  const Timing timing = TimingFor(song.tempo.value_or(kDefaultTempo));
  TrackWriter writer;
  writer.At(0);
  writer.Put({0xFF, 0x51, 0x03, static_cast<unsigned char>(timing.tempo >> 16),
              static_cast<unsigned char>(timing.tempo >> 8),
              static_cast<unsigned char>(timing.tempo)});

  std::priority_queue<NoteOff, std::vector<NoteOff>, std::greater<NoteOff>> pending;
  std::uint64_t order = 0;
  const auto flushUntil = [&](std::uint64_t time) {
    while (!pending.empty() && pending.top().time <= time) {
      const NoteOff off = pending.top();
      pending.pop();
      writer.At(off.time);
      writer.Put({static_cast<unsigned char>(0x80 | off.channel), off.note, 0x40});
    }
  };
  for (const Event& event : song.events) {
    const std::uint64_t time = event.time * timing.scale;
    // A note ending where another starts is released first.
    flushUntil(time);
    writer.At(time);
    writer.Put(data + event.start, event.length);
    if (event.noteDuration)
      pending.push({time + *event.noteDuration * timing.scale, order++,
                    static_cast<unsigned char>(data[event.start] & 0x0F), data[event.start + 1]});
  }
  // Notes still sounding at the end-of-track event are released there, so
  // that the file lasts exactly as long as the song (game music loops).
  const std::uint64_t end = song.end ? *song.end * timing.scale : UINT64_MAX;
  flushUntil(end);
  for (; !pending.empty(); pending.pop()) {
    writer.At(end);
    writer.Put(
        {static_cast<unsigned char>(0x80 | pending.top().channel), pending.top().note, 0x40});
  }
  writer.At(std::max(writer.Last(), song.end ? end : 0));
  writer.Put({0xFF, 0x2F, 0x00});

  Bytes midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
  PutBigEndian(midi, timing.division, 2);
  midi.insert(midi.end(), {'M', 'T', 'r', 'k'});
  if (writer.track.size() > UINT32_MAX) throw Failure{"the song is too long for a MIDI file"};
  PutBigEndian(midi, static_cast<std::uint32_t>(writer.track.size()), 4);
  midi.insert(midi.end(), writer.track.begin(), writer.track.end());
  return midi;
}

std::vector<Song> ReadSongs(const unsigned char* data, std::size_t size) {
  ChunkReader top(data, 0, size);
  const Chunk directory = top.Next();
  ChunkReader info(data, OpenContainer(data, directory, "FORM", "XDIR"),
                   directory.start + directory.size);
  std::optional<std::size_t> declared;
  while (!info.AtEnd() && !declared) {
    const Chunk chunk = info.Next();
    if (!Is(chunk.tag, "INFO")) continue;
    if (chunk.size < 2) throw Failure{"the INFO chunk holds no song count"};
    declared = std::size_t(data[chunk.start]) | std::size_t(data[chunk.start + 1]) << 8;
  }
  if (!declared) throw Failure{"the XDIR form has no INFO chunk"};
  if (*declared == 0) throw Failure{"the song count is 0"};

  if (top.AtEnd()) throw Failure{"no CAT chunk follows the XDIR form"};
  const Chunk catalog = top.Next();
  ChunkReader forms(data, OpenContainer(data, catalog, "CAT ", "XMID"),
                    catalog.start + catalog.size);
  std::vector<Song> songs;
  while (!forms.AtEnd()) {
    if (songs.size() == kMaxSongs)
      throw Failure{"more than " + std::to_string(kMaxSongs) + " songs"};
    const Chunk form = forms.Next();
    ChunkReader parts(data, OpenContainer(data, form, "FORM", "XMID"), form.start + form.size);
    std::optional<Song> song;
    while (!parts.AtEnd() && !song) {
      const Chunk part = parts.Next();
      // TIMB and RBRN (patches and branch points) have no place in a MIDI file.
      if (Is(part.tag, "EVNT")) song = EventReader(data, part.start, part.start + part.size).Read();
    }
    if (!song) throw Failure{"song " + std::to_string(songs.size() + 1) + " has no EVNT chunk"};
    songs.push_back(std::move(*song));
  }
  if (songs.size() != *declared)
    throw Failure{"the INFO chunk announces " + std::to_string(*declared) +
                  " songs, the file holds " + std::to_string(songs.size())};
  return songs;
}

}  // namespace

ConvertedFiles ConvertXmiToMidi(const std::string& entryName, const unsigned char* data,
                                std::size_t size) {
  ConvertedFiles result;
  result.error = SizeRefusal(ConvertXmiToMidi, size);
  if (!result.error.empty()) return result;
  try {
    const std::vector<Song> songs = ReadSongs(data, size);
    const std::string stem = NameWithoutType(entryName, "XMI");
    for (std::size_t i = 0; i < songs.size(); ++i) {
      const std::string number = songs.size() == 1 ? "" : "-" + std::to_string(i + 1);
      result.files.push_back({stem + number + ".mid", WriteMidi(data, songs[i])});
    }
  } catch (const Failure& failure) {
    result.files.clear();
    result.error = "not a valid XMI: " + failure.reason;
  }
  return result;
}

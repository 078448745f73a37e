// Reads a single-track (format 0) MIDI file back, for the XMI tests and fuzz
// target. Nothing unless it is well formed: lengths that add up, a status byte
// on every event, numbers of at most 4 bytes, data bytes below 0x80, and the
// track ending exactly with its end-of-track event.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct MidiEvent {
  std::uint32_t delta = 0;
  unsigned status = 0;
  std::vector<unsigned char> data;  // for 0xFF: the type, then the payload
};

struct Midi {
  std::uint32_t division = 0;
  std::vector<MidiEvent> events;
};

inline std::optional<Midi> ReadMidi(const std::vector<unsigned char>& b) {
  const auto be = [&](std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b[at + std::size_t(i)];
    return v;
  };
  if (b.size() < 22 || std::string(b.begin(), b.begin() + 4) != "MThd" || be(4, 4) != 6 ||
      be(8, 2) != 0 || be(10, 2) != 1 || std::string(b.begin() + 14, b.begin() + 18) != "MTrk" ||
      22 + std::size_t(be(18, 4)) != b.size())
    return std::nullopt;
  Midi midi{be(12, 2), {}};
  if (midi.division == 0 || midi.division > 0x7FFF) return std::nullopt;
  std::size_t pos = 22;
  const auto number = [&](std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4 && pos < b.size(); ++i) {
      value = value << 7 | (b[pos] & 0x7F);
      if (b[pos++] < 0x80) return true;
    }
    return false;
  };
  for (;;) {
    MidiEvent e;
    std::uint32_t length = 0;
    if (!number(e.delta) || pos >= b.size() || b[pos] < 0x80) return std::nullopt;
    e.status = b[pos++];
    const bool meta = e.status == 0xFF, channel = !meta && e.status != 0xF0 && e.status != 0xF7;
    if (meta && pos < b.size()) e.data.push_back(b[pos++]);
    if (channel)
      length = (e.status >> 4) == 0xC || (e.status >> 4) == 0xD ? 1 : 2;
    else if ((meta && e.data.empty()) || !number(length))
      return std::nullopt;
    if (length > b.size() - pos) return std::nullopt;
    e.data.insert(e.data.end(), b.begin() + pos, b.begin() + pos + length);
    pos += length;
    for (unsigned char byte : e.data)
      if (channel && byte >= 0x80) return std::nullopt;
    midi.events.push_back(e);
    if (meta && e.data[0] == 0x2F)
      return length == 0 && pos == b.size() ? std::optional<Midi>(midi) : std::nullopt;
  }
}

// XMI songs built from the format's description, converted and read back with
// a small MIDI reader that applies the tempo map, so that timing is checked in
// the XMI's own unit (120 ticks per second) and not in the converter's.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "convert/XmiToMidi.h"
#include "support/MidiReader.h"
#include "support/XmiBuilder.h"

namespace {

using xmibuild::Bytes;
using xmibuild::Chunk;
using xmibuild::Form;
using xmibuild::Xmi;

// A channel event at its time in XMI ticks: note-ons (with velocity) as 0x9n,
// note-offs as 0x8n, others as they are; then the first data byte.
using Heard = std::tuple<std::uint64_t, unsigned, unsigned>;

struct ReadBack {
  std::vector<Heard> events;
  std::vector<std::uint32_t> tempos;
};

// Every event time must fall exactly on an XMI tick.
ReadBack Listen(const Bytes& bytes) {
  const std::optional<Midi> midi = ReadMidi(bytes);
  EXPECT_TRUE(midi) << "not a well-formed MIDI file";
  ReadBack back;
  std::uint64_t tempo = 500000, scaled = 0;  // time in units of 1 / (division * 1e6) XMI ticks
  for (const MidiEvent& e : midi ? midi->events : std::vector<MidiEvent>{}) {
    scaled += e.delta * tempo * 120;
    EXPECT_EQ(scaled % (midi->division * 1000000), 0u) << "an event falls between two XMI ticks";
    if (e.status == 0xFF && e.data[0] == 0x51)
      back.tempos.push_back(tempo = e.data[1] << 16 | e.data[2] << 8 | e.data[3]);
    if (e.status == 0xFF) continue;
    const bool off = (e.status >> 4) == 0x9 && e.data.size() > 1 && e.data[1] == 0;
    back.events.emplace_back(scaled / (midi->division * 1000000),
                             off ? 0x80 | (e.status & 0x0F) : e.status, e.data[0]);
  }
  return back;
}

const Bytes kTempo468750 = {0xFF, 0x51, 0x03, 0x07, 0x27, 0x0E};
const Bytes kTempo1s = {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};
const Bytes kTempoOdd = {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x21};  // 500001 us

// Program 5 on channel 2; note 60 on channel 0 for 60 ticks; 60 ticks later
// drum 38 on channel 9 for 30 ticks; 130 ticks later note 62 for 240 ticks
// and note 60 for 10; then note 60 again just as that one ends, and the end
// of the track, where the notes still sounding are released.
Bytes Song(const Bytes& tempoAtStart, const Bytes& tempoLater) {
  Bytes e = tempoAtStart;
  e.insert(e.end(), {0xC2, 5, 0x90, 60, 100, 60, 60});
  e.insert(e.end(), tempoLater.begin(), tempoLater.end());
  e.insert(e.end(), {0x99, 38, 90, 30, 0x7F, 0x03, 0x90, 62, 80, 0x81, 0x70, 0x90, 60, 70, 10});
  e.insert(e.end(), {10, 0x90, 60, 71, 5, 0xFF, 0x2F, 0x00});
  return e;
}

const std::vector<Heard> kExpected = {
    {0, 0xC2, 5},    {0, 0x90, 60},   {60, 0x80, 60},  {60, 0x99, 38},
    {90, 0x89, 38},  {190, 0x90, 62}, {190, 0x90, 60}, {200, 0x80, 60},
    {200, 0x90, 60}, {200, 0x80, 60}, {200, 0x80, 62},
};

TEST(XmiToMidi, NotesChannelsAndTimingComeOutAt120TicksPerSecondWhateverTheTempo) {
  struct Case {
    const char* what;
    Bytes first, later;
    std::uint32_t tempo;
  } cases[] = {
      {"no tempo event", {}, {}, 500000},
      {"first tempo after the first note, a later one ignored", {}, kTempo468750, 468750},
      {"a tempo at the start, a later one ignored", kTempo468750, kTempo1s, 468750},
      {"a tempo no exact division holds", kTempoOdd, {}, 500000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes xmi = Xmi({Song(c.first, c.later)});
    const ConvertedFiles out = ConvertXmiToMidi("TITLE.XMI", xmi.data(), xmi.size());
    ASSERT_EQ(out.error, "");
    ASSERT_EQ(out.files.size(), 1u);
    EXPECT_EQ(out.files[0].name, "TITLE.mid");
    const ReadBack back = Listen(out.files[0].bytes);
    EXPECT_EQ(back.events, kExpected);
    EXPECT_EQ(back.tempos, std::vector<std::uint32_t>{c.tempo});
  }
}

TEST(XmiToMidi, MalformedInputIsRefusedWithItsReason) {
  const Bytes good = Xmi({Song({}, {})});
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    const ConvertedFiles out = ConvertXmiToMidi("A.XMI", good.data(), cut);
    EXPECT_NE(out.error, "") << "cut at " << cut;
    EXPECT_TRUE(out.files.empty());
  }
  struct Case {
    Bytes xmi;
    const char* reason;
  } cases[] = {
      {Xmi({Song({}, {})}, 2), "announces 2 songs, the file holds 1"},
      {Xmi({}, 0), "song count is 0"},
      {Xmi({{0xB0, 7, 0x80}}), "data byte 0x80"},
      {Xmi({{0x90, 60, 1, 0x81, 0x81, 0x81, 0x81, 0x01}}), "longer than 4 bytes"},
      {Xmi({{0xF4, 1}}), "unknown event 0xF4"},
      {Xmi({{0xFF, 0x51, 0x02, 1, 2}}), "holds 2 bytes instead of 3"},
      {Xmi({{0x90, 60, 1}}), "cut off"},
      {Chunk("FORM", Form("XMID", {})), "expected a FORM of type XDIR"},
  };
  for (const Case& c : cases) {
    const ConvertedFiles out = ConvertXmiToMidi("A.XMI", c.xmi.data(), c.xmi.size());
    EXPECT_NE(out.error.find(c.reason), std::string::npos) << out.error;
    EXPECT_TRUE(out.files.empty());
  }
}

}  // namespace

// Sound synthesis: tones with frequency sweeps, vibrato and envelopes, mixed in integers so that every
// machine makes the same samples.
#include "sounds.h"

#include <algorithm>

#include "picture.h"
#include "writers.h"

namespace coilrun {
namespace {

enum class Wave { kSine, kMellow, kReed, kNoise };

struct Tone {
  int startMs = 0;
  int lengthMs = 0;
  int fromHz = 440;
  int toHz = 440;        // reached linearly at the tone's end
  int amplitude = 8000;  // of 32767
  Wave wave = Wave::kSine;
  int vibratoHz = 0;
  int vibratoPercent = 0;
  bool pluck = false;  // fades linearly over its whole length after the attack
};

int Samples(int ms) {
  return ms * static_cast<int>(kWaveRate) / 1000;
}

int32_t WaveValue(Wave wave, uint32_t phase, Noise& noise) {
  const int32_t turn = static_cast<int32_t>(phase >> 16);
  switch (wave) {
    case Wave::kSine:
      return SineQ(turn);
    case Wave::kMellow:
      return (SineQ(turn) * 3 + SineQ(turn * 2)) / 4;
    case Wave::kReed:
      // A sine driven into soft clipping: brighter, still without hard edges.
      return std::clamp(SineQ(turn) * 2, -32767, 32767) * 3 / 4 + SineQ(turn * 3) / 4;
    case Wave::kNoise:
      return static_cast<int32_t>(NextNoise(noise) & 0xFFFF) - 32768;
  }
  return 0;
}

void AddTone(std::vector<int32_t>& mix, const Tone& tone) {
  const int start = Samples(tone.startMs), length = Samples(tone.lengthMs);
  const int attack = std::min(Samples(4), length / 4), release = std::min(Samples(12), length / 3);
  if (static_cast<int>(mix.size()) < start + length) mix.resize(static_cast<size_t>(start + length), 0);
  Noise noise{0x5EED1234u};
  uint32_t phase = 0;
  for (int i = 0; i < length; ++i) {
    int64_t milliHz =
        (static_cast<int64_t>(tone.fromHz) * (length - i) + static_cast<int64_t>(tone.toHz) * i) * 1000 /
        length;
    if (tone.vibratoHz > 0) {
      const int32_t wobble =
          SineQ(static_cast<int32_t>(static_cast<int64_t>(i) * tone.vibratoHz * 65536 / kWaveRate));
      milliHz += milliHz * tone.vibratoPercent * wobble / (100 * 32767);
    }
    phase += static_cast<uint32_t>(milliHz * 4294967296LL / (static_cast<int64_t>(kWaveRate) * 1000));
    int64_t level = tone.amplitude;
    if (i < attack) level = level * i / attack;
    if (i >= length - release) level = level * (length - i) / release;
    if (tone.pluck) level = level * (length - i + length / 8) / (length + length / 8);
    mix[static_cast<size_t>(start + i)] +=
        static_cast<int32_t>(WaveValue(tone.wave, phase, noise) * level / 32767);
  }
}

std::vector<uint8_t> Render(const std::vector<Tone>& tones) {
  std::vector<int32_t> mix;
  for (const Tone& tone : tones) AddTone(mix, tone);
  std::vector<uint8_t> samples;
  samples.reserve(mix.size());
  for (int32_t value : mix)
    samples.push_back(static_cast<uint8_t>(128 + std::clamp(value * 127 / 32767, -127, 127)));
  return samples;
}

// A tone from `fromHz` sliding to `toHz`; plucked tones fade over their whole length.
Tone Sweep(int startMs, int lengthMs, int fromHz, int toHz, int amplitude, Wave wave, bool pluck = false) {
  Tone tone;
  tone.startMs = startMs;
  tone.lengthMs = lengthMs;
  tone.fromHz = fromHz;
  tone.toHz = toHz;
  tone.amplitude = amplitude;
  tone.wave = wave;
  tone.pluck = pluck;
  return tone;
}

Tone Note(int startMs, int lengthMs, int hz, int amplitude, Wave wave, bool pluck = false) {
  return Sweep(startMs, lengthMs, hz, hz, amplitude, wave, pluck);
}

Tone WithVibrato(Tone tone, int hz, int percent) {
  tone.vibratoHz = hz;
  tone.vibratoPercent = percent;
  return tone;
}

}  // namespace

std::vector<uint8_t> SynthesiseEat() {
  // A gulp: a quick rising sweep, then a bright blip.
  return Render({Sweep(0, 90, 220, 880, 24000, Wave::kMellow), Note(85, 60, 1320, 16000, Wave::kSine, true)});
}

std::vector<uint8_t> SynthesiseDie() {
  // A crunch, then a long wailing fall.
  return Render({Note(0, 70, 1, 12000, Wave::kNoise, true),
                 WithVibrato(Sweep(20, 850, 660, 70, 22000, Wave::kReed, true), 9, 6)});
}

std::vector<uint8_t> SynthesiseClear() {
  // A rising fanfare, C E G and a held high C over a G below it.
  return Render({Note(0, 110, 523, 15000, Wave::kReed), Note(110, 110, 659, 15000, Wave::kReed),
                 Note(220, 110, 784, 15000, Wave::kReed),
                 WithVibrato(Note(330, 480, 1047, 15000, Wave::kReed, true), 6, 1),
                 Note(330, 480, 784, 9000, Wave::kMellow, true)});
}

std::vector<uint8_t> SynthesiseMenuMove() {
  return Render({Note(0, 55, 1175, 16000, Wave::kMellow, true)});
}

std::vector<uint8_t> SynthesiseMenuConfirm() {
  return Render({Note(0, 70, 784, 18000, Wave::kMellow), Note(70, 150, 1175, 18000, Wave::kMellow, true)});
}

std::vector<uint8_t> SynthesiseMenuExit() {
  return Render({Note(0, 100, 784, 16000, Wave::kMellow), Note(100, 100, 587, 16000, Wave::kMellow),
                 Note(200, 260, 392, 16000, Wave::kMellow, true)});
}

}  // namespace coilrun

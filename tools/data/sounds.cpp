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

}  // namespace

std::vector<uint8_t> SynthesiseEat() {
  // A gulp: a quick rising sweep, then a bright blip.
  return Render({
      {.startMs = 0, .lengthMs = 90, .fromHz = 220, .toHz = 880, .amplitude = 24000, .wave = Wave::kMellow},
      {.startMs = 85,
       .lengthMs = 60,
       .fromHz = 1320,
       .toHz = 1320,
       .amplitude = 16000,
       .wave = Wave::kSine,
       .pluck = true},
  });
}

std::vector<uint8_t> SynthesiseDie() {
  // A crunch, then a long wailing fall.
  return Render({
      {.startMs = 0,
       .lengthMs = 70,
       .fromHz = 1,
       .toHz = 1,
       .amplitude = 12000,
       .wave = Wave::kNoise,
       .pluck = true},
      {.startMs = 20,
       .lengthMs = 850,
       .fromHz = 660,
       .toHz = 70,
       .amplitude = 22000,
       .wave = Wave::kReed,
       .vibratoHz = 9,
       .vibratoPercent = 6,
       .pluck = true},
  });
}

std::vector<uint8_t> SynthesiseClear() {
  // A rising fanfare, C E G and a held high C over a G below it.
  return Render({
      {.startMs = 0, .lengthMs = 110, .fromHz = 523, .toHz = 523, .amplitude = 15000, .wave = Wave::kReed},
      {.startMs = 110, .lengthMs = 110, .fromHz = 659, .toHz = 659, .amplitude = 15000, .wave = Wave::kReed},
      {.startMs = 220, .lengthMs = 110, .fromHz = 784, .toHz = 784, .amplitude = 15000, .wave = Wave::kReed},
      {.startMs = 330,
       .lengthMs = 480,
       .fromHz = 1047,
       .toHz = 1047,
       .amplitude = 15000,
       .wave = Wave::kReed,
       .vibratoHz = 6,
       .vibratoPercent = 1,
       .pluck = true},
      {.startMs = 330,
       .lengthMs = 480,
       .fromHz = 784,
       .toHz = 784,
       .amplitude = 9000,
       .wave = Wave::kMellow,
       .pluck = true},
  });
}

std::vector<uint8_t> SynthesiseMenuMove() {
  return Render({
      {.startMs = 0,
       .lengthMs = 55,
       .fromHz = 1175,
       .toHz = 1175,
       .amplitude = 16000,
       .wave = Wave::kMellow,
       .pluck = true},
  });
}

std::vector<uint8_t> SynthesiseMenuConfirm() {
  return Render({
      {.startMs = 0, .lengthMs = 70, .fromHz = 784, .toHz = 784, .amplitude = 18000, .wave = Wave::kMellow},
      {.startMs = 70,
       .lengthMs = 150,
       .fromHz = 1175,
       .toHz = 1175,
       .amplitude = 18000,
       .wave = Wave::kMellow,
       .pluck = true},
  });
}

std::vector<uint8_t> SynthesiseMenuExit() {
  return Render({
      {.startMs = 0, .lengthMs = 100, .fromHz = 784, .toHz = 784, .amplitude = 16000, .wave = Wave::kMellow},
      {.startMs = 100,
       .lengthMs = 100,
       .fromHz = 587,
       .toHz = 587,
       .amplitude = 16000,
       .wave = Wave::kMellow},
      {.startMs = 200,
       .lengthMs = 260,
       .fromHz = 392,
       .toHz = 392,
       .amplitude = 16000,
       .wave = Wave::kMellow,
       .pluck = true},
  });
}

}  // namespace coilrun

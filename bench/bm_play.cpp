// The cost of play's frame, of the fade and of the keyed blit, each against a copy of one whole frame
// measured in the same run; and the keyed blit against SDL's.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "display/display.h"
#include "display/fade.h"
#include "game/play_state.h"
#include "game/play_tick.h"
#include "memory_reset.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_keyboard.h"

namespace coilrun {
namespace {

constexpr size_t kFrameBytes = size_t{kCanvasPixelCount} * sizeof(uint16_t);
constexpr int kWorstCaseLength = 1080;
constexpr uint16_t kSpriteKey = 0;

// Processor time per iteration of the last run of each benchmark, in nanoseconds, for the ratios to the
// frame copy. Processor time rather than wall time, so that other work on the machine weighs less.
std::map<std::string, double>& Timings() {
  static std::map<std::string, double> timings;
  return timings;
}

// Goals, as the largest allowed multiple of the frame copy.
const std::map<std::string, double> kGoals = {{"BM_PlayTickWorstCase", 6.0}, {"BM_FadeStep", 2.5}};

double ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Times the loop itself, so that each benchmark can report its multiple of the frame copy.
template <typename Body>
void TimeLoop(benchmark::State& state, const char* name, Body body) {
  const double start = ThreadCpuNanoseconds();
  for (auto _ : state) body();
  const double stop = ThreadCpuNanoseconds();
  if (state.iterations() == 0) return;
  const double perIteration = (stop - start) / static_cast<double>(state.iterations());
  Timings()[name] = perIteration;
  const auto memcpyTime = Timings().find("BM_Memcpy");
  if (memcpyTime != Timings().end() && std::string(name) != "BM_Memcpy") {
    state.counters["x_memcpy"] = perIteration / memcpyTime->second;
  }
}

// The ratios and goals, once every benchmark has run.
struct Summary {
  // Made first, so that the timings outlive the summary.
  Summary() { Timings(); }
  ~Summary() {
    const auto memcpyTime = Timings().find("BM_Memcpy");
    if (memcpyTime == Timings().end()) return;
    std::printf("\nprocessor time per iteration, as a multiple of one 640x480 frame copy (%.1f us):\n",
                memcpyTime->second / 1e3);
    for (const auto& [name, time] : Timings()) {
      if (name == "BM_Memcpy") continue;
      std::printf("  %-28s %8.1f us  %5.2fx", name.c_str(), time / 1e3, time / memcpyTime->second);
      const auto goal = kGoals.find(name);
      if (goal != kGoals.end()) {
        std::printf("  goal <= %.1fx: %s", goal->second,
                    time / memcpyTime->second <= goal->second ? "met" : "missed");
      }
      std::printf("\n");
    }
    const auto ours = Timings().find("BM_BlitKeyedFullScreen");
    const auto sdl = Timings().find("BM_SdlBlitKeyedFullScreen");
    if (ours != Timings().end() && sdl != Timings().end()) {
      std::printf("  keyed blit, ours / SDL's: %.2f  goal <= 1: %s\n", ours->second / sdl->second,
                  ours->second <= sdl->second ? "met" : "missed");
    }
  }
} summary;

// A sprite-like picture: runs of colour with about a third of the pixels the key, the same for both blits.
std::vector<uint16_t> KeyedPicture() {
  std::mt19937 random(12345);
  std::vector<uint16_t> pixels(kCanvasPixelCount);
  size_t i = 0;
  while (i < pixels.size()) {
    const size_t run = 1 + random() % 24;
    const uint16_t colour = random() % 3 == 0 ? kSpriteKey : static_cast<uint16_t>(1 + random() % 0xFFFE);
    for (size_t k = 0; k < run && i < pixels.size(); ++k, ++i) pixels[i] = colour;
  }
  return pixels;
}

Surface* FilledSurface(int16_t width, int16_t height, uint16_t colour, bool keyed) {
  Surface* surface = CreateOffscreenSurface(width, height);
  std::fill(surface->pixels.begin(), surface->pixels.end(), colour);
  if (keyed) SetSourceColorKey(surface, kSpriteKey);
  return surface;
}

// The display and devices up over memory, the frame log off, and every picture play draws made in memory.
void SetUpPlay() {
  MemoryResetAll();
  InitDisplay();
  InitKeyboard();
  InitSound();
  MemoryRecordFrames(false);
  BuildDirectionTables();
  StageBackground = CreateOffscreenSurface(kScreenWidth, kScreenHeight);
  StageBackground->pixels = KeyedPicture();
  for (Surface*& digit : DigitSprites)
    digit = FilledSurface(kDigitSurfaceWidth, kDigitSurfaceHeight, 0x7BEF, true);
  StageLabelSheet = FilledSurface(kStageLabelSheetWidth, kStageLabelSheetHeight, 0x39E7, true);
  EnemySprite1 = FilledSurface(kEnemyWidth, kEnemyHeight, 0xAAAA, true);
  EnemySprite2 = FilledSurface(kEnemyWidth, kEnemyHeight, 0x5555, true);
  PlaySheet = FilledSurface(kScreenWidth, kScreenHeight, 0x1111, true);
}

void TearDownPlay() {
  ReleaseSharedSprites();
  ReleaseSurface(StageBackground);
  ReleaseSurface(PlaySheet);
  MemoryResetAll();
}

// Stage 6 with the longest body it can reach, laid out in rows across the field, the head circling.
void StartWorstCaseStage() {
  Play = PlayState{};
  Play.StageIndex = kStageCount - 1;
  Play.Score = 123456;
  SeedRandom(1);
  StartStage();
  Play.EnemyX = 500;
  Play.EnemyY = 400;
  for (int i = 0; i < kWorstCaseLength; ++i) {
    Play.TrailX[i] = static_cast<int16_t>(20 + (i % 100) * 5);
    Play.TrailY[i] = static_cast<int16_t>(20 + (i / 100) * 14);
  }
  Play.HeadIndex = kWorstCaseLength - 1;
  Play.TrailX[Play.HeadIndex] = 320;
  Play.TrailY[Play.HeadIndex] = 300;
  Play.Length = kWorstCaseLength;
  Play.TargetLength = kWorstCaseLength;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint16_t> from = KeyedPicture();
  std::vector<uint16_t> to(kCanvasPixelCount);
  TimeLoop(state, "BM_Memcpy", [&] {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::ClobberMemory();
  });
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_Memcpy);

void BM_PlayTickWorstCase(benchmark::State& state) {
  SetUpPlay();
  StartWorstCaseStage();
  // Turning all the time keeps the head on a small circle inside the field, whatever the count of ticks.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyLeft});
  TimeLoop(state, "BM_PlayTickWorstCase", [&] { benchmark::DoNotOptimize(PlayTick()); });
  TearDownPlay();
}
BENCHMARK(BM_PlayTickWorstCase);

void BM_FadeStep(benchmark::State& state) {
  SetUpPlay();
  int w = 0;
  TimeLoop(state, "BM_FadeStep", [&] {
    FadeStep(w, 0x8410);
    w = (w + 7) % 33;
  });
  TearDownPlay();
}
BENCHMARK(BM_FadeStep);

void BM_StampBody1080(benchmark::State& state) {
  SetUpPlay();
  StartWorstCaseStage();
  LockCanvas();
  TimeLoop(state, "BM_StampBody1080", [] {
    StampBody();
    benchmark::ClobberMemory();
  });
  UnlockCanvas();
  TearDownPlay();
}
BENCHMARK(BM_StampBody1080);

void BM_BlitKeyedFullScreen(benchmark::State& state) {
  SetUpPlay();
  Surface* picture = CreateOffscreenSurface(kScreenWidth, kScreenHeight);
  picture->pixels = KeyedPicture();
  SetSourceColorKey(picture, kSpriteKey);
  TimeLoop(state, "BM_BlitKeyedFullScreen", [&] {
    BlitToCanvasKeyed(picture, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
    benchmark::ClobberMemory();
  });
  ReleaseSurface(picture);
  TearDownPlay();
}
BENCHMARK(BM_BlitKeyedFullScreen);

void BM_SdlBlitKeyedFullScreen(benchmark::State& state) {
  std::vector<uint16_t> from = KeyedPicture();
  std::vector<uint16_t> to(kCanvasPixelCount, 0x2104);
  constexpr int kPitch = kScreenWidth * static_cast<int>(sizeof(uint16_t));
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(from.data(), kScreenWidth, kScreenHeight, 16,
                                                           kPitch, SDL_PIXELFORMAT_RGB565);
  SDL_Surface* destination = SDL_CreateRGBSurfaceWithFormatFrom(to.data(), kScreenWidth, kScreenHeight, 16,
                                                                kPitch, SDL_PIXELFORMAT_RGB565);
  if (source == nullptr || destination == nullptr) {
    state.SkipWithError(SDL_GetError());
    return;
  }
  SDL_SetColorKey(source, SDL_TRUE, kSpriteKey);
  SDL_SetSurfaceRLE(source, 0);
  TimeLoop(state, "BM_SdlBlitKeyedFullScreen", [&] {
    SDL_BlitSurface(source, nullptr, destination, nullptr);
    benchmark::ClobberMemory();
  });
  SDL_FreeSurface(source);
  SDL_FreeSurface(destination);
}
BENCHMARK(BM_SdlBlitKeyedFullScreen);

}  // namespace
}  // namespace coilrun

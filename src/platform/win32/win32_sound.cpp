// The Windows sound device: the wave-out device fed unsigned 8-bit mono at 11025 Hz, Windows converting for
// the hardware, from one effect buffer that a feeding thread plays through a ring of short blocks.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "devices/sound_device.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

constexpr DWORD kSampleRate = 11025;
constexpr uint8_t kSilence = 128;
// Samples over which a stopped effect glides to silence instead of clicking (about 3 ms).
constexpr int kFadeOutSamples = 32;
// The blocks queued on the device at once and their length: about 70 ms of sound ahead of the speaker.
constexpr size_t kBlockCount = 4;
constexpr size_t kBlockSamples = 192;

// The open device, null when none; a silent device keeps every operation working without one.
HWAVEOUT device = nullptr;
bool silent = false;
bool opened = false;
// The feeding thread, the event by which the device says a block is done, and the request to stop.
HANDLE feeder = nullptr;
HANDLE blockDone = nullptr;
volatile bool stopFeeding = false;
std::array<WAVEHDR, kBlockCount> headers{};
std::array<std::array<uint8_t, kBlockSamples>, kBlockCount> blocks{};
// What the feeder plays; guarded by `guard`.
CRITICAL_SECTION guard;
struct Voice {
  std::vector<uint8_t> samples;  // the effect buffer
  size_t position = 0;           // the play position
  bool playing = false;
  bool looping = false;
  std::vector<uint8_t> tail;  // the glide to silence of an effect just released
  size_t tailPosition = 0;
};
Voice voice;
// The level every sample is played at: volume in percent, and mute. Kept apart from the device, which
// it outlives; read by the feeder under `guard` once the device is open.
int volume = kFullVolume;
bool muted = false;

uint8_t AtLevel(uint8_t sample) {
  if (muted) return kSilence;
  return static_cast<uint8_t>(kSilence + (sample - kSilence) * volume / kFullVolume);
}

void FillBlock(uint8_t* out, size_t length) {
  EnterCriticalSection(&guard);
  for (size_t i = 0; i < length; ++i) {
    uint8_t sample = kSilence;
    if (voice.tailPosition < voice.tail.size()) {
      sample = voice.tail[voice.tailPosition++];
    } else if (voice.playing && !voice.samples.empty()) {
      sample = voice.samples[voice.position++];
      if (voice.position == voice.samples.size()) {
        // A single play ends here and leaves the position at the start for the next request.
        voice.position = 0;
        voice.playing = voice.looping;
      }
    }
    out[i] = AtLevel(sample);
  }
  LeaveCriticalSection(&guard);
}

// Refills every block the device has finished with and queues it again, until asked to stop.
DWORD WINAPI FeedDevice(void*) {
  while (!stopFeeding) {
    WaitForSingleObject(blockDone, INFINITE);
    for (WAVEHDR& header : headers) {
      if (stopFeeding || (header.dwFlags & WHDR_DONE) == 0) continue;
      FillBlock(reinterpret_cast<uint8_t*>(header.lpData), kBlockSamples);
      header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
      waveOutWrite(device, &header, sizeof header);
    }
  }
  return 0;
}

std::string WaveOutErrorText(MMRESULT result) {
  wchar_t text[MAXERRORLENGTH] = L"";
  if (waveOutGetErrorTextW(result, text, MAXERRORLENGTH) != MMSYSERR_NOERROR) {
    return "error " + std::to_string(result);
  }
  return Win32Narrow(text);
}

// Opens the default device for the game's format. False, with the reason, when there is none.
bool OpenSystemDevice(std::string* why) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = kSampleRate;
  format.nAvgBytesPerSec = kSampleRate;
  format.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  blockDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const MMRESULT result =
      waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(blockDone), 0, CALLBACK_EVENT);
  if (result == MMSYSERR_NOERROR) return true;
  *why = "waveOutOpen: " + WaveOutErrorText(result);
  device = nullptr;
  CloseHandle(blockDone);
  blockDone = nullptr;
  return false;
}

bool StartFeeding() {
  for (size_t i = 0; i < kBlockCount; ++i) {
    blocks[i].fill(kSilence);
    headers[i] = WAVEHDR{};
    headers[i].lpData = reinterpret_cast<LPSTR>(blocks[i].data());
    headers[i].dwBufferLength = kBlockSamples;
    if (waveOutPrepareHeader(device, &headers[i], sizeof headers[i]) != MMSYSERR_NOERROR) return false;
    waveOutWrite(device, &headers[i], sizeof headers[i]);
  }
  stopFeeding = false;
  feeder = CreateThread(nullptr, 0, FeedDevice, nullptr, 0, nullptr);
  if (feeder != nullptr) SetThreadPriority(feeder, THREAD_PRIORITY_TIME_CRITICAL);
  return feeder != nullptr;
}

}  // namespace

bool DeviceCreateSoundObject() {
  InitializeCriticalSection(&guard);
  opened = true;
  std::string why;
  if (OpenSystemDevice(&why)) return true;
  // Players expect a silent game rather than none: without a sound device the game goes on mute.
  std::fprintf(stderr, "coilrun: no sound device (%s); playing silently\n", why.c_str());
  silent = true;
  return true;
}

bool DeviceSetSoundCooperativeLevel() {
  if (!opened) return false;
  return silent || StartFeeding();
}

bool DeviceCreateSoundBuffer(uint32_t size) {
  if (!opened || size == 0) return false;
  EnterCriticalSection(&guard);
  voice.samples.assign(size, kSilence);
  voice.position = 0;
  voice.playing = false;
  voice.looping = false;
  LeaveCriticalSection(&guard);
  return true;
}

bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize) {
  if (!opened || offset > voice.samples.size() || size > voice.samples.size() - offset) return false;
  EnterCriticalSection(&guard);
  *first = voice.samples.data() + offset;
  *firstSize = size;
  *second = nullptr;
  *secondSize = 0;
  return true;
}

bool DeviceUnlockSoundBuffer(uint8_t*, uint32_t, uint8_t*, uint32_t) {
  LeaveCriticalSection(&guard);
  return true;
}

bool DevicePlaySoundBuffer(bool loop) {
  if (!opened || voice.samples.empty()) return false;
  EnterCriticalSection(&guard);
  voice.playing = true;
  voice.looping = loop;
  LeaveCriticalSection(&guard);
  return true;
}

void DeviceReleaseSoundBuffer() {
  if (!opened) return;
  EnterCriticalSection(&guard);
  voice.tail.clear();
  voice.tailPosition = 0;
  if (voice.playing && !voice.samples.empty()) {
    // Glide from where the effect is to silence over a few milliseconds.
    for (int i = 0; i < kFadeOutSamples; ++i) {
      const int sample = voice.samples[(voice.position + static_cast<size_t>(i)) % voice.samples.size()];
      const int faded = kSilence + (sample - kSilence) * (kFadeOutSamples - i) / kFadeOutSamples;
      voice.tail.push_back(static_cast<uint8_t>(faded));
    }
  }
  voice.samples.clear();
  voice.samples.shrink_to_fit();
  voice.position = 0;
  voice.playing = false;
  LeaveCriticalSection(&guard);
}

void DeviceReleaseSoundObject() {
  if (!opened) return;
  if (feeder != nullptr) {
    stopFeeding = true;
    SetEvent(blockDone);
    WaitForSingleObject(feeder, INFINITE);
    CloseHandle(feeder);
    feeder = nullptr;
  }
  if (device != nullptr) {
    waveOutReset(device);
    for (WAVEHDR& header : headers) {
      if ((header.dwFlags & WHDR_PREPARED) != 0) waveOutUnprepareHeader(device, &header, sizeof header);
    }
    waveOutClose(device);
    device = nullptr;
  }
  if (blockDone != nullptr) CloseHandle(blockDone);
  blockDone = nullptr;
  voice = Voice{};
  silent = false;
  opened = false;
  DeleteCriticalSection(&guard);
}

void DeviceSetSoundLevel(int newVolume, bool newMuted) {
  if (opened) EnterCriticalSection(&guard);
  volume = newVolume < 0 ? 0 : (newVolume > kFullVolume ? kFullVolume : newVolume);
  muted = newMuted;
  if (opened) LeaveCriticalSection(&guard);
}

void DeviceGetSoundLevel(int* currentVolume, bool* currentlyMuted) {
  *currentVolume = volume;
  *currentlyMuted = muted;
}

void Win32StepSoundLevel(int steps, bool toggleMute) {
  if (toggleMute) {
    DeviceSetSoundLevel(volume, !muted);
  } else {
    DeviceSetSoundLevel(volume + steps * kVolumeStep, false);
  }
  Win32ShowTitleNote(muted ? std::string("sound off") : "volume " + std::to_string(volume) + "%");
}

}  // namespace coilrun

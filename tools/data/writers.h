// File writers of the default data: 256-colour PCX, 24-bit and 8-bit Windows bitmaps, 8-bit mono wave files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture.h"

namespace coilrun {

using Bytes = std::vector<uint8_t>;

inline constexpr uint32_t kWaveRate = 11025;

// A 256-colour run-length coded PCX file, bytes per line equal to the width (which must be even, so that
// no row needs a padding byte), the palette in the last 768 bytes after the 0x0C marker. None when the
// picture has more than 256 colours or an odd width.
std::optional<Bytes> EncodePcx(const Picture& picture);
// A bottom-up Windows bitmap with 24 bits per pixel.
Bytes EncodeBitmap24(const Picture& picture);
// A bottom-up Windows bitmap with a 256-entry palette; none when the picture has more than 256 colours.
std::optional<Bytes> EncodeBitmap8(const Picture& picture);
// A RIFF wave file: the 16-byte "fmt " chunk (PCM, mono, 11025 Hz, 8 bits), then "data".
Bytes EncodeWave(const std::vector<uint8_t>& samples);

// Writes the whole file; false with `error` set when it cannot.
bool WriteBytes(const std::string& path, const Bytes& bytes, std::string* error);

}  // namespace coilrun

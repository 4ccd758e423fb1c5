"""The in-memory layer's frame checksum, for the scripts that compare a real layer's frames with it.

Run as a program, it reads a screenshot's 8-bit RGB bytes on standard input and prints the checksum of its
5-6-5 pixels (the top bits of each channel)."""
import sys


def checksum(pixels):
    """FNV-1a steps over four pixels at a time as one little-endian 64-bit word, then over each pixel left
    over."""
    h = 1469598103934665603
    mask = (1 << 64) - 1
    whole = len(pixels) - len(pixels) % 4
    for i in range(0, whole, 4):
        word = pixels[i] | (pixels[i + 1] << 16) | (pixels[i + 2] << 32) | (pixels[i + 3] << 48)
        h = ((h ^ word) * 1099511628211) & mask
    for p in pixels[whole:]:
        h = ((h ^ p) * 1099511628211) & mask
    return h


if __name__ == "__main__":
    data = sys.stdin.buffer.read()
    print(checksum([((data[i] >> 3) << 11) | ((data[i + 1] >> 2) << 5) | (data[i + 2] >> 3)
                    for i in range(0, len(data) - 2, 3)]))

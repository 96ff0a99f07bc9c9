#pragma once
// BMP pictures as the texture upload wants them. SDL's own BMP reader trusts its header: absurd
// bit counts, short headers or huge sizes make it read through null palettes, uninitialised
// fields or overflowed buffer sizes. So every picture is read into memory and its header
// checked here first; SDL only ever sees files that passed.
#include <cstddef>
#include <string>

struct SDL_Surface;

// Largest width or height accepted; the biggest picture the game ships is 1024 x 512.
constexpr int kMaxBmpSide = 8192;

// Why `size` bytes of a BMP file cannot be handed to SDL's BMP reader; empty when they can:
// a complete header of a known size, a sane size, 1, 4, 8, 16, 24 or 32 bits a pixel, a
// palette that is there and long enough, no compression SDL cannot read, and all the pixels.
std::string bmpProblem(const unsigned char* data, std::size_t size);

// Checks and decodes a BMP held in memory into three bytes a pixel in blue-green-red order,
// rows top first, padded to four bytes. Null with `problem` set when it cannot be used; the
// caller frees the surface.
SDL_Surface* decodeBgrBmp(const unsigned char* data, std::size_t size, std::string& problem);

// The same from a file.
SDL_Surface* loadBgrBmp(const char* fileName, std::string& problem);

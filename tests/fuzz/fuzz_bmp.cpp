// BMP check and decoding: nothing that passes the check may make SDL's reader or the
// conversion to blue-green-red rows misbehave, and what comes out is what the upload expects.
#include <SDL/SDL.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "animation/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem;
    SDL_Surface* surface = decodeBgrBmp(data, size, problem);
    if (!surface) {
        if (problem.empty()) std::abort();  // a refusal must say why
        return 0;
    }
    const bool shaped = surface->format->BitsPerPixel == 24 && surface->w >= 1 &&
                        surface->w <= kMaxBmpSide && surface->h >= 1 && surface->h <= kMaxBmpSide &&
                        surface->pitch == ((surface->w * 3 + 3) & ~3);
    if (!shaped) std::abort();
    // Touch every byte the upload will hand to OpenGL.
    const uint8_t* pixels = static_cast<const uint8_t*>(surface->pixels);
    unsigned sum = 0;
    for (int i = 0; i < surface->pitch * surface->h; ++i) sum += pixels[i];
    SDL_FreeSurface(surface);
    return static_cast<int>(sum & 0);
}

#include "animation/bmp.h"

#include <SDL/SDL.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const std::size_t FILE_HEADER_BYTES = 14;
const uint32_t BI_RGB_CODE = 0;
const uint32_t BI_BITFIELDS_CODE = 3;
const std::size_t MASK_BYTES = 12;
// Header, largest palette and the pixels of the largest picture at 32 bits.
const uint64_t MAX_FILE_BYTES =
    FILE_HEADER_BYTES + 124 + 256 * 4 + uint64_t(kMaxBmpSide) * kMaxBmpSide * 4;

uint32_t le16(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const unsigned char* p) { return le16(p) | le16(p + 2) << 16; }

// The header fields SDL's reader acts on, whatever the header's size.
struct BmpHeader {
    uint64_t pixelOffset;
    uint32_t infoSize;
    int64_t width, height;
    uint32_t bits;
    uint32_t compression;
    uint32_t colours;  // palette entries written in the file; 0 means all the bit count allows
};

bool knownInfoSize(uint32_t size) {
    // OS/2 core, Windows info, the two bit-field extensions, version 4 and version 5.
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

BmpHeader readHeader(const unsigned char* d) {
    BmpHeader h{};
    h.pixelOffset = le32(d + 10);
    h.infoSize = le32(d + 14);
    if (h.infoSize == 12) {
        h.width = le16(d + 18);
        h.height = le16(d + 20);
        h.bits = le16(d + 24);
        return h;
    }
    h.width = int32_t(le32(d + 18));
    h.height = int32_t(le32(d + 22));
    h.bits = le16(d + 28);
    h.compression = le32(d + 30);
    h.colours = le32(d + 46);
    return h;
}

bool sideFits(int64_t side) { return side >= 1 && side <= kMaxBmpSide; }

std::string sizeProblem(const BmpHeader& h) {
    // A negative height only means the rows are stored top first.
    if (sideFits(h.width) && sideFits(h.height < 0 ? -h.height : h.height)) return "";
    return "its size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
           " is not within 1 to " + std::to_string(kMaxBmpSide) + " on each side";
}

std::string depthProblem(const BmpHeader& h) {
    switch (h.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return "its bit count " + std::to_string(h.bits) + " is not 1, 4, 8, 16, 24 or 32";
    }
    if (h.compression == BI_RGB_CODE) return "";
    if (h.compression == BI_BITFIELDS_CODE && (h.bits == 16 || h.bits == 32)) return "";
    return "its compression " + std::to_string(h.compression) +
           " is not supported (only uncompressed pictures, with bit fields at 16 or 32 bits)";
}

// Colour masks that SDL reads right after the first 40 bytes of the information header.
std::string maskProblem(const BmpHeader& h, std::size_t size) {
    const bool readsMasks =
        (h.bits == 16 || h.bits == 32) &&
        (h.compression == BI_BITFIELDS_CODE || h.pixelOffset != FILE_HEADER_BYTES + h.infoSize);
    const std::size_t start = FILE_HEADER_BYTES + (h.infoSize < 40 ? h.infoSize : 40);
    if (!readsMasks || start + MASK_BYTES <= size) return "";
    return "it ends before its colour masks";
}

std::string paletteProblem(const BmpHeader& h, std::size_t size) {
    if (h.bits > 8) return "";
    const uint64_t most = uint64_t(1) << h.bits;
    if (h.colours > most)
        return "its palette of " + std::to_string(h.colours) + " colours is longer than " +
               std::to_string(most) + " (the most " + std::to_string(h.bits) +
               " bits can choose from)";
    const uint64_t entries = h.colours ? h.colours : most;
    const uint64_t entryBytes = h.infoSize == 12 ? 3 : 4;
    if (FILE_HEADER_BYTES + h.infoSize + entries * entryBytes <= size) return "";
    return "it ends before its palette of " + std::to_string(entries) + " colours";
}

std::string pixelProblem(const BmpHeader& h, std::size_t size) {
    if (h.pixelOffset < FILE_HEADER_BYTES + h.infoSize)
        return "its pixels are said to start inside its header (at byte " +
               std::to_string(h.pixelOffset) + ")";
    const uint64_t rowBytes = (uint64_t(h.width) * h.bits + 31) / 32 * 4;
    const uint64_t rows = uint64_t(h.height < 0 ? -h.height : h.height);
    const uint64_t needed = h.pixelOffset + rowBytes * rows;
    if (needed <= size) return "";
    return "it is cut short: " + std::to_string(size) + " bytes where its pixels need " +
           std::to_string(needed);
}

// The texture upload hands OpenGL three bytes per pixel in blue-green-red order, rows padded
// to four bytes; any other layout is converted to that first.
SDL_Surface* toBgr24(SDL_Surface* surface) {
    const SDL_PixelFormat* f = surface->format;
    const Uint32 red = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 0x00FF0000 : 0x000000FF;
    const Uint32 blue = SDL_BYTEORDER == SDL_LIL_ENDIAN ? 0x000000FF : 0x00FF0000;
    const bool packed = surface->pitch == ((surface->w * 3 + 3) & ~3);
    if (f->BitsPerPixel == 24 && f->Rmask == red && f->Bmask == blue && packed) return surface;
    SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, red, 0x0000FF00, blue, 0);
    SDL_Surface* converted =
        model ? SDL_ConvertSurface(surface, model->format, SDL_SWSURFACE) : nullptr;
    if (model) SDL_FreeSurface(model);
    SDL_FreeSurface(surface);
    return converted;
}

std::string sdlProblem() {
    const char* error = SDL_GetError();
    return error && *error ? error : "SDL cannot read it";
}

}  // namespace

std::string bmpProblem(const unsigned char* data, std::size_t size) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return "it is not a BMP picture (it does not start with \"BM\")";
    if (size < FILE_HEADER_BYTES + 4) return "its header is cut short";
    const uint32_t infoSize = le32(data + FILE_HEADER_BYTES);
    if (!knownInfoSize(infoSize))
        return "its information header has an unknown size (" + std::to_string(infoSize) +
               " bytes)";
    if (size < FILE_HEADER_BYTES + infoSize) return "its header is cut short";
    const BmpHeader h = readHeader(data);
    for (const std::string& problem :
         {sizeProblem(h), depthProblem(h), maskProblem(h, size), paletteProblem(h, size)})
        if (!problem.empty()) return problem;
    return pixelProblem(h, size);
}

SDL_Surface* decodeBgrBmp(const unsigned char* data, std::size_t size, std::string& problem) {
    problem = bmpProblem(data, size);
    if (!problem.empty()) return nullptr;
    SDL_ClearError();
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_Surface* surface = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (surface) surface = toBgr24(surface);
    if (!surface) problem = sdlProblem();
    return surface;
}

SDL_Surface* loadBgrBmp(const char* fileName, std::string& problem) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName, "rb"), std::fclose);
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0) {
        problem = std::string("cannot open it: ") + std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode) || uint64_t(info.st_size) > MAX_FILE_BYTES) {
        problem = S_ISREG(info.st_mode) ? "it is too large for a picture" : "it is not a file";
        return nullptr;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(info.st_size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        problem = "cannot read it";
        return nullptr;
    }
    return decodeBgrBmp(bytes.data(), bytes.size(), problem);
}

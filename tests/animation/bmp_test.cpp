// Damaged and crafted BMP files: every one is refused with its reason before SDL sees it, and
// what passes the check decodes to three bytes a pixel.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "animation/bmp.h"
#include "animation/moves.h"
#include "tests/support/data_folder.h"

namespace {

// The header fields a crafted file sets; the pixels follow the palette, all of them present.
struct BmpFields {
    uint32_t infoSize = 40;
    int32_t width = 2;
    int32_t height = 2;
    uint32_t bits = 24;
    uint32_t compression = 0;
    uint32_t colours = 0;
    bool withMasks = false;
};

void put(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> craft(const BmpFields& s) {
    const uint32_t paletteEntries = s.bits <= 8 ? (s.colours ? s.colours : 1u << s.bits) : 0;
    const uint32_t entryBytes = s.infoSize == 12 ? 3 : 4;
    const uint32_t offset = 14 + s.infoSize + (s.withMasks ? 12 : 0) + paletteEntries * entryBytes;
    std::vector<unsigned char> out = {'B', 'M'};
    put(out, 0, 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, s.infoSize, 4);
    if (s.infoSize == 12) {
        put(out, static_cast<uint32_t>(s.width), 2);
        put(out, static_cast<uint32_t>(s.height), 2);
        put(out, 1, 2);
        put(out, s.bits, 2);
    } else {
        put(out, static_cast<uint32_t>(s.width), 4);
        put(out, static_cast<uint32_t>(s.height), 4);
        put(out, 1, 2);
        put(out, s.bits, 2);
        put(out, s.compression, 4);
        for (int i = 0; i < 3; ++i) put(out, 0, 4);
        put(out, s.colours, 4);
        put(out, 0, 4);
        out.resize(14 + s.infoSize, 0);
    }
    if (s.withMasks) {
        put(out, 0xF800, 4);
        put(out, 0x07E0, 4);
        put(out, 0x001F, 4);
    }
    for (uint32_t i = 0; i < paletteEntries; ++i) put(out, 0x00102030u * (i % 5), entryBytes);
    const int64_t rows = s.height < 0 ? -int64_t(s.height) : s.height;
    const int64_t rowBytes = (int64_t(s.width) * s.bits + 31) / 32 * 4;
    out.resize(out.size() + static_cast<std::size_t>(rowBytes * rows), 0x01);
    return out;
}

std::string problemOf(const std::vector<unsigned char>& bytes) {
    return bmpProblem(bytes.data(), bytes.size());
}

// Decodes through SDL as the game does; on success the picture must be 24-bit blue-green-red.
std::string decode(const std::vector<unsigned char>& bytes, int* width = nullptr) {
    std::string problem;
    SDL_Surface* s = decodeBgrBmp(bytes.data(), bytes.size(), problem);
    if (!s) return problem.empty() ? "null surface without a reason" : problem;
    EXPECT_EQ(s->format->BitsPerPixel, 24);
    EXPECT_EQ(s->pitch, (s->w * 3 + 3) & ~3);
    if (width) *width = s->w;
    SDL_FreeSurface(s);
    return "";
}

TEST(BmpCheck, OnlyTheSixUsableBitCountsPassOverTheWholeRange) {
    // A bit count of 4100 once reached SDL as "4 bits, no palette" and crashed the conversion.
    int accepted = 0;
    for (uint32_t bits = 0; bits <= 0xFFFF; ++bits) {
        BmpFields fields;
        fields.bits = bits;
        const bool usable =
            bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        // Only the usable counts get a palette and pixels sized for them: the others are
        // refused for their bit count alone, whatever follows.
        if (!usable) fields.bits = 24;
        std::vector<unsigned char> bytes = craft(fields);
        bytes[28] = static_cast<unsigned char>(bits);
        bytes[29] = static_cast<unsigned char>(bits >> 8);
        const std::string problem = decode(bytes);
        if (usable) {
            EXPECT_EQ(problem, "") << bits;
            ++accepted;
        } else if (problem.find("bit count " + std::to_string(bits) + " is not") ==
                   std::string::npos) {
            ADD_FAILURE() << "bit count " << bits << ": " << problem;
        }
    }
    EXPECT_EQ(accepted, 6);
}

TEST(BmpCheck, ShortAndForeignHeadersAreRefused) {
    const std::vector<unsigned char> whole = craft(BmpFields{});
    // The 24-byte file whose header stops before the bit count: SDL read an uninitialised one.
    EXPECT_EQ(problemOf({whole.begin(), whole.begin() + 24}), "its header is cut short");
    EXPECT_EQ(problemOf({whole.begin(), whole.begin() + 10}), "its header is cut short");
    EXPECT_NE(problemOf({}).find("not a BMP picture"), std::string::npos);
    EXPECT_NE(problemOf({'G', 'I', 'F', '8', '9', 'a'}).find("not a BMP picture"),
              std::string::npos);
    BmpFields odd;
    odd.infoSize = 64;
    EXPECT_NE(problemOf(craft(odd)).find("unknown size (64 bytes)"), std::string::npos);
}

TEST(BmpCheck, NegativeZeroAndHugeSizesAreRefused) {
    const int32_t bad[][2] = {{0, 2},       {2, 0},       {-2, 2},      {8193, 1},
                              {1, 8193},    {1, -8193},   {INT_MIN, 1}, {1, INT_MIN},
                              {INT_MAX, 1}, {1, INT_MAX}, {-1, -1},     {65536, 65536}};
    for (const auto& size : bad) {
        std::vector<unsigned char> bytes = craft(BmpFields{});
        for (int i = 0; i < 4; ++i) {
            bytes[18 + i] = static_cast<unsigned char>(uint32_t(size[0]) >> (8 * i));
            bytes[22 + i] = static_cast<unsigned char>(uint32_t(size[1]) >> (8 * i));
        }
        EXPECT_NE(decode(bytes).find("is not within 1 to 8192"), std::string::npos)
            << size[0] << " x " << size[1];
    }
    BmpFields topDown;
    topDown.height = -3;  // rows stored top first: a valid picture
    EXPECT_EQ(decode(craft(topDown)), "");
    BmpFields largest;
    largest.width = 8192;
    largest.height = 1;
    int width = 0;
    EXPECT_EQ(decode(craft(largest), &width), "");
    EXPECT_EQ(width, 8192);
}

TEST(BmpCheck, PalettesMustBeThereAndFitTheBitCount) {
    BmpFields paletted;
    paletted.bits = 8;
    paletted.colours = 3;
    EXPECT_EQ(decode(craft(paletted)), "");
    paletted.colours = 257;
    EXPECT_NE(problemOf(craft(paletted)).find("palette of 257 colours is longer than 256"),
              std::string::npos);
    BmpFields fourBits;
    fourBits.bits = 4;
    std::vector<unsigned char> bytes = craft(fourBits);
    bytes.resize(14 + 40 + 10);  // stops inside the 16-colour palette
    EXPECT_NE(problemOf(bytes).find("before its palette of 16 colours"), std::string::npos);
    BmpFields os2;
    os2.infoSize = 12;
    os2.bits = 1;
    EXPECT_EQ(decode(craft(os2)), "");
}

TEST(BmpCheck, CompressionAndCutPixelsAreRefused) {
    BmpFields rle;
    rle.bits = 8;
    rle.compression = 1;
    EXPECT_NE(problemOf(craft(rle)).find("compression 1 is not supported"), std::string::npos);
    BmpFields fields;
    fields.bits = 16;
    fields.compression = 3;
    fields.withMasks = true;
    EXPECT_EQ(decode(craft(fields)), "");
    fields.bits = 24;
    EXPECT_NE(problemOf(craft(fields)).find("compression 3"), std::string::npos);
    std::vector<unsigned char> cut = craft(BmpFields{});
    cut.pop_back();
    EXPECT_NE(problemOf(cut).find("cut short: 69 bytes where its pixels need 70"),
              std::string::npos);
    std::vector<unsigned char> inside = craft(BmpFields{});
    inside[10] = 20;  // pixels "start" inside the header
    EXPECT_NE(problemOf(inside).find("start inside its header"), std::string::npos);
}

TEST(BmpCheck, EveryShippedPictureAndNoOtherKindOfFilePasses) {
    const std::string dir = testsupport::dataFolder();
    for (const char* name : Moves::textureFiles) {
        std::string problem;
        SDL_Surface* s = loadBgrBmp((dir + "/" + name).c_str(), problem);
        EXPECT_NE(s, nullptr) << name << ": " << problem;
        if (s) SDL_FreeSurface(s);
    }
    for (const char* other : {"music.ogg", "sound.wav", "Punch00.txt"}) {
        std::string problem;
        EXPECT_EQ(loadBgrBmp((dir + "/" + other).c_str(), problem), nullptr) << other;
        EXPECT_NE(problem.find("not a BMP picture"), std::string::npos) << problem;
    }
    std::string problem;
    EXPECT_EQ(loadBgrBmp(dir.c_str(), problem), nullptr);  // a folder
    EXPECT_EQ(problem, "it is not a file");
}

}  // namespace

// The pictures our emulation draws against those Wine's GDI draws for the same calls
// (scene/gdi_scene.cpp, run by WineGdi.DrawBothWays): rectangles, blits and read-backs must
// match pixel for pixel; text, whose anti-aliasing legitimately differs between rasterisers,
// must cover the same box within a pixel and reach the same colour.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/wine/scene/scene.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB as the bytes blue, green, red, reserved read

    uint32_t rgb(int x, int y) const {
        return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFFu;
    }
};

using Scene = std::map<std::string, Picture>;

// Records: a line "name width height", then width x height little-endian 32-bit pixels.
bool readScene(const std::string& path, Scene* scene, std::vector<std::string>* order) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream header(line);
        std::string name;
        Picture picture;
        if (!(header >> name >> picture.width >> picture.height) || picture.width <= 0 ||
            picture.height <= 0 || picture.width * picture.height > (1 << 20))
            return false;
        picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
        if (!in.read(reinterpret_cast<char*>(picture.pixels.data()),
                     static_cast<std::streamsize>(picture.pixels.size() * 4)))
            return false;
        order->push_back(name);
        (*scene)[name] = std::move(picture);
    }
    return in.eof() && !order->empty();
}

uint32_t pixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

int distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        sum +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool empty() const { return right <= left; }
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

// The box of the pixels for which `counts` holds, and the one among them farthest from `from`.
template <typename Counts>
Box boxOf(const Picture& p, Counts counts, uint32_t from, uint32_t* farthest) {
    Box box{p.width, p.height, 0, 0};
    int best = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            uint32_t c = p.rgb(x, y);
            if (!counts(c)) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
            if (distance(c, from) > best) {
                best = distance(c, from);
                *farthest = c;
            }
        }
    return box;
}

bool within1(const Box& a, const Box& b) {
    return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 &&
           std::abs(a.right - b.right) <= 1 && std::abs(a.bottom - b.bottom) <= 1;
}

// Ink of a text picture: every pixel that is neither the surface nor, when opaque, the text's
// own background. Checks the box and that the strongest ink is the text colour on both sides.
void expectSameInk(const std::string& name, const Picture& ours, const Picture& wine,
                   uint32_t surface, uint32_t background, uint32_t ink) {
    auto isInk = [&](uint32_t c) { return c != surface && c != background; };
    uint32_t oursInk = 0, wineInk = 0;
    Box oursBox = boxOf(ours, isInk, background, &oursInk);
    Box wineBox = boxOf(wine, isInk, background, &wineInk);
    ASSERT_FALSE(oursBox.empty()) << name << ": we drew no ink";
    ASSERT_FALSE(wineBox.empty()) << name << ": Wine drew no ink";
    EXPECT_TRUE(within1(oursBox, wineBox)) << name << ": ink " << oursBox << ", Wine's " << wineBox;
    EXPECT_EQ(oursInk, ink) << name;
    EXPECT_EQ(wineInk, ink) << name;
}

class WineGdi : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ready = readScene(VORLAXIS_SCENE_DIR "/native.scene", &ours, &order) &&
                readScene(VORLAXIS_SCENE_DIR "/wine.scene", &wine, &wineOrder);
    }
    void SetUp() override {
        ASSERT_TRUE(ready) << "the two scene files in " VORLAXIS_SCENE_DIR
                              " are missing or broken (WineGdi.DrawBothWays makes them)";
    }
    // Every record whose name starts with one of `prefixes`, identical on both sides.
    static void expectIdentical(std::initializer_list<const char*> prefixes) {
        int compared = 0;
        for (const std::string& name : order) {
            bool wanted = std::any_of(prefixes.begin(), prefixes.end(),
                                      [&](const char* p) { return name.rfind(p, 0) == 0; });
            if (!wanted) continue;
            ++compared;
            const Picture& a = ours.at(name);
            const Picture& b = wine.at(name);
            int differing = 0;
            std::string first;
            for (size_t i = 0; i < a.pixels.size(); ++i) {
                if (a.pixels[i] == b.pixels[i]) continue;
                if (differing++ == 0) {
                    std::ostringstream where;
                    where << " first at (" << i % a.width << "," << i / a.width << "): ours "
                          << std::hex << a.pixels[i] << ", Wine's " << b.pixels[i];
                    first = where.str();
                }
            }
            EXPECT_EQ(differing, 0) << name << ": " << differing << " pixels differ;" << first;
        }
        EXPECT_GT(compared, 0);
    }

    static inline bool ready = false;
    static inline Scene ours, wine;
    static inline std::vector<std::string> order, wineOrder;
};

TEST_F(WineGdi, BothSidesDrewTheSamePictures) {
    EXPECT_EQ(order, wineOrder);
    for (const std::string& name : order) {
        ASSERT_TRUE(wine.count(name)) << name;
        EXPECT_EQ(ours.at(name).width, wine.at(name).width) << name;
        EXPECT_EQ(ours.at(name).height, wine.at(name).height) << name;
    }
}

TEST_F(WineGdi, RectanglesWithEveryPenAndBrushArePixelForPixelTheSame) {
    expectIdentical({"rectangles"});
}

TEST_F(WineGdi, BlitsAndReadBacksInBothRowOrdersArePixelForPixelTheSame) {
    expectIdentical({"blit-", "getdibits-", "setdibits-", "getpixel"});
}

TEST_F(WineGdi, TransparentTextCoversTheSameBoxInTheSameColour) {
    int compared = 0;
    for (const std::string& name : order) {
        if (name.rfind(gdi_scene::kTransparentText, 0) != 0) continue;
        ++compared;
        expectSameInk(name, ours.at(name), wine.at(name), 0x000000, 0x000000,
                      pixelOf(gdi_scene::kPanelGreen));
    }
    EXPECT_GT(compared, 0);
}

TEST_F(WineGdi, OpaqueTextFillsTheSameCellBoxAndInksTheSameColour) {
    int compared = 0;
    const uint32_t paper = pixelOf(gdi_scene::kPaper);
    for (const std::string& name : order) {
        if (name.rfind(gdi_scene::kOpaqueText, 0) != 0) continue;
        ++compared;
        const Picture& a = ours.at(name);
        const Picture& b = wine.at(name);
        // The background box first: everything not the white surface.
        uint32_t unused = 0;
        auto notSurface = [](uint32_t c) { return c != 0xFFFFFFu; };
        Box oursCell = boxOf(a, notSurface, 0, &unused);
        Box wineCell = boxOf(b, notSurface, 0, &unused);
        EXPECT_TRUE(within1(oursCell, wineCell))
            << name << ": cell " << oursCell << ", Wine's " << wineCell;
        expectSameInk(name, a, b, 0xFFFFFF, paper, pixelOf(gdi_scene::kInk));
    }
    EXPECT_GT(compared, 0);
}

}  // namespace

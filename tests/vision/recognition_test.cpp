// Hand-sign recognition: readings on frames whose answers were worked out by hand, and the
// optimised passes against a plain pixel-by-pixel evaluation of the same rules.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <thread>

#include "tests/vision/frames.h"
#include "vision/Picture.h"
#include "vision/WebCam.h"

using testframes::fill;
using testframes::rect;
using testframes::rgb;
using namespace vision;

namespace {

const Pixel kBlack = rgb(0, 0, 0);
const Pixel kWhite = rgb(255, 255, 255);

struct Readings {
    int32_t v[12];
    bool operator==(const Readings& o) const {
        for (int i = 0; i < 12; ++i) {
            if (v[i] != o.v[i]) return false;
        }
        return true;
    }
};

Readings readingsOf(const CWebCam& c) {
    return {{c.baryX1, c.baryY1, c.baryX2, c.baryY2, c.varX1, c.varY1, c.varX2, c.varY2, c.rps1,
             c.rps2, c.nbPixels2, c.nbPixels1}};
}

void recognise(CWebCam& cam) {
    cam.CalBiCouleur(0);
    cam.calculBarycentre(0);
    cam.calculVariance(0);
    cam.discriminateRPS(0);
}

// The rules evaluated literally, one loop per step, as the worker's readings are defined.
struct Reference {
    int baryX1 = kHalfMiddleColumn, baryY1 = kMiddleRow, baryX2 = kHalfMiddleColumn,
        baryY2 = kMiddleRow;
    int varX1 = 0, varY1 = 0, varX2 = 0, varY2 = 0, rps1 = kRock, rps2 = kRock, nb2 = 1, nb1 = 1;

    static int sign(int vx, int vy, int n) {
        if (1.8f * static_cast<double>(vx) > vy) return kRock;
        if (vy > 2.95f * static_cast<double>(vx)) return kPaper;
        if (static_cast<double>(vx) / n > 0.4f) return kPaper;
        return kScissors;
    }

    void run(Image& img) {
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                Pixel& p = img.pixels[y][x];
                int g = (p.r + p.g + p.b) / 3;
                p = rgb(g, g, g);
            }
        long sum = 0;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) sum += img.pixels[y][x].r;
        const int t = static_cast<int>(sum / kFramePixels);
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x)
                img.pixels[y][x] = img.pixels[y][x].r > t ? kWhite : kBlack;
        int n1 = 0, n2 = 0, sx1 = 0, sy1 = 0, sx2 = 0, sy2 = 0;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                if (img.pixels[y][x].r != 255) continue;
                if (x < kHalfWidth) {
                    ++n2;
                    sx2 += x;
                    sy2 += y;
                } else {
                    ++n1;
                    sx1 += x;
                    sy1 += y;
                }
            }
        baryX1 = (n1 ? sx1 / n1 : 0) - kHalfWidth;
        baryY1 = n1 ? sy1 / n1 : 0;
        baryX2 = n2 ? sx2 / n2 : 0;
        baryY2 = n2 ? sy2 / n2 : 0;
        int qx1 = 0, qy1 = 0, qx2 = 0, qy2 = 0;
        const int cx1 = baryX1 + kHalfWidth;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                if (img.pixels[y][x].r != 255) continue;
                if (x < kHalfWidth) {
                    qx2 += (x - baryX2) * (x - baryX2);
                    qy2 += (y - baryY2) * (y - baryY2);
                } else {
                    qx1 += (x - cx1) * (x - cx1);
                    qy1 += (y - baryY1) * (y - baryY1);
                }
            }
        if (n2) {
            qx2 /= n2;
            qy2 /= n2;
            nb2 = n2;
        }
        if (n1) {
            qx1 /= n1;
            qy1 /= n1;
            nb1 = n1;
        }
        varX1 = qx1;
        varY1 = qy1;
        varX2 = qx2;
        varY2 = qy2;
        rps1 = sign(varX1, varY1, nb2);
        rps2 = sign(varX2, varY2, nb1);
    }

    Readings readings() const {
        return {{baryX1, baryY1, baryX2, baryY2, varX1, varY1, varX2, varY2, rps1, rps2, nb2, nb1}};
    }
};

class Recognition : public ::testing::Test {
protected:
    std::unique_ptr<CWebCam> cam = std::make_unique<CWebCam>();
    void SetUp() override { fill(*cam, 0, kBlack); }
};

TEST(WebCamStore, ConstructorDefaults) {
    CWebCam cam;
    const Readings expected{{kHalfMiddleColumn, kMiddleRow, kHalfMiddleColumn, kMiddleRow, 0, 0, 0,
                             0, kRock, kRock, 1, 1}};
    EXPECT_EQ(readingsOf(cam), expected);
    EXPECT_EQ(cam.hWndParent, nullptr);
    EXPECT_EQ(cam.hDCAffichage, nullptr);
    EXPECT_EQ(cam.hDCCapture, nullptr);
    EXPECT_EQ(cam.hWndCapture, nullptr);
    for (const Image& img : cam.images) {
        EXPECT_EQ(img.width, 320);
        EXPECT_EQ(img.height, 240);
        for (int y = 0; y < kFrameHeight; ++y) ASSERT_NE(img.pixels[y], nullptr);
    }
    // Readings are whole 32-bit values in the declared order.
    EXPECT_LT(reinterpret_cast<const char*>(&cam.baryX1),
              reinterpret_cast<const char*>(&cam.nbPixels2));
    EXPECT_LT(reinterpret_cast<const char*>(&cam.nbPixels2),
              reinterpret_cast<const char*>(&cam.nbPixels1));
    EXPECT_TRUE(cam.rps1.is_always_lock_free);
}

TEST_F(Recognition, UniformFramesLeaveBothHalvesEmptyAndKeepTheCounts) {
    for (Pixel colour : {kBlack, rgb(90, 30, 200)}) {
        fill(*cam, 0, colour);
        recognise(*cam);
        const Readings expected{{-kHalfWidth, 0, 0, 0, 0, 0, 0, 0, kScissors, kScissors, 1, 1}};
        EXPECT_EQ(readingsOf(*cam), expected);
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x)
                ASSERT_TRUE(testframes::samePixel(cam->images[0].pixels[y][x], kBlack));
    }
}

TEST_F(Recognition, AllWhiteMaskTurnsBlackAndOtherMasksPassThrough) {
    fill(*cam, 0, kWhite);
    cam->CalBiCouleur(0);
    EXPECT_TRUE(testframes::samePixel(cam->images[0].pixels[100][100], kBlack));
    rect(*cam, 0, 10, 10, 50, 50, kWhite);
    CWebCam before;
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            before.images[0].pixels[y][x] = cam->images[0].pixels[y][x];
    cam->CalBiCouleur(0);
    EXPECT_TRUE(testframes::sameFrame(*cam, 0, before, 0));
}

TEST_F(Recognition, PixelAtTheMeanGreyStaysBackground) {
    // Right half grey 100, left half 0: the mean is 50 (the few extra pixels below add < 1).
    rect(*cam, 0, kHalfWidth, 0, kFrameWidth, kFrameHeight, rgb(100, 100, 100));
    cam->images[0].pixels[10][10] = rgb(50, 50, 52);  // grey 152 / 3 = 50: at the mean
    cam->images[0].pixels[20][30] = rgb(51, 51, 51);  // one above the mean
    recognise(*cam);
    EXPECT_EQ(cam->images[0].pixels[10][10].r, 0);
    EXPECT_EQ(cam->images[0].pixels[20][30].couleur, 0xFFFFFF);
    EXPECT_EQ(cam->nbPixels2, 1);
    EXPECT_EQ(cam->baryX2, 30);
    EXPECT_EQ(cam->baryY2, 20);
    EXPECT_EQ(cam->nbPixels1, 38400);
}

TEST_F(Recognition, SingleHandPixelOfPlayerOne) {
    cam->images[0].pixels[50][200] = kWhite;
    recognise(*cam);
    const Readings expected{{200 - kHalfWidth, 50, 0, 0, 0, 0, 0, 0, kScissors, kScissors, 1, 1}};
    EXPECT_EQ(readingsOf(*cam), expected);
}

TEST_F(Recognition, SquareBlobIsRockAndTallBlobIsPaper) {
    rect(*cam, 0, 20, 100, 60, 140, kWhite);   // player 2: 40 x 40
    rect(*cam, 0, 200, 50, 220, 150, kWhite);  // player 1: 20 wide, 100 tall
    recognise(*cam);
    EXPECT_EQ(cam->baryX2, 39);  // 39.5 truncated
    EXPECT_EQ(cam->baryY2, 119);
    EXPECT_EQ(cam->varX2, 133);  // (2 * 2470 + 400) / 40
    EXPECT_EQ(cam->varY2, 133);
    EXPECT_EQ(cam->rps2, kRock);
    EXPECT_EQ(cam->baryX1, 49);
    EXPECT_EQ(cam->baryY1, 99);
    EXPECT_EQ(cam->varX1, 33);
    EXPECT_EQ(cam->varY1, 833);
    EXPECT_EQ(cam->rps1, kPaper);
    EXPECT_EQ(cam->nbPixels2, 1600);
    EXPECT_EQ(cam->nbPixels1, 2000);
}

TEST_F(Recognition, CentresAreTruncated) {
    cam->images[0].pixels[10][0] = kWhite;
    cam->images[0].pixels[11][1] = kWhite;
    recognise(*cam);
    EXPECT_EQ(cam->baryX2, 0);
    EXPECT_EQ(cam->baryY2, 10);
    EXPECT_EQ(cam->varX2, 0);  // (0 + 1) / 2
    EXPECT_EQ(cam->varY2, 0);
}

TEST_F(Recognition, OtherHalfCountSwitchesTheThirdRule) {
    // Player 1: 20 x 30, vx 33, vy 75: between 1.8 and 2.95 times vx, so vx / n decides,
    // with n the hand count of player 2's half: paper up to 82 pixels, scissors from 83.
    for (int n2 : {82, 83}) {
        fill(*cam, 0, kBlack);
        rect(*cam, 0, 250, 100, 270, 130, kWhite);
        rect(*cam, 0, 0, 0, n2, 1, kWhite);
        recognise(*cam);
        EXPECT_EQ(cam->varX1, 33);
        EXPECT_EQ(cam->varY1, 75);
        EXPECT_EQ(cam->nbPixels2, n2);
        EXPECT_EQ(cam->rps1, n2 == 82 ? kPaper : kScissors) << n2;
    }
}

TEST_F(Recognition, CountsCarryOverWhileAHalfIsEmpty) {
    // Player 2: 50 x 75, vx 208, vy 468; 208 / 500 > 0.4 is paper, 208 / 600 is scissors.
    for (int held : {500, 600}) {
        fill(*cam, 0, kBlack);
        rect(*cam, 0, 200, 0, 200 + held / 20, 20, kWhite);
        recognise(*cam);
        ASSERT_EQ(cam->nbPixels1, held);
        fill(*cam, 0, kBlack);
        rect(*cam, 0, 10, 20, 60, 95, kWhite);
        recognise(*cam);
        EXPECT_EQ(cam->baryX1, -kHalfWidth);
        EXPECT_EQ(cam->varX1, 0);
        EXPECT_EQ(cam->nbPixels1, held);
        EXPECT_EQ(cam->varX2, 208);
        EXPECT_EQ(cam->varY2, 468);
        EXPECT_EQ(cam->rps2, held == 500 ? kPaper : kScissors) << held;
        EXPECT_EQ(cam->rps1, kScissors);
    }
}

TEST(RecognitionMatchesReference, OnRandomFrames) {
    std::mt19937 rng(1234);
    CWebCam cam;
    auto ref = std::make_unique<CWebCam>();  // holds the reference's frame
    Reference reference;
    for (int round = 0; round < 12; ++round) {
        if (round % 3 == 0) {
            testframes::randomFrame(cam, 0, rng);  // noise: about half the pixels are hands
        } else {
            // Dark noise with a few bright boxes, like a hand on a dark background.
            std::uniform_int_distribution<int> dark(0, 60), pos(0, 319), size(1, 90);
            for (int y = 0; y < kFrameHeight; ++y)
                for (int x = 0; x < kFrameWidth; ++x)
                    cam.images[0].pixels[y][x] = rgb(dark(rng), dark(rng), dark(rng));
            for (int k = 0; k < round; ++k) {
                const int x0 = pos(rng), y0 = pos(rng) * 3 / 4;
                rect(cam, 0, x0, y0, std::min(320, x0 + size(rng)), std::min(240, y0 + size(rng)),
                     rgb(200 + dark(rng), 180, 170));
            }
        }
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x)
                ref->images[0].pixels[y][x] = cam.images[0].pixels[y][x];
        recognise(cam);
        reference.run(ref->images[0]);
        ASSERT_EQ(readingsOf(cam), reference.readings()) << "round " << round;
        ASSERT_TRUE(testframes::sameFrame(cam, 0, *ref, 0)) << "round " << round;
    }
}

}  // namespace

namespace {

// The main loop reads the readings while the worker writes them; under ThreadSanitizer this
// shows the readings are shared without a data race.
TEST(RecognitionThreads, ReadingsReadWhileAnotherThreadWritesThem) {
    auto cam = std::make_unique<CWebCam>();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int pass = 0; pass < 20; ++pass) {
            fill(*cam, 0, rgb(0, 0, 0));
            rect(*cam, 0, 20 + pass, 100, 60 + pass, 140, rgb(255, 255, 255));
            recognise(*cam);
        }
        done = true;
    });
    do {
        // A turn may mix readings of two frames, but each one is a whole value.
        EXPECT_GE(cam->rps1.load(std::memory_order_relaxed), kRock);
        EXPECT_LE(cam->rps2.load(std::memory_order_relaxed), kScissors);
        EXPECT_GE(cam->baryX1.load(std::memory_order_relaxed), -kHalfWidth);
    } while (!done);
    worker.join();
    EXPECT_EQ(cam->baryX2, 39 + 19);
    EXPECT_EQ(cam->rps2, kRock);
}

}  // namespace

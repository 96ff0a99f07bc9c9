// The match drawn in a real window and the keyboard route of that window. Needs an X display
// (the test run provides Xvfb); without one these tests are skipped.
#include "MatchFixture.h"

#include "platform/win32.h"
#include "render/backgrnd.h"
#include "tests/support/sdl_exit.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

namespace {

// The one window of the process: World::init and the backdrop's set-up run once, and every test
// starts the match afresh on it from the move library as init left it.
class SceneTest : public ::testing::Test {
protected:
    // Null when the window or the data could not be set up.
    static World* world() {
        static World* shared = nullptr;
        static Moves* pristine = nullptr;
        if (shared == nullptr) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
            shared = new World;
            inDataDir([] {
                shared->init();
                testsupport::closeSdlAtExit();
                createBackground();
                pristine = new Moves(shared->moves);
            });
        }
        if (pristine == nullptr) return nullptr;
        shared->moves = *pristine;
        return shared;
    }

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
        w = world();
        ASSERT_NE(w, nullptr) << "the match window could not be set up";
        w->game = Game();
        w->setStartValues();
        w->timer = World::inputTimer;
        w->camera.updateCamera(w->posX1, w->posX2);
    }

    void frame(const Reading& r = Reading()) {
        w->handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1,
                              r.rps2);
        w->update();
        w->display();
        SDL_GL_SwapBuffers();
    }

    // Colour of a window pixel at HUD coordinates (-1..1 on both axes, y up) in the frame
    // just drawn; the HUD plane spans about 1.99 x 1.49 units either side of the centre.
    static SDL_Color hudPixel(float hudX, float hudY) {
        int x = static_cast<int>((hudX * 2.0f / 1.99f + 1.0f) / 2.0f * 800.0f);
        int y = static_cast<int>((hudY * 1.5f / 1.49f + 1.0f) / 2.0f * 600.0f);
        unsigned char rgb[3];
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return SDL_Color{rgb[0], rgb[1], rgb[2], 0};
    }

    static void pushKey(SDLKey key, Uint8 type = SDL_KEYDOWN) {
        SDL_Event event{};
        event.type = type;
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }

    World* w = nullptr;
};

}  // namespace

// A lunging fighter is drawn at its move's reach from the opponent, never beyond its place.
TEST_F(SceneTest, FightersAreDrawnAtTheReachOfTheirMoves) {
    frame();
    EXPECT_FLOAT_EQ(w->drawnX1, -5.0f);
    EXPECT_FLOAT_EQ(w->drawnX2, 5.0f);

    frame(signs(World::SCISSORS, World::NO_SIGN));
    for (int t = 0; t < 9; ++t) frame();
    frame(signs(World::ROCK, World::NO_SIGN));  // the release's first turn
    EXPECT_FLOAT_EQ(w->drawnX1, -5.0f);         // reach 27.5 at frame 5, beyond the gap
    for (int t = 2; t <= 12; ++t) frame();
    EXPECT_NEAR(w->drawnX1, 1.0f, 1e-4);  // frame 60: reach 4
    frame();                              // frame 65: reach 2.5
    EXPECT_NEAR(w->drawnX1, 2.5f, 1e-4);
    frame();  // frame 70, the first explosion: drawn 1.0 from the opponent
    EXPECT_EQ(w->frame1, 70);
    EXPECT_NEAR(w->drawnX1, 4.0f, 1e-5);
    EXPECT_FLOAT_EQ(w->drawnX2, 5.0f);
}

TEST_F(SceneTest, LifeBarsShrinkAndStayEmptyBelowZero) {
    frame();
    SDL_Color full1 = hudPixel(-0.6f, 0.78f);
    SDL_Color full2 = hudPixel(0.55f, 0.78f);
    EXPECT_GT(full1.r, 90);  // halfway along a full bar: between red and green
    EXPECT_GT(full1.g, 90);
    EXPECT_LT(full1.b, 60);
    EXPECT_GT(full2.g, 60);

    w->life1 = -20;
    w->life2 = 30;
    frame();
    SDL_Color empty1 = hudPixel(-0.6f, 0.78f);
    SDL_Color short2 = hudPixel(0.55f, 0.78f);
    EXPECT_LT(empty1.r, 60);
    EXPECT_LT(empty1.g, 60);
    EXPECT_LT(short2.g, 60);
    SDL_Color stub2 = hudPixel(0.38f, 0.78f);  // inside the 30 % that is left
    EXPECT_GT(stub2.r, 90);
}

TEST_F(SceneTest, KeyboardFillsOneTurnOfInput) {
    for (SDLKey key : {SDLK_a, SDLK_d, SDLK_w, SDLK_s, SDLK_x, SDLK_LEFT, SDLK_RIGHT, SDLK_UP,
                       SDLK_DOWN, SDLK_m, SDLK_q})
        pushKey(key);
    pushKey(SDLK_z, SDL_KEYUP);
    w->handleEvents();
    EXPECT_EQ(w->left1 + w->right1 + w->up1 + w->down1, 4);
    EXPECT_EQ(w->left2 + w->right2 + w->up2 + w->down2, 4);
    EXPECT_EQ(w->sign1, World::PAPER);
    EXPECT_EQ(w->sign2, World::SCISSORS);

    // The next turn starts empty: keys do not repeat.
    pushKey(SDLK_z);
    pushKey(SDLK_b);
    w->handleEvents();
    EXPECT_EQ(w->left1 + w->right1 + w->left2 + w->right2, 0);
    EXPECT_EQ(w->sign1, World::ROCK);
    EXPECT_EQ(w->sign2, World::ROCK);
    pushKey(SDLK_c);
    pushKey(SDLK_n);
    w->handleEvents();
    EXPECT_EQ(w->sign1, World::SCISSORS);
    EXPECT_EQ(w->sign2, World::PAPER);

    // The HUD keys act in the turn's step, as every input does.
    for (SDLKey key : {SDLK_f, SDLK_g, SDLK_h}) pushKey(key);
    w->handleEvents();
    w->update();
    for (int t : {animation::kWinTower1, animation::kWinTower2, animation::kBannerTower}) {
        auto stages = w->moves.getTower(t);
        ASSERT_EQ(stages.size(), 1u) << "tower " << t;
        EXPECT_EQ(stages[0][2], World::LABEL_HUD);
    }
}

TEST_F(SceneTest, FunctionKeysSwitchTheWebcamRouteOffAndOn) {
    pushKey(SDLK_F1);
    w->handleEvents();
    w->update();
    EXPECT_FALSE(w->webcamOn);
    w->handleWebcamEvents(40, 120, 40, 120, World::PAPER, World::PAPER);
    EXPECT_EQ(w->sign1 + w->right1 + w->right2, 0);
    pushKey(SDLK_F2);
    w->handleEvents();
    w->update();
    EXPECT_TRUE(w->webcamOn);
    w->handleWebcamEvents(40, 120, 40, 120, World::PAPER, World::PAPER);
    EXPECT_EQ(w->sign1, World::PAPER);
    EXPECT_EQ(w->right2, 1);
}

// Ending the process here would pull the panel out from under the worker thread: Escape and
// the window's close request ask the main loop to end instead, as the control panel does.
TEST_F(SceneTest, EscapeAndTheQuitEventAskTheMainLoopToEnd) {
    const auto quitPosted = [] {
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
        return quit;
    };
    quitPosted();
    pushKey(SDLK_ESCAPE);
    w->handleEvents();
    EXPECT_TRUE(quitPosted());

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    w->handleEvents();
    EXPECT_TRUE(quitPosted());
    // The window and the match carry on until the main loop shuts down.
    frame();
    EXPECT_EQ(w->timer, 897);
}

// The keyboard route over whole sequences of turns: held walking keys, sign keys on their
// key-down, keys and webcam readings in one turn, and the keys that end the game.
#include <SDL/SDL.h>

#include "MatchFixture.h"
#include "platform/driver.h"
#include "play/keyboard_source.h"

namespace {

class KeyboardTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        vorlaxis::platform::useVideoDriver("null");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        }
        releaseAll();
        quitPosted();
    }
    void TearDown() override { releaseAll(); }

    // The dummy video driver never changes the key state: a test holds keys by writing it.
    static void hold(SDLKey key) { SDL_GetKeyState(nullptr)[key] = 1; }
    static void release(SDLKey key) { SDL_GetKeyState(nullptr)[key] = 0; }
    static void releaseAll() {
        int count = 0;
        Uint8* keys = SDL_GetKeyState(&count);
        std::fill(keys, keys + count, 0);
        SDL_Event drop;
        while (SDL_PollEvent(&drop)) {
        }
    }
    static void press(SDLKey key) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    // Whether the quit message was posted since the last look.
    static bool quitPosted() {
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
        return quit;
    }

    void keyTurnWith(play::KeyboardSource& source) {
        w->setInputs();
        source.poll(*w);
        w->update();
    }
    // A turn of a keyboard-only run.
    void keyTurn() {
        w->handleEvents();
        w->update();
    }
    void keyTurns(int count) {
        for (int i = 0; i < count; ++i) keyTurn();
    }
    // A turn with a camera: its readings first, then the keys.
    void bothTurn(const Reading& r) {
        w->handleWebcamEvents(r.baryX1, vision::kMiddleRow, r.baryX2, vision::kMiddleRow, r.rps1,
                              r.rps2);
        keyboard.poll(*w);
        w->update();
    }

    play::KeyboardSource keyboard;
};

TEST_F(KeyboardTest, HeldWalkingKeysWalkBothFightersEveryTurnIntoContact) {
    w->timer = 1000;  // a new match: the first 51 turns take no input, keys included
    hold(SDLK_d);
    hold(SDLK_LEFT);
    keyTurns(51);
    EXPECT_FLOAT_EQ(w->posX1, -5.0f);
    EXPECT_FLOAT_EQ(w->posX2, 5.0f);
    for (int t = 1; t <= 10; ++t) {
        keyTurn();
        EXPECT_FLOAT_EQ(w->posX1, -5.0f + 0.25f * t) << "turn " << t;
        EXPECT_FLOAT_EQ(w->posX2, 5.0f - 0.25f * t) << "turn " << t;
    }
    keyTurns(20);
    EXPECT_FLOAT_EQ(w->posX2 - w->posX1, 1.0f);
    EXPECT_FLOAT_EQ(w->posX1 + w->posX2, 0.0f);

    // Let go: they stand; player 1 backs off with A held.
    release(SDLK_d);
    release(SDLK_LEFT);
    keyTurn();
    EXPECT_FLOAT_EQ(w->posX1, -0.5f);
    hold(SDLK_a);
    keyTurns(4);
    EXPECT_FLOAT_EQ(w->posX1, -1.5f);
    EXPECT_FLOAT_EQ(w->posX2, 0.5f);
}

TEST_F(KeyboardTest, ATappedWalkingKeyStillTakesOneStep) {
    press(SDLK_RIGHT);
    keyTurn();
    EXPECT_FLOAT_EQ(w->posX2, 5.25f);
    keyTurn();
    EXPECT_FLOAT_EQ(w->posX2, 5.25f);
}

TEST_F(KeyboardTest, SignKeysActOnTheirKeyDownOnlyAndPunchForTheDesignedDamage) {
    placeFighters(-0.75f, 0.75f);
    press(SDLK_x);
    keyTurn();
    EXPECT_EQ(move(1), World::PUNCH);
    EXPECT_EQ(life(2), 95);
    EXPECT_EQ(particleCount(), 20u);

    // A sign key held down is not a new sign: nothing repeats while it stays down.
    hold(SDLK_x);
    keyTurns(20);
    EXPECT_EQ(state(1), World::IDLE);
    EXPECT_EQ(life(2), 95);

    press(SDLK_c);
    keyTurn();
    EXPECT_EQ(move(1), World::HEAD_PUNCH);
    EXPECT_EQ(life(2), 85);
    keyTurns(15);

    // Player 2's keys hit back.
    press(SDLK_m);
    keyTurn();
    EXPECT_EQ(move(2), World::HEAD_PUNCH);
    EXPECT_EQ(life(1), 90);
    EXPECT_EQ(w->lastSign1, World::SCISSORS);
    EXPECT_EQ(w->lastSign2, World::SCISSORS);
}

TEST_F(KeyboardTest, KeysAddToTheWebcamReadingsOfTheSameTurn) {
    // The camera walks player 2 in (hand right of the middle: left) and shows player 1 rock;
    // the keys walk player 1 in and change its sign to scissors, far apart: a charge.
    hold(SDLK_d);
    press(SDLK_c);
    bothTurn(hands(80, 120, World::ROCK, World::NO_SIGN));
    EXPECT_FLOAT_EQ(w->posX1, -4.75f);
    EXPECT_FLOAT_EQ(w->posX2, 4.75f);
    EXPECT_EQ(state(1), World::CHARGE);
    EXPECT_EQ(w->lastSign1, World::SCISSORS);

    // Without keys the webcam alone drives the turn.
    release(SDLK_d);
    bothTurn(hands(80, 120));
    EXPECT_FLOAT_EQ(w->posX1, -4.75f);
    EXPECT_FLOAT_EQ(w->posX2, 4.5f);

    // F1 turns the webcam off; the keys still play.
    press(SDLK_F1);
    hold(SDLK_LEFT);
    bothTurn(hands(40, 40));
    EXPECT_FALSE(w->webcamOn);
    bothTurn(hands(40, 40));
    EXPECT_FLOAT_EQ(w->posX1, -4.75f);
    EXPECT_FLOAT_EQ(w->posX2, 4.25f);
}

TEST_F(KeyboardTest, WhenInputIsRefusedOnlyEscapeAndTheCameraSwitchesAct) {
    placeFighters(-0.75f, 0.75f);
    w->timer = 1000;  // the start of a match refuses every source's input
    hold(SDLK_d);
    press(SDLK_x);
    press(SDLK_h);
    press(SDLK_F1);
    w->setInputs();
    keyboard.poll(*w);
    w->update();
    EXPECT_EQ(state(1), World::IDLE);
    EXPECT_EQ(life(2), 100);
    EXPECT_FLOAT_EQ(w->posX1, -0.75f);
    EXPECT_TRUE(tower(animation::kBannerTower).empty());
    EXPECT_FALSE(w->webcamOn);
    EXPECT_FALSE(quitPosted());

    press(SDLK_ESCAPE);
    keyboard.poll(*w);
    EXPECT_TRUE(quitPosted());
}

TEST_F(KeyboardTest, KeysNeverDriveAPlayerOfAnotherSource) {
    keyboard.drive(2, false);
    placeFighters(-0.75f, 0.75f);
    hold(SDLK_LEFT);
    press(SDLK_n);
    press(SDLK_x);
    keyTurnWith(keyboard);
    EXPECT_FLOAT_EQ(w->posX2, 0.75f);
    EXPECT_EQ(state(2), World::IDLE);
    EXPECT_EQ(life(1), 100);
    EXPECT_EQ(move(1), World::PUNCH);
}

}  // namespace

namespace {

TEST_F(KeyboardTest, KeysOfTheSettingsFileReplaceTheDefaultOnes) {
    keyboard.setKeys(1, {SDLK_j, SDLK_l, SDLK_i, SDLK_k, SDLK_u, SDLK_o, SDLK_p});
    hold(SDLK_d);
    keyTurnWith(keyboard);
    EXPECT_FLOAT_EQ(w->posX1, -5.0f) << "the old key still walks";
    release(SDLK_d);
    hold(SDLK_l);
    keyTurnWith(keyboard);
    EXPECT_FLOAT_EQ(w->posX1, -4.75f);
    press(SDLK_o);
    keyTurnWith(keyboard);
    EXPECT_EQ(state(1), World::CHARGE) << "the new paper key starts a charge";
    // P chosen as a player's key plays and no longer pauses.
    press(SDLK_p);
    keyTurnWith(keyboard);
    EXPECT_FALSE(keyboard.takePauseKey());
    EXPECT_EQ(w->lastSign1, World::SCISSORS);
}

}  // namespace

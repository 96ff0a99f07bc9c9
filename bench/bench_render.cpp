// Cost of drawing: one frame of the sky backdrop alone, one whole scene (backdrop, both
// fighters, a burst of particles, life bars, labels and all five towers), and the start-up
// from nothing to the first frame on screen. Needs an X display with OpenGL: run under
// xvfb-run with LIBGL_ALWAYS_SOFTWARE=1 (Mesa's software renderer) and SDL_AUDIODRIVER=dummy.
#include <benchmark/benchmark.h>

#include "animation/codes.h"
#include "animation/moves.h"
#include "render/Moteur3d.h"
#include "render/backgrnd.h"
#include "render/camera.h"

#include <SDL/SDL.h>
#include <GL/gl.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

Moteur3d moteur;
Moves moves;
Camera camera;

void startGame() {
    if (chdir(VORLAXIS_DATA_DIR) != 0) {
        std::perror(VORLAXIS_DATA_DIR);
        std::exit(1);
    }
    moteur.init();
    moves.loadMoves();
    moves.loadTextures();
    createBackground();
    camera.updateCamera(-2.0f, 2.0f);
}

void backdrop() {
    glPushMatrix();
    moteur.setLight();
    drawBackground();
    glPopMatrix();
}

void fighter(int player, int move, int frame, float x1, float x2) {
    glPushMatrix();
    moteur.placeJoueur(player, x1, x2, moves.interpolateDist(move, frame));
    moteur.draw(moves.interpolate(move, frame));
    glPopMatrix();
}

// One frame as the match draws it, mid-fight: a punch, a head punch and a fresh burst.
void scene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.placeCamera();
    backdrop();
    fighter(1, animation::kPunch, 30, -2.0f, 2.0f);
    fighter(2, animation::kHeadPunch, 40, -2.0f, 2.0f);
    moteur.draw(moves.moveParticles(5));
    glPopMatrix();
    moteur.displayLife(70.0f, 40.0f);
    moteur.draw(moves.getText(), animation::kLifeLabel1, -0.9f, 0.7f, 0.6f, 0.2f, 1.0f);
    moteur.draw(moves.getText(), animation::kLifeLabel2, 0.3f, 0.7f, 0.6f, 0.2f, 1.0f);
    for (int tower = animation::kSignTower1; tower <= animation::kTowerCount; ++tower)
        moteur.draw(moves.getTower(tower), tower, moves.getText());
}

// Towers as in a busy match; they are never aged here, so they keep their size.
void fillTowers() {
    for (int i = 0; i < 6; ++i) {
        moves.addStage(animation::kSignTower1, animation::kRockIcon + i % 3);
        moves.addStage(animation::kSignTower2, animation::kScissorsIcon - i % 3);
    }
    moves.addStage(animation::kWinTower1, animation::kWin);
    moves.addStage(animation::kWinTower2, animation::kWin);
    moves.addStage(animation::kBannerTower, animation::kPaf);
}

void burst() { moves.newBang({2.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f}, 40, 2); }

void BM_BackdropFrame(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        camera.placeCamera();
        backdrop();
        glPopMatrix();
        glFinish();
    }
}
BENCHMARK(BM_BackdropFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

void BM_SceneFrame(benchmark::State& state) {
    for (auto _ : state) {
        // A new burst now and then, as in a fight; the list resets itself past 1000.
        if (state.iterations() % 50 == 0) burst();
        scene();
        glFinish();
    }
}
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// A fresh process from its start to the first frame swapped onto the screen.
void BM_StartupToFirstFrame(benchmark::State& state) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
        state.SkipWithError("cannot find the benchmark program");
        return;
    }
    self[n] = '\0';
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            setenv("VORLAXIS_BENCH_FIRST_FRAME", "1", 1);
            execl(self, self, static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("the start-up child failed");
        state.SetIterationTime(took.count());
    }
}
BENCHMARK(BM_StartupToFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    startGame();
    fillTowers();
    burst();
    if (std::getenv("VORLAXIS_BENCH_FIRST_FRAME")) {
        scene();
        SDL_GL_SwapBuffers();
        glFinish();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

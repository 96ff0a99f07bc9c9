// The room recognition's pass on one 320 x 240 frame of a painted room with both players'
// hands in it, after calibrating on the same room. Run with --benchmark_repetitions=N for
// medians, under taskset -c 0 for one core.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "tests/vision/room_scene.h"
#include "vision/room/RoomVision.h"

namespace {

using roomscene::HandPose;

constexpr int kPhaseFrames = 15;

void calibrate(vision::room::RoomVision& room, roomscene::Scene& scene, CWebCam& cam) {
    for (int k = 0; k < kPhaseFrames; ++k) {
        scene.room(cam);
        room.addReference(cam.images[0]);
    }
    for (int k = 0; k < kPhaseFrames; ++k) {
        scene.room(cam);
        HandPose palm;
        palm.x = 240;
        scene.hand(palm, roomscene::kLightSkin);
        palm.x = 80;
        scene.hand(palm, roomscene::kDarkSkin);
        room.addPalm(cam.images[0]);
    }
    std::string problem;
    room.calibrate(problem);
}

void BM_RoomPass(benchmark::State& state) {
    CWebCam cam;
    auto scene = std::make_unique<roomscene::Scene>();
    auto room = std::make_unique<vision::room::RoomVision>();
    calibrate(*room, *scene, cam);
    scene->room(cam);
    HandPose one;
    one.x = 220;
    one.y = 120;
    one.sign = vision::kScissors;
    one.arm = HandPose::BARE;
    scene->hand(one, roomscene::kLightSkin);
    HandPose two;
    two.x = 70;
    two.y = 140;
    scene->hand(two, roomscene::kDarkSkin);
    for (auto _ : state) {
        room->read(cam.images[0], cam);
        benchmark::DoNotOptimize(cam.baryX1.load());
    }
    state.counters["hand1"] = cam.handIn1.load();
    state.counters["hand2"] = cam.handIn2.load();
}
BENCHMARK(BM_RoomPass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

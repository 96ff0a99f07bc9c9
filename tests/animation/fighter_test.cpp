// The shipped fighter: one mesh in every pose, drawable and blendable, posed the right way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/animation/model_files.h"
#include "tests/support/data_folder.h"

namespace {

Model pose(const char* name) {
    FileReader reader(testsupport::dataFile(name).c_str());
    Model m = reader.getAll();
    EXPECT_TRUE(reader.good()) << name;
    return m;
}

double extreme(const Model& m, int axis, bool highest) {
    double best = highest ? -1e9 : 1e9;
    for (const std::vector<double>& v : m[VERTICES])
        best = highest ? std::max(best, v[axis]) : std::min(best, v[axis]);
    return best;
}

// How far forward (+z) the upper body reaches (feet left out), on one side of the body
// (side +1 or -1: the sign of x) or on both (side 0).
double reach(const Model& m, double side = 0.0) {
    double best = -1e9;
    for (const std::vector<double>& v : m[VERTICES])
        if (v[1] > -1.5 && v[0] * side >= 0.0) best = std::max(best, v[2]);
    return best;
}

// Height of the most forward point of the upper body: where a blow lands.
double frontHeight(const Model& m) {
    const std::vector<double>* front = &m[VERTICES].at(0);
    for (const std::vector<double>& v : m[VERTICES])
        if (v[1] > -1.5 && v[2] > (*front)[2]) front = &v;
    return (*front)[1];
}

TEST(Fighter, EveryPoseIsTheSameDrawableMesh) {
    const Model rest = pose("Punch00.txt");
    const std::size_t vertexCount = rest[VERTICES].size();
    ASSERT_GT(vertexCount, 300u);
    for (const char* name : KEYFRAME_FILES) {
        const Model m = pose(name);
        ASSERT_EQ(m[VERTICES].size(), vertexCount) << name;
        ASSERT_EQ(m[NORMALS].size(), vertexCount) << name;  // one normal per corner
        ASSERT_EQ(m[POLYGONS].size() * 3, vertexCount) << name;
        EXPECT_FALSE(m[COLORS].empty()) << name;
        EXPECT_EQ(m[POLYGONS], rest[POLYGONS]) << name;
        for (const std::vector<double>& n : m[NORMALS])
            ASSERT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-3) << name;
    }
    for (std::size_t t = 0; t < rest[POLYGONS].size(); ++t)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(rest[POLYGONS][t][3 * k], double(3 * t + k + 1));
            EXPECT_EQ(rest[POLYGONS][t][3 * k + 2], double(3 * t + k + 1));
        }
}

TEST(Fighter, StandsOnTheFloorAboutTenUnitsTall) {
    for (const char* name : KEYFRAME_FILES) {
        const Model m = pose(name);
        EXPECT_NEAR(extreme(m, 1, false), -5.0, 0.01) << name;  // feet on the floor
        EXPECT_GT(extreme(m, 1, true), 2.5) << name;
        EXPECT_LT(extreme(m, 1, true) - extreme(m, 1, false), 11.5) << name;
    }
    const Model rest = pose("Punch00.txt");
    EXPECT_NEAR(extreme(rest, 1, true) - extreme(rest, 1, false), 10.0, 0.5);
}

TEST(Fighter, AttacksReachForwardAlongZ) {
    const double guard = reach(pose("Punch00.txt"));
    // The punch stretches out keyframe by keyframe to its full length at Punch04.
    double previous = guard;
    for (const char* name : {"Punch02.txt", "Punch03.txt", "Punch04.txt"}) {
        EXPECT_GT(reach(pose(name)), previous) << name;
        previous = reach(pose(name));
    }
    EXPECT_GT(previous, guard + 1.8);
    // The head punch ends forward with the fist a good deal higher than the punch's.
    const Model head = pose("HeadPunch05.txt");
    EXPECT_GT(reach(head), guard + 1.0);
    EXPECT_GT(frontHeight(head), frontHeight(pose("Punch04.txt")) + 1.0);
    // Ranged attacks: the middle keyframe is the full extension.
    for (const std::string move : {"Banana", "Ayuken"}) {
        const double r1 = reach(pose((move + "01.txt").c_str()));
        const double r2 = reach(pose((move + "02.txt").c_str()));
        const double r3 = reach(pose((move + "03.txt").c_str()));
        EXPECT_LT(r1, r2) << move;
        EXPECT_LT(r2, r3) << move;
        EXPECT_GT(r3, guard + 1.5) << move;
    }
    // The two-handed push has both hands forward; the palm thrust only one.
    const Model push = pose("Ayuken03.txt");
    EXPECT_GT(std::min(reach(push, 1), reach(push, -1)), guard + 1.5);
    const Model thrust = pose("Banana03.txt");
    EXPECT_LT(std::min(reach(thrust, 1), reach(thrust, -1)), guard);
}

TEST(Fighter, ChargeCrouches) {
    const double standing = extreme(pose("Punch00.txt"), 1, true);
    EXPECT_LT(extreme(pose("ComboPrep02.txt"), 1, true), standing - 0.6);
}

}  // namespace

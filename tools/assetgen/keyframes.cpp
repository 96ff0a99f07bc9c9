// The fighter: one robot mesh, posed by joint angles into the 18 keyframe files. Every pose
// has the same triangles in the same order, written corner by corner (each corner its own
// vertex and its own normal), so that any two poses can be blended vertex by vertex.
// The robot faces +z, stands on y = -5 and is about 10 units tall.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/solid.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace assetgen {
namespace {

using namespace solid;

// ---- the robot --------------------------------------------------------------------------------

// Angles in degrees. flex raises the upper arm forward (0 hanging, 90 straight ahead),
// abduct raises it sideways (negative crosses it in front of the body), twist turns it about
// its own axis so a bent elbow points the forearm inwards, elbow bends (0 straight), pronate
// turns the forearm (180 puts a forward punch's palm down), wrist bends the hand back, curl
// closes the fingers (170 is a fist).
struct ArmPose {
    double flex, abduct, twist, elbow, pronate, wrist, curl;
};

// hipY is the pelvis height, lean tips the torso forward, turn yaws it (positive brings the
// right shoulder forward); feet are placed on the floor and the legs follow.
struct Pose {
    double hipY, hipZ, lean, turn, headTilt;
    ArmPose left, right;
    double leftFootZ, rightFootZ;
};

const double THIGH = 2.2, SHIN = 2.2, ANKLE_Y = -4.5, FOOT_X = 0.7;
const double SHOULDER_X = 1.45, SHOULDER_Y = 2.75, UPPER_ARM = 1.75, FOREARM = 1.6;

// Knee position for a two-bone leg from hip to ankle, bending towards `forward`.
Vec3 knee(Vec3 hip, Vec3 ankle, Vec3 forward) {
    const Vec3 d = ankle - hip;
    const double reach = std::fmin(std::sqrt(dot(d, d)), THIGH + SHIN - 1e-6);
    const Vec3 u = normalize(d);
    const Vec3 pole = normalize(forward - u * dot(forward, u));
    double c = (THIGH * THIGH + reach * reach - SHIN * SHIN) / (2.0 * THIGH * reach);
    c = std::fmax(-1.0, std::fmin(1.0, c));
    return hip + (u * c + pole * std::sqrt(1.0 - c * c)) * THIGH;
}

void addLeg(Mesh& mesh, const Frame& pelvis, double side, double footZ) {
    const Vec3 hip = pelvis.point({side * 0.55, -0.25, 0.0});
    const Vec3 ankle{side * FOOT_X, ANKLE_Y, footZ};
    const Vec3 forward{side * 0.12, 0.0, 1.0};
    const Vec3 k = knee(hip, ankle, forward);
    const Frame thigh = segment(hip, k, forward);
    loft(mesh, thigh, 0.2, roundRing(0.42, 8), -THIGH, roundRing(0.34, 8), true);
    const Frame shin = segment(k, ankle, forward);
    box(mesh, shin, 0.15, -SHIN, boxRing(0.36, -0.36, 0.44));  // shin guard thicker in front
    const Frame foot{rotY(side * 8.0), ankle};
    loft(mesh, foot, -0.5, boxRing(0.4, -0.45, 1.05), 0.05, boxRing(0.34, -0.4, 0.6), false);
}

// Palm, a finger block that curls towards the palm side (+z of the hand) and a thumb.
void addHand(Mesh& mesh, const Frame& hand, double side, double curl) {
    box(mesh, hand, 0.05, -0.6, boxRing(0.33, -0.15, 0.15));
    const Frame fingers = hand.child({0.0, -0.6, 0.05}, rotX(-curl));
    box(mesh, fingers, 0.02, -0.55, boxRing(0.31, -0.1, 0.1));
    const Frame thumb =
        hand.child({-side * 0.28, -0.15, 0.12}, rotZ(side * 30.0) * rotX(-curl * 0.5));
    box(mesh, thumb, 0.0, -0.38, boxRing(0.09, -0.09, 0.09));
}

void addArm(Mesh& mesh, const Frame& chest, double side, const ArmPose& a) {
    const Frame upper = chest.child({side * SHOULDER_X, SHOULDER_Y, 0.0},
                                    rotX(-a.flex) * rotZ(side * a.abduct) * rotY(-side * a.twist));
    box(mesh, upper, 0.45, -0.45, boxRing(0.5, 0.45));  // shoulder pad
    loft(mesh, upper, 0.0, roundRing(0.3, 8), -UPPER_ARM, roundRing(0.26, 8), true);
    const Frame fore = upper.child({0.0, -UPPER_ARM, 0.0}, rotX(-a.elbow));
    loft(mesh, fore, 0.15, boxRing(0.26, 0.24), -FOREARM, boxRing(0.33, 0.28), false);  // gauntlet
    const Frame hand = fore.child({0.0, -FOREARM, 0.0}, rotY(side * a.pronate) * rotX(a.wrist));
    addHand(mesh, hand, side, a.curl);
}

void addHead(Mesh& mesh, const Frame& chest, double tilt) {
    loft(mesh, chest, 3.0, roundRing(0.3, 8), 3.45, roundRing(0.28, 8), true);  // neck
    const Frame head = chest.child({0.0, 3.3, 0.0}, rotX(tilt));
    loft(mesh, head, 0.1, boxRing(0.55, -0.6, 0.55), 1.35, boxRing(0.62, -0.62, 0.62), false);
    box(mesh, head, 0.75, 1.05, boxRing(0.48, 0.5, 0.74));    // visor
    box(mesh, head, 0.3, 0.55, boxRing(0.35, 0.45, 0.66));    // jaw grille
    box(mesh, head, 1.35, 1.85, boxRing(0.06, -0.06, 0.06));  // antenna
    box(mesh, head, 1.85, 2.0, boxRing(0.12, -0.12, 0.12));
}

Mesh buildRobot(const Pose& p) {
    Mesh mesh;
    const Frame pelvis{rotY(p.turn * 0.4), {0.0, p.hipY, p.hipZ}};
    box(mesh, pelvis, -0.5, 0.35, boxRing(0.8, 0.55));
    const Frame chest{rotY(p.turn) * rotX(p.lean), {0.0, p.hipY, p.hipZ}};
    loft(mesh, chest, 0.3, boxRing(0.65, 0.45), 1.3, boxRing(0.8, 0.5), false);  // waist
    loft(mesh, chest, 1.3, boxRing(0.95, -0.55, 0.6), 3.05, boxRing(1.3, -0.6, 0.72), false);
    box(mesh, chest, 1.8, 2.7, boxRing(0.6, 0.6, 0.85));  // chest plate
    addHead(mesh, chest, p.headTilt);
    addArm(mesh, chest, 1.0, p.left);
    addArm(mesh, chest, -1.0, p.right);
    addLeg(mesh, pelvis, 1.0, p.leftFootZ);
    addLeg(mesh, pelvis, -1.0, p.rightFootZ);
    return mesh;
}

// ---- the poses ----------------------------------------------------------------------------------

const ArmPose LEAD_GUARD{28, 12, 28, 125, 90, 0, 170};
const ArmPose REAR_GUARD{16, 14, 32, 140, 90, 0, 170};
const ArmPose PALM_FORWARD{104, -16, 0, 0, 180, 85, 0};

struct KeyframeFile {
    const char* name;
    Pose pose;
};

// Orthodox guard (left foot and hand forward). The punch is a straight right that reaches
// full length at Punch04; the head punch a rising left that dips, cocks and ends at the opponent's
// head; the charge crouches with both hands cupped at the right hip; Banana (paper)
// is a right open-palm thrust and Ayuken (scissors) a two-handed push, each at full reach in
// its third file.
const KeyframeFile KEYFRAMES[] = {
    // name              hipY  hipZ  lean turn head  left arm                      right arm feet z
    {"Punch00.txt", {-0.5, 0.0, 8, -15, 0, LEAD_GUARD, REAR_GUARD, 0.9, -0.9}},
    {"Punch01.txt", {-0.5, 0.0, 8, -22, 0, LEAD_GUARD, {38, 14, 30, 128, 100, 0, 170}, 0.9, -0.9}},
    {"Punch02.txt", {-0.5, 0.0, 10, 0, 0, LEAD_GUARD, {62, 6, 15, 80, 140, 0, 170}, 0.9, -0.9}},
    {"Punch03.txt", {-0.5, 0.1, 12, 20, 0, LEAD_GUARD, {96, -2, 5, 35, 170, 0, 170}, 0.9, -0.9}},
    {"Punch04.txt",
     {-0.5,
      0.25,
      15,
      35,
      0,
      {30, 16, 32, 128, 90, 0, 170},
      {104, -8, 0, 0, 180, 0, 170},
      0.9,
      -0.9}},
    {"HeadPunch01.txt",
     {-0.8, 0.0, 14, -15, 0, {22, 14, 25, 100, 90, 0, 170}, REAR_GUARD, 0.9, -0.9}},
    {"HeadPunch02.txt", {-1.05, 0.0, 16, 5, 0, {5, 18, 15, 95, 60, 0, 170}, REAR_GUARD, 0.9, -0.9}},
    {"HeadPunch03.txt",
     {-0.75, 0.0, 8, -10, 0, {45, 10, 5, 95, 40, 0, 170}, REAR_GUARD, 0.9, -0.9}},
    {"HeadPunch04.txt", {-0.45, 0.0, 0, -25, 0, {80, 4, 0, 65, 20, 0, 170}, REAR_GUARD, 0.9, -0.9}},
    {"HeadPunch05.txt",
     {-0.3, 0.1, -4, -34, -6, {108, -4, 0, 6, 0, 0, 170}, REAR_GUARD, 0.9, -0.9}},
    {"ComboPrep01.txt",
     {-1.0,
      0.0,
      14,
      -28,
      0,
      {25, -28, 30, 75, 90, 10, 70},
      {-15, 12, 20, 85, 90, 10, 70},
      1.05,
      -1.05}},
    {"ComboPrep02.txt",
     {-1.45,
      0.0,
      20,
      -42,
      8,
      {18, -38, 35, 80, 90, 15, 65},
      {-22, 10, 25, 88, 90, 15, 65},
      1.2,
      -1.2}},
    {"Banana01.txt",
     {-1.2,
      0.0,
      12,
      -30,
      8,
      {55, 5, 25, 70, 90, 0, 170},
      {-18, 10, 10, 100, 180, 30, 30},
      1.2,
      -1.2}},
    {"Banana02.txt",
     {-1.0, 0.0, 14, 0, 8, {15, 12, 30, 110, 90, 0, 170}, {72, 0, 5, 60, 180, 45, 10}, 1.35, -1.3}},
    {"Banana03.txt",
     {-1.05,
      0.0,
      20,
      38,
      -8,
      {-20, 12, 20, 100, 90, 0, 170},
      {108, -6, 0, 0, 180, 85, 0},
      1.55,
      -1.45}},
    {"Ayuken01.txt",
     {-1.35,
      0.0,
      16,
      -35,
      8,
      {20, -36, 35, 85, 120, 20, 40},
      {-20, 8, 25, 90, 120, 20, 40},
      1.2,
      -1.2}},
    {"Ayuken02.txt",
     {-1.1,
      0.0,
      12,
      -8,
      8,
      {55, -14, 20, 70, 150, 50, 10},
      {50, -10, 20, 75, 150, 50, 10},
      1.3,
      -1.3}},
    {"Ayuken03.txt", {-1.05, 0.0, 16, 0, -6, PALM_FORWARD, PALM_FORWARD, 1.5, -1.4}},
};

// ---- writing --------------------------------------------------------------------------------

bool writeMesh(const std::string& path, const Mesh& mesh) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "Unable to write %s\n", path.c_str());
        return false;
    }
    for (const Corner& c : mesh) std::fprintf(out, "v %.5f %.5f %.5f\n", c.p.x, c.p.y, c.p.z);
    std::fprintf(out, "vt 0.0 0.0\n");
    for (const Corner& c : mesh) std::fprintf(out, "vn %.5f %.5f %.5f\n", c.n.x, c.n.y, c.n.z);
    for (std::size_t i = 1; i + 2 <= mesh.size(); i += 3)
        std::fprintf(out, "f %zu/1/%zu %zu/1/%zu %zu/1/%zu\n", i, i, i + 1, i + 1, i + 2, i + 2);
    std::fprintf(out, "g robot\n");
    const bool ok = std::ferror(out) == 0;
    if (std::fclose(out) != 0 || !ok) {
        std::fprintf(stderr, "Unable to write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool writeKeyframes(const std::string& dir) {
    bool ok = true;
    for (const KeyframeFile& file : KEYFRAMES)
        ok = writeMesh(dir + "/" + file.name, buildRobot(file.pose)) && ok;
    return ok;
}

}  // namespace assetgen

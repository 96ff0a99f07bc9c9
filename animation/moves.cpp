#include "animation/moves.h"

#include "animation/texture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

struct KeyframeEntry {
    const char* file;
    int32_t time;
    float distance;
};

// The seven moves, in move-number order: the keyframe files, their times in ticks and the
// approach distance of each keyframe.
const std::vector<std::vector<KeyframeEntry>>& moveTable() {
    static const std::vector<std::vector<KeyframeEntry>> table = {
        {{"Punch00.txt", 0, 30}},
        {{"Punch00.txt", 0, 30}, {"Punch01.txt", 6, 30}, {"Punch02.txt", 12, 30},
         {"Punch03.txt", 18, 30}, {"Punch04.txt", 24, 30}, {"Punch03.txt", 36, 30},
         {"Punch02.txt", 48, 30}, {"Punch01.txt", 60, 30}, {"Punch00.txt", 75, 30}},
        {{"Punch00.txt", 0, 30}, {"HeadPunch01.txt", 5, 30}, {"HeadPunch02.txt", 10, 30},
         {"HeadPunch03.txt", 15, 30}, {"HeadPunch04.txt", 20, 30}, {"HeadPunch05.txt", 25, 30},
         {"HeadPunch04.txt", 35, 30}, {"HeadPunch03.txt", 45, 30}, {"HeadPunch02.txt", 55, 30},
         {"HeadPunch01.txt", 65, 30}, {"Punch00.txt", 75, 30}},
        {{"Punch00.txt", 0, 30}, {"ComboPrep01.txt", 25, 30}, {"ComboPrep02.txt", 50, 30}},
        {{"ComboPrep02.txt", 0, 30}, {"Banana01.txt", 20, 20}, {"Banana02.txt", 40, 10},
         {"Banana03.txt", 70, 1}, {"Banana02.txt", 90, 5}, {"Banana01.txt", 120, 15},
         {"ComboPrep02.txt", 150, 30}},
        {{"ComboPrep02.txt", 0, 30}, {"Ayuken01.txt", 20, 20}, {"Ayuken02.txt", 40, 10},
         {"Ayuken03.txt", 70, 1}, {"Ayuken02.txt", 90, 5}, {"Ayuken01.txt", 120, 15},
         {"ComboPrep02.txt", 150, 30}},
        {{"ComboPrep02.txt", 0, 30}, {"ComboPrep01.txt", 25, 30}, {"Punch00.txt", 50, 30}},
    };
    return table;
}

const float REST_DISTANCE = 30.0f;

// A 1-based list number as the renderer uses it (truncated towards zero) must land inside a
// list of `size` entries; NaN and huge values fail the comparison.
bool validNumber(double number, std::size_t size) {
    return number >= 1.0 && number < static_cast<double>(size) + 1.0;
}

// Why a pose read from a keyframe file cannot be drawn or blended safely; empty when it can.
std::string poseProblem(const Model& pose) {
    const std::size_t vertexCount = pose[VERTICES].size();
    const std::size_t normalCount = pose[NORMALS].size();
    if (normalCount < vertexCount) return "fewer normals than vertices";
    for (const std::vector<double>& triangle : pose[POLYGONS]) {
        for (int k = 0; k < 3; ++k) {
            if (!validNumber(triangle[3 * k], vertexCount))
                return "a triangle refers to a vertex that does not exist";
            if (!validNumber(triangle[3 * k + 2], normalCount))
                return "a triangle refers to a normal that does not exist";
        }
    }
    return "";
}

void blendList(std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b,
               double t, std::size_t count) {
    const std::size_t n = std::min({count, a.size(), b.size()});
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t axes = std::min<std::size_t>({3, a[i].size(), b[i].size()});
        for (std::size_t j = 0; j < axes; ++j) a[i][j] = (1.0 - t) * a[i][j] + t * b[i][j];
    }
}

}  // namespace

const char* const Moves::textureFiles[Moves::TEXTURE_COUNT] = {
    "CPLifeKV.bmp", "CPLifeTZ.bmp", "pierre.bmp", "feuille.bmp",  "ciseaux.bmp", "chiffou.bmp",
    "mi.bmp",       "paf.bmp",      "critical.bmp", "prwin.bmp", "pawin.bmp",   "win.bmp",
    "ko.bmp",       "draw.bmp"};

Moves::Moves() : textureIds() {}

Moves::~Moves() {}

// ---- moves ----------------------------------------------------------------------------------

void Moves::loadMoves() {
    if (!readMoves()) {
        std::fprintf(stderr, "Cannot animate the fighters without their keyframe files\n");
        std::exit(1);
    }
}

namespace {

// Reads the keyframe the reader was just pointed at; returns why it cannot be used, or "".
std::string readPose(FileReader& reader, Model& pose) {
    if (!reader.good()) return std::string("cannot open it: ") + std::strerror(errno);
    pose = reader.getAll();
    if (!reader.good())
        return "it ends, or holds something that is not a number, before its \"g\" end mark";
    return poseProblem(pose);
}

}  // namespace

void Moves::clearMoves() {
    keyframes.clear();
    keyTimes.clear();
    keyDistances.clear();
}

std::vector<const char*> Moves::keyframeFiles() {
    std::vector<const char*> files;
    std::set<std::string> seen;
    for (const std::vector<KeyframeEntry>& move : moveTable())
        for (const KeyframeEntry& key : move)
            if (seen.insert(key.file).second) files.push_back(key.file);
    return files;
}

namespace {

// The vertex count most of the good files share (the first file's on a tie). The moves chain
// into each other through shared files, so every pose belongs to one mesh: a file that
// disagrees with the majority is the one to blame, not the files it would be blended with.
std::size_t commonVertexCount(const std::vector<const char*>& files,
                              const std::map<std::string, Model>& poses) {
    std::map<std::size_t, int> votes;
    std::size_t best = 0;
    int bestVotes = 0;
    for (const char* file : files) {
        const auto pose = poses.find(file);
        if (pose == poses.end()) continue;
        const int n = ++votes[pose->second[VERTICES].size()];
        if (n > bestVotes) {
            bestVotes = n;
            best = pose->second[VERTICES].size();
        }
    }
    return best;
}

// Reads every keyframe file; the good poses land in `poses`, each bad file is named on stderr.
// Returns whether all were good.
bool readKeyframeFiles(std::map<std::string, Model>& poses) {
    const std::vector<const char*> files = Moves::keyframeFiles();
    std::map<std::string, std::string> problems;
    FileReader reader(files[0]);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) reader.changeFile(files[i]);
        Model pose(4);
        const std::string problem = readPose(reader, pose);
        if (problem.empty())
            poses[files[i]] = std::move(pose);
        else
            problems[files[i]] = problem;
    }
    const std::size_t vertexCount = commonVertexCount(files, poses);
    for (const char* file : files) {
        const auto pose = poses.find(file);
        if (pose == poses.end() || pose->second[VERTICES].size() == vertexCount) continue;
        problems[file] = "it has " + std::to_string(pose->second[VERTICES].size()) +
                         " vertices where the other keyframe files have " +
                         std::to_string(vertexCount);
    }
    for (const char* file : files) {
        const auto problem = problems.find(file);
        if (problem != problems.end())
            std::fprintf(stderr, "Unable to read keyframe file %s: %s\n", file,
                         problem->second.c_str());
    }
    return problems.empty();
}

}  // namespace

bool Moves::readMoves() {
    clearMoves();
    std::map<std::string, Model> poses;
    if (!readKeyframeFiles(poses)) return false;
    for (const std::vector<KeyframeEntry>& move : moveTable()) {
        keyframes.emplace_back();
        keyTimes.emplace_back();
        keyDistances.emplace_back();
        for (const KeyframeEntry& key : move) {
            keyframes.back().push_back(poses[key.file]);
            keyTimes.back().push_back(key.time);
            keyDistances.back().push_back(key.distance);
        }
    }
    return true;
}

bool Moves::validMove(int move) const {
    return move >= 0 && static_cast<std::size_t>(move) < keyframes.size() &&
           !keyframes[move].empty();
}

int Moves::findKeyframe(int move, int time) const {
    const std::vector<int32_t>& times = keyTimes[move];
    int k = 0;
    for (std::size_t i = 0; i < times.size(); ++i)
        if (times[i] <= time) k = static_cast<int>(i);
    return k;
}

// Clamped to [0, 1]: a time before the first keyframe holds the first pose instead of
// extrapolating the mesh beyond it.
double Moves::blendWeight(int move, int k, int time) const {
    const std::vector<int32_t>& times = keyTimes[move];
    const double t = static_cast<double>(int64_t(time) - times[k]) /
                     static_cast<double>(int64_t(times[k + 1]) - times[k]);
    return std::clamp(t, 0.0, 1.0);
}

Model Moves::interpolate(int move, int time) {
    if (!validMove(0)) return Model(4);
    // Move 0 is the rest pose at any time; so is a move number we do not know.
    if (move == 0 || !validMove(move)) return keyframes[0][0];
    const std::vector<Model>& poses = keyframes[move];
    const int k = findKeyframe(move, time);
    if (static_cast<std::size_t>(k) + 1 >= poses.size()) return poses[k];
    const double t = blendWeight(move, k, time);
    Model pose = poses[k];
    const Model& next = poses[k + 1];
    const std::size_t vertexCount = pose[VERTICES].size();
    blendList(pose[VERTICES], next[VERTICES], t, vertexCount);
    blendList(pose[NORMALS], next[NORMALS], t, vertexCount);
    return pose;
}

float Moves::interpolateDist(int move, int time) {
    if (move == 0 || !validMove(move)) return REST_DISTANCE;
    const int k = findKeyframe(move, time);
    const std::vector<float>& distances = keyDistances[move];
    if (static_cast<std::size_t>(k) + 1 >= distances.size()) return REST_DISTANCE;
    const double t = blendWeight(move, k, time);
    return static_cast<float>(distances[k] * (1.0 - t) + distances[k + 1] * t);
}

int Moves::getMoveLength(int move) {
    if (!validMove(move)) return 0;
    return keyTimes[move].back();
}

// ---- textures -------------------------------------------------------------------------------

void Moves::loadTextures() {
    glGenTextures(TEXTURE_COUNT, textureIds);
    for (int i = 0; i < TEXTURE_COUNT; ++i) loadTexture(textureFiles[i], i);
}

void Moves::loadTexture(const char* fileName, int index) {
    if (index < 0 || index >= TEXTURE_COUNT) {
        std::fprintf(stderr, "Texture %s: index %d is outside the texture table\n", fileName,
                     index);
        return;
    }
    uploadBmpTexture(textureIds[index], fileName, greyPlaceholder);
}

unsigned int* Moves::getText() {
    return textureIds;
}

// ---- particles ------------------------------------------------------------------------------

namespace {

float offsetDraw() {
    return static_cast<float>((std::rand() % 800) / 100.0 - 4.0);
}

float boostDraw() {
    return static_cast<float>((std::rand() % 80) / 10.0 + 2.0);
}

// Slow particles are sped up so that every burst visibly flies apart.
void speedUp(float* v, const float* axis) {
    const float s = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    if (s < 4.0f) {
        for (int j = 0; j < 3; ++j) v[j] += boostDraw() * axis[j];
    } else if (s < 16.0f) {
        const float factor = s < 9.0f ? 7.0f : 5.0f;
        for (int j = 0; j < 3; ++j) v[j] *= factor;
    }
}

}  // namespace

void Moves::newBang(std::vector<float> burst, int count, int side) {
    burst.resize(6, 0.0f);  // a short description must not be read past its end
    const float* axis = &burst[3];
    for (int n = 0; n < count; ++n) {
        const float r1 = offsetDraw();
        const float r2 = offsetDraw();
        const float r3 = offsetDraw();
        const float r4 = static_cast<float>((std::rand() % 100) / 100.0 - 0.5);
        float v[3] = {r2 * axis[2] - r3 * axis[1] + r4 * axis[0],
                      r3 * axis[0] - r1 * axis[2] + r4 * axis[1],
                      r1 * axis[1] - r2 * axis[0] + r4 * axis[2]};
        speedUp(v, axis);
        particles.push_back({0.0f, 1.0f, burst[0], burst[1], burst[2], v[0], v[1], v[2],
                             side == 1 ? 1.0f : 0.0f});
    }
}

std::vector<std::vector<float>> Moves::moveParticles(int step) {
    if (particles.size() > 1000) particles.clear();
    for (std::vector<float>& p : particles) {
        p[0] += step;
        p[1] *= 0.98f;
        for (int j = 0; j < 3; ++j) p[2 + j] += static_cast<float>(step * (p[5 + j] * 0.001));
    }
    return particles;
}

void Moves::clearParticles() {
    particles.clear();
}

// ---- towers ---------------------------------------------------------------------------------

namespace {

typedef std::vector<std::vector<float>> Tower;

const float AGE_LIMIT = 300.0f;

void trimOld(Tower& tower) {
    std::size_t old = 0;
    while (old < tower.size() && tower[old][0] > AGE_LIMIT) ++old;
    tower.erase(tower.begin(), tower.begin() + old);
}

// The win towers never show more than three stages: a fourth collapses them.
void trimWins(Tower& tower) {
    if (tower.size() > 3) tower.erase(tower.begin(), tower.begin() + 3);
}

void ageAndFade(Tower& tower, int step) {
    for (std::vector<float>& stage : tower) {
        stage[0] += step;
        stage[1] *= 0.98f;
    }
}

}  // namespace

std::vector<std::vector<float>>& Moves::towerByNumber(int type) {
    switch (type) {
        case 1: return tower1;
        case 2: return tower2;
        case 3: return tower3;
        case 4: return tower4;
        default: return tower5;
    }
}

void Moves::addStage(int type, int texture) {
    towerByNumber(type).push_back({0.0f, 1.0f, static_cast<float>(texture)});
}

void Moves::moveTower(int step) {
    trimOld(tower1);
    ageAndFade(tower1, step);
    trimOld(tower2);
    ageAndFade(tower2, step);
    trimOld(tower3);
    trimWins(tower3);
    ageAndFade(tower3, step);
    trimWins(tower4);
    trimOld(tower4);
    ageAndFade(tower4, step);
    // One banner at a time: the oldest gives way, one per call.
    if (tower5.size() > 1) tower5.erase(tower5.begin());
    for (std::vector<float>& stage : tower5) stage[1] *= 0.9f;
}

std::vector<std::vector<float>> Moves::getTower(int type) {
    return towerByNumber(type);
}

void Moves::clearTowers() {
    for (int tower = 1; tower <= 5; ++tower) towerByNumber(tower).clear();
}

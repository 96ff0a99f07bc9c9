// The move table and the reading of its keyframe files.
#include "animation/moves.h"

#include <algorithm>
#include <iterator>

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

// The seven moves, in move-number order (animation::MoveNumber): the keyframe files, their
// times in ticks and the approach distance of each keyframe.
const std::vector<std::vector<KeyframeEntry>>& moveTable() {
    static const std::vector<std::vector<KeyframeEntry>> table = {
        {{"Punch00.txt", 0, 30}},
        {{"Punch00.txt", 0, 30},
         {"Punch01.txt", 6, 30},
         {"Punch02.txt", 12, 30},
         {"Punch03.txt", 18, 30},
         {"Punch04.txt", 24, 30},
         {"Punch03.txt", 36, 30},
         {"Punch02.txt", 48, 30},
         {"Punch01.txt", 60, 30},
         {"Punch00.txt", 75, 30}},
        {{"Punch00.txt", 0, 30},
         {"HeadPunch01.txt", 5, 30},
         {"HeadPunch02.txt", 10, 30},
         {"HeadPunch03.txt", 15, 30},
         {"HeadPunch04.txt", 20, 30},
         {"HeadPunch05.txt", 25, 30},
         {"HeadPunch04.txt", 35, 30},
         {"HeadPunch03.txt", 45, 30},
         {"HeadPunch02.txt", 55, 30},
         {"HeadPunch01.txt", 65, 30},
         {"Punch00.txt", 75, 30}},
        {{"Punch00.txt", 0, 30}, {"ComboPrep01.txt", 25, 30}, {"ComboPrep02.txt", 50, 30}},
        {{"ComboPrep02.txt", 0, 30},
         {"Banana01.txt", 20, 20},
         {"Banana02.txt", 40, 10},
         {"Banana03.txt", 70, 1},
         {"Banana02.txt", 90, 5},
         {"Banana01.txt", 120, 15},
         {"ComboPrep02.txt", 150, 30}},
        {{"ComboPrep02.txt", 0, 30},
         {"Ayuken01.txt", 20, 20},
         {"Ayuken02.txt", 40, 10},
         {"Ayuken03.txt", 70, 1},
         {"Ayuken02.txt", 90, 5},
         {"Ayuken01.txt", 120, 15},
         {"ComboPrep02.txt", 150, 30}},
        {{"ComboPrep02.txt", 0, 30}, {"ComboPrep01.txt", 25, 30}, {"Punch00.txt", 50, 30}},
    };
    return table;
}

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

}  // namespace

Moves::Moves() : textureIds() {}

Moves::~Moves() {}

Moves::Moves(const Moves& other)
    : keyframes(other.keyframes),
      keyTimes(other.keyTimes),
      keyDistances(other.keyDistances),
      particles(other.particles),
      rulesData_(other.rulesData_),
      own_(*other.shown_) {
    std::copy(std::begin(other.textureIds), std::end(other.textureIds), textureIds);
}

Moves& Moves::operator=(const Moves& other) {
    if (this == &other) return *this;
    keyframes = other.keyframes;
    keyTimes = other.keyTimes;
    keyDistances = other.keyDistances;
    particles = other.particles;
    rulesData_ = other.rulesData_;
    std::copy(std::begin(other.textureIds), std::end(other.textureIds), textureIds);
    *shown_ = *other.shown_;
    return *this;
}

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
    rulesData_ = animation::RulesData();
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
    for (int move = 0; move < MOVE_COUNT; ++move) rulesData_.moveLength[move] = getMoveLength(move);
    return true;
}

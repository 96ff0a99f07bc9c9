// A move's pose and approach distance between its keyframes.
#include "animation/moves.h"

#include <algorithm>

#include "animation/codes.h"

using animation::kRest;

namespace {

const float REST_DISTANCE = 30.0f;

void blendList(std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b,
               double t, std::size_t count) {
    const std::size_t n = std::min({count, a.size(), b.size()});
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t axes = std::min<std::size_t>({3, a[i].size(), b[i].size()});
        for (std::size_t j = 0; j < axes; ++j) a[i][j] = (1.0 - t) * a[i][j] + t * b[i][j];
    }
}

}  // namespace

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
    if (!validMove(kRest)) return Model(4);
    // The rest move is the rest pose at any time; so is a move number we do not know.
    if (move == kRest || !validMove(move)) return keyframes[0][0];
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
    if (move == kRest || !validMove(move)) return REST_DISTANCE;
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

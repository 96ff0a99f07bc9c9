// The explosion particles: bursts, their flight and their fading.
#include "animation/moves.h"

#include <cstdlib>

namespace {

float offsetDraw() { return static_cast<float>((std::rand() % 800) / 100.0 - 4.0); }

float boostDraw() { return static_cast<float>((std::rand() % 80) / 10.0 + 2.0); }

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
        particles.push_back(
            {0.0f, 1.0f, burst[0], burst[1], burst[2], v[0], v[1], v[2], side == 1 ? 1.0f : 0.0f});
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

void Moves::clearParticles() { particles.clear(); }

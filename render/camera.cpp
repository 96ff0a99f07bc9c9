#include "render/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

const float startX1 = -5.0f;
const float startX2 = 5.0f;

}  // namespace

Camera::Camera() : distance(0.0f), centre(0.0f) {}

Camera::~Camera() {}

void Camera::updateCamera(float x1, float x2) {
    const float gap = x2 - x1;
    if (gap < 1.0f)
        distance = 1.8f;
    else
        distance = (gap + 2.0f) * 0.6f;
    centre = (x1 + x2) / 2.0f;
}

void Camera::placeCamera() {
    // Every update leaves distance at 1.8 or more, so 0 means none has run yet; the angle
    // would be 0 / 0, so the view is the one of the starting positions instead.
    Camera view = *this;
    if (!(view.distance > 0.0f)) view.updateCamera(startX1, startX2);

    gluLookAt(0.0, 0.0, 0.6, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glPushMatrix();
    const float turn = 20.0f * std::atan(view.centre / view.distance);
    glRotatef(turn, 0.0f, 1.0f, 0.0f);
    glTranslatef(-view.centre / 2.0f, 0.0f, -view.distance);
}

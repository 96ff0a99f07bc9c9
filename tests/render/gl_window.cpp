#include "gl_window.h"

#include "render/backgrnd.h"
#include "tests/support/data_folder.h"
#include "tests/support/sdl_exit.h"
#include "tests/support/wait.h"

#include <GL/glu.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <unistd.h>

namespace {

const float orthoRange = 10.0f;

// An X server resets itself when its last client leaves and refuses connections meanwhile;
// with test programs coming and going one after the other that is a race. Wait for a
// connection and hold it until the window is up, so the server cannot reset under us.
Display* holdDisplay() {
    Display* display = nullptr;
    testwait::waitUntil([&] { return (display = XOpenDisplay(nullptr)) != nullptr; });
    return display;
}

FeedbackVertex readVertex(const std::vector<GLfloat>& b, GLint& i) {
    FeedbackVertex v{b[i],     b[i + 1], b[i + 2], b[i + 3], b[i + 4],
                     b[i + 5], b[i + 6], b[i + 7], b[i + 8]};
    i += 11;  // x y z, r g b a, s t r q
    return v;
}

}  // namespace

Moteur3d& GlWindow::engine() {
    static Moteur3d moteur;
    static bool ready = false;
    if (!ready) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (chdir(testsupport::dataFolder().c_str()) != 0)
            ADD_FAILURE() << "no data folder " << testsupport::dataFolder();
        Display* held = holdDisplay();
        moteur.init();
        testsupport::closeSdlAtExit();
        if (held) XCloseDisplay(held);
        ready = true;
    }
    return moteur;
}

void GlWindow::SetUp() {
    engine();
    resetFrame();
}

void GlWindow::resetFrame(float r, float g, float b) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void GlWindow::hudFrame() {
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 0.6, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

Pixel GlWindow::pixel(int x, int y) {
    unsigned char rgb[3] = {0, 0, 0};
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

std::vector<unsigned char> GlWindow::frame() {
    std::vector<unsigned char> rgb(800 * 600 * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

void GlWindow::project(float x, float y, float z, double& wx, double& wy) {
    GLdouble model[16], proj[16], wz;
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
}

unsigned int GlWindow::solidTexture(unsigned char r, unsigned char g, unsigned char b) {
    unsigned char texels[4 * 4 * 3];
    for (int i = 0; i < 16; ++i) {
        texels[3 * i] = r;
        texels[3 * i + 1] = g;
        texels[3 * i + 2] = b;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return name;
}

int GlWindow::modelviewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

void beginOrthoCapture(std::vector<GLfloat>& buffer) {
    buffer.assign(1 << 20, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-orthoRange, orthoRange, -orthoRange, orthoRange, -orthoRange, orthoRange);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
}

GLint endOrthoCapture() {
    const GLint used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    return used;
}

Feedback parseFeedback(const std::vector<GLfloat>& b, GLint used) {
    Feedback out;
    GLint i = 0;
    while (i < used) {
        const GLint token = static_cast<GLint>(b[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const GLint n = static_cast<GLint>(b[i++]);
            std::vector<FeedbackVertex> polygon;
            for (GLint k = 0; k < n; ++k) polygon.push_back(readVertex(b, i));
            out.polygons.push_back(polygon);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            std::vector<FeedbackVertex> line;
            line.push_back(readVertex(b, i));
            line.push_back(readVertex(b, i));
            out.lines.push_back(line);
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            readVertex(b, i);
        } else {
            ++i;  // pass-through marker value
        }
    }
    return out;
}

void toObject(const FeedbackVertex& v, float& x, float& y, float& z) {
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    x = (v.x - view[0]) / view[2] * 2.0f * orthoRange - orthoRange;
    y = (v.y - view[1]) / view[3] * 2.0f * orthoRange - orthoRange;
    // glOrtho maps z = -near..-far to depth 0..1, so depth grows as z falls.
    z = -(v.z * 2.0f - 1.0f) * orthoRange;
}

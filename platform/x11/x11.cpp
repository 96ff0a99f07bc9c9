// The X11 video driver: one connection, used by the main thread only. X windows follow the
// core's windows (created, mapped, focused, destroyed) each time the main thread pumps; X
// events become messages; changed canvases are put on screen with XPutImage.
#include "platform/x11/x11_driver.h"
#include "platform/x11/x11_keys.h"

#include "platform/core/layer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>

namespace vorlaxis::platform {

namespace {

std::mutex displayMutex;
Display* display = nullptr;
Atom wmProtocols = 0;
Atom wmDeleteWindow = 0;
XErrorHandler previousErrorHandler = nullptr;
std::atomic<HWND> pendingFocus{nullptr};

struct XSide {
    ::Window xwin = 0;
    bool mapped = false;
    GC gc = nullptr;
    XImage* image = nullptr;
    std::vector<uint32_t> buffer;
};

// Main thread only.
std::map<HWND, XSide>& xWindows() {
    static std::map<HWND, XSide> table;
    return table;
}

// Our requests may name windows destroyed from outside; that is no reason to end the program.
// Errors on other connections (SDL's) keep their usual treatment.
int onXError(Display* errorDisplay, XErrorEvent* event) {
    if (errorDisplay == display) return 0;
    return previousErrorHandler ? previousErrorHandler(errorDisplay, event) : 0;
}

// The connection is set once, under the lock; taking the lock here orders that write before
// every later use on the main thread.
bool useX() {
    std::lock_guard<std::mutex> guard(displayMutex);
    return display != nullptr;
}

void makeImage(XSide& side, int width, int height) {
    int screen = DefaultScreen(display);
    side.buffer.assign(static_cast<size_t>(width) * height, 0);
    side.image = XCreateImage(
        display, DefaultVisual(display, screen), DefaultDepth(display, screen), ZPixmap, 0,
        reinterpret_cast<char*>(side.buffer.data()), width, height, 32, width * 4);
}

void setHints(::Window xwin, const Window& window) {
    XStoreName(display, xwin, window.caption.c_str());
    std::vector<char> name(window.windowClass.name.begin(), window.windowClass.name.end());
    name.push_back('\0');
    XClassHint classHint;
    classHint.res_name = name.data();
    classHint.res_class = name.data();
    XSetClassHint(display, xwin, &classHint);
    XSizeHints* size = XAllocSizeHints();
    size->flags = USPosition | PPosition | PSize | PMinSize | PMaxSize;
    size->x = window.x;
    size->y = window.y;
    size->width = size->min_width = size->max_width = window.width;
    size->height = size->min_height = size->max_height = window.height;
    XSetWMNormalHints(display, xwin, size);
    XFree(size);
    XWMHints* wm = XAllocWMHints();
    wm->flags = InputHint;
    wm->input = True;
    XSetWMHints(display, xwin, wm);
    XFree(wm);
    XSetWMProtocols(display, xwin, &wmDeleteWindow, 1);
}

XSide createXWindow(const Window& window) {
    XSide side;
    int screen = DefaultScreen(display);
    XSetWindowAttributes attributes;
    std::memset(&attributes, 0, sizeof attributes);
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.event_mask = KeyPressMask | ExposureMask | StructureNotifyMask;
    int width = std::max(window.width, 1);
    int height = std::max(window.height, 1);
    side.xwin = XCreateWindow(display, RootWindow(display, screen), window.x, window.y, width,
                              height, 0, CopyFromParent, InputOutput, CopyFromParent,
                              CWBackPixel | CWEventMask, &attributes);
    setHints(side.xwin, window);
    side.gc = XCreateGC(display, side.xwin, 0, nullptr);
    makeImage(side, width, height);
    return side;
}

void releaseXWindow(XSide& side, bool destroyWindow) {
    if (side.image) {
        side.image->data = nullptr;  // the pixels belong to side.buffer
        XDestroyImage(side.image);
    }
    if (side.gc) XFreeGC(display, side.gc);
    if (destroyWindow && side.xwin) XDestroyWindow(display, side.xwin);
}

void applyFocus() {
    HWND focus = pendingFocus.load();
    auto it = xWindows().find(focus);
    if (it == xWindows().end() || !it->second.mapped) return;
    XSetInputFocus(display, it->second.xwin, RevertToParent, CurrentTime);
    pendingFocus.compare_exchange_strong(focus, nullptr);
}

void syncX() {
    auto live = windows().snapshot();
    std::map<HWND, bool> topLevel;
    for (auto& [id, window] : live) {
        if (window->style & WS_CHILD) continue;
        HWND h = reinterpret_cast<HWND>(id);
        topLevel[h] = true;
        auto found = xWindows().find(h);
        if (found == xWindows().end()) found = xWindows().emplace(h, createXWindow(*window)).first;
        XSide& side = found->second;
        bool visible = window->visible.load();
        if (side.xwin && visible != side.mapped) {
            if (visible)
                XMapWindow(display, side.xwin);
            else
                XUnmapWindow(display, side.xwin);
            side.mapped = visible;
            window->canvas->markChanged();
        }
    }
    for (auto it = xWindows().begin(); it != xWindows().end();) {
        if (topLevel.count(it->first)) {
            ++it;
            continue;
        }
        releaseXWindow(it->second, true);
        it = xWindows().erase(it);
    }
    applyFocus();
    XFlush(display);
}

// Draws a window and its visible children into `out`, clipped to `clip`.
void compose(Window& window, uint32_t* out, int outWidth, int originX, int originY,
             const RECT& clip) {
    RECT area{std::max<LONG>(clip.left, originX), std::max<LONG>(clip.top, originY),
              std::min<LONG>(clip.right, originX + window.width),
              std::min<LONG>(clip.bottom, originY + window.height)};
    if (area.left >= area.right || area.top >= area.bottom) return;
    {
        std::lock_guard<std::mutex> guard(window.canvas->mutex);
        for (int y = area.top; y < area.bottom; ++y) {
            const uint32_t* src = window.canvas->row(y - originY) + (area.left - originX);
            std::memcpy(out + static_cast<size_t>(y) * outWidth + area.left, src,
                        sizeof(uint32_t) * (area.right - area.left));
        }
    }
    for (auto& child : childrenOf(window)) {
        if (child->visible.load())
            compose(*child, out, outWidth, originX + child->x, originY + child->y, area);
    }
}

bool fastPixelFormat(const XImage& image) {
    return image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 &&
           image.blue_mask == 0xFF && image.byte_order == LSBFirst;
}

// Places each 8-bit channel under its mask of the visual.
unsigned long channel(uint32_t value, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0, bits = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while ((mask >> (shift + bits)) & 1) ++bits;
    unsigned long scaled = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
    return (scaled << shift) & mask;
}

unsigned long visualPixel(const XImage& image, uint32_t p) {
    return channel((p >> 16) & 0xFF, image.red_mask) | channel((p >> 8) & 0xFF, image.green_mask) |
           channel(p & 0xFF, image.blue_mask);
}

void putOnScreen(XSide& side, Window& window) {
    XImage& image = *side.image;
    RECT all{0, 0, image.width, image.height};
    if (fastPixelFormat(image)) {
        compose(window, side.buffer.data(), image.width, 0, 0, all);
    } else {
        // Other visuals: convert pixel by pixel. The image's rows are 4 bytes a pixel, room
        // enough for any depth.
        std::vector<uint32_t> picture(side.buffer.size());
        compose(window, picture.data(), image.width, 0, 0, all);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                uint32_t p = picture[static_cast<size_t>(y) * image.width + x];
                XPutPixel(&image, x, y, visualPixel(image, p));
            }
    }
    XPutImage(display, side.xwin, side.gc, side.image, 0, 0, 0, 0, side.image->width,
              side.image->height);
}

void present() {
    bool any = false;
    for (auto& [h, side] : xWindows()) {
        auto window = findWindow(h);
        if (!window || !side.mapped || !side.image) continue;
        if (!window->canvas->dirty->exchange(false)) continue;
        putOnScreen(side, *window);
        any = true;
    }
    if (any) XFlush(display);
}

HWND windowOf(::Window xwin) {
    for (auto& [h, side] : xWindows())
        if (side.xwin == xwin) return h;
    return nullptr;
}

void post(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    auto window = findWindow(h);
    if (!window) return;
    MSG msg{};
    msg.hwnd = h;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    postToThread(window->owner, msg);
}

void translate(XEvent& event) {
    HWND h = windowOf(event.xany.window);
    if (!h) return;
    switch (event.type) {
    case ClientMessage:
        if (event.xclient.message_type == wmProtocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == wmDeleteWindow)
            post(h, WM_CLOSE, 0, 0);
        break;
    case KeyPress:
        if (WPARAM vk = virtualKeyOf(XLookupKeysym(&event.xkey, 0)))
            post(h, WM_KEYDOWN, vk, 1 | (static_cast<LPARAM>(event.xkey.keycode & 0xFF) << 16));
        break;
    case Expose:
        if (event.xexpose.count == 0) {
            if (auto window = findWindow(h)) window->canvas->markChanged();
            post(h, WM_PAINT, 0, 0);
        }
        break;
    case DestroyNotify: {
        // Gone from outside (we forget our own before destroying them): without it the
        // program has lost its way out, so treat it as a close request.
        XSide& side = xWindows()[h];
        releaseXWindow(side, false);
        side = XSide{};
        post(h, WM_CLOSE, 0, 0);
        break;
    }
    default: break;
    }
}

void readEvents() {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        translate(event);
    }
}

bool openDisplay(std::string* why) {
    std::lock_guard<std::mutex> guard(displayMutex);
    if (display) return true;
    XInitThreads();
    display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        if (why)
            *why = name && *name ? "cannot open the X display \"" + std::string(name) + "\""
                                 : std::string("no X display: DISPLAY is not set");
        return false;
    }
    wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    previousErrorHandler = XSetErrorHandler(onXError);
    return true;
}

class X11Driver : public VideoDriver {
public:
    const char* name() const override { return "x11"; }
    bool open(std::string* why) override { return openDisplay(why); }
    void pump() override {
        if (!useX()) return;
        syncX();
        readEvents();
        present();
    }
    void sync() override {
        if (useX()) syncX();
    }
    void focus(HWND hWnd) override { pendingFocus.store(hWnd); }
};

}  // namespace

VideoDriver& x11Driver() {
    static X11Driver driver;
    return driver;
}

}  // namespace vorlaxis::platform

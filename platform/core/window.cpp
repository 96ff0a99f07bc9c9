// Window classes and windows. Top-level windows are shown by the video driver; child windows
// live only as canvases drawn over their parent's.
#include "platform/core/layer.h"

#include <algorithm>

namespace vorlaxis::platform {

namespace {

std::mutex classesMutex;
std::map<std::string, WindowClass>& classes() {
    static std::map<std::string, WindowClass> table;
    return table;
}

bool findClass(const char* name, WindowClass* out) {
    if (!name) return false;
    std::lock_guard<std::mutex> guard(classesMutex);
    auto it = classes().find(name);
    if (it == classes().end()) return false;
    *out = it->second;
    return true;
}

std::atomic<HWND> focusedWindow{nullptr};

uint32_t backgroundPixel(const WindowClass& windowClass) {
    uint32_t pixel = 0;
    return brushPixel(windowClass.background, &pixel) ? pixel : 0;
}

// Windows default to 640 x 480 when asked to choose; a negative size is an empty window.
int chooseSize(int size, int fallback) {
    if (size == CW_USEDEFAULT) return fallback;
    return std::max(size, 0);
}

std::shared_ptr<Window> makeWindow(const WindowClass& windowClass, const char* caption, DWORD style,
                                   int x, int y, int width, int height) {
    auto window = std::make_shared<Window>();
    window->windowClass = windowClass;
    window->caption = caption ? caption : "";
    window->style = style;
    window->x = x == CW_USEDEFAULT ? 0 : x;
    window->y = y == CW_USEDEFAULT ? 0 : y;
    window->width = chooseSize(width, 640);
    window->height = chooseSize(height, 480);
    window->owner = std::this_thread::get_id();
    window->canvas = makeCanvas(window->width, window->height, false, backgroundPixel(windowClass));
    window->visible.store((style & WS_VISIBLE) != 0);
    return window;
}

// Ties the window into its parent's tree, or gives it a tree of its own.
bool attach(Window& window, HWND parent) {
    if (!(window.style & WS_CHILD)) {
        window.canvas->dirty = std::make_shared<std::atomic<bool>>(true);
        return true;
    }
    auto parentWindow = findWindow(parent);
    if (!parentWindow) return false;
    window.parent = parent;
    window.canvas->dirty = parentWindow->canvas->dirty;
    std::lock_guard<std::mutex> guard(parentWindow->childrenMutex);
    parentWindow->children.push_back(window.handle);
    return true;
}

void detachFromParent(const Window& window) {
    auto parentWindow = findWindow(window.parent);
    if (!parentWindow) return;
    {
        std::lock_guard<std::mutex> guard(parentWindow->childrenMutex);
        auto& list = parentWindow->children;
        list.erase(std::remove(list.begin(), list.end(), window.handle), list.end());
    }
    parentWindow->canvas->markChanged();
}

HWND failWith(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// The window and all its descendants, parents before children.
void collectTree(const std::shared_ptr<Window>& window, std::vector<std::shared_ptr<Window>>* out) {
    out->push_back(window);
    for (auto& child : childrenOf(*window)) collectTree(child, out);
}

}  // namespace

HandleTable<Window>& windows() {
    static HandleTable<Window> table;
    return table;
}

std::shared_ptr<Window> findWindow(HWND hWnd) { return hWnd ? windows().find(hWnd) : nullptr; }

std::vector<std::shared_ptr<Window>> childrenOf(Window& window) {
    std::vector<HWND> handles;
    {
        std::lock_guard<std::mutex> guard(window.childrenMutex);
        handles = window.children;
    }
    std::vector<std::shared_ptr<Window>> result;
    for (HWND h : handles) {
        if (auto child = findWindow(h)) result.push_back(child);
    }
    return result;
}

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    static std::atomic<ATOM> nextAtom{0xC000};
    std::lock_guard<std::mutex> guard(classesMutex);
    if (classes().count(wc->lpszClassName)) return 0;
    WindowClass& entry = classes()[wc->lpszClassName];
    entry.name = wc->lpszClassName;
    entry.style = wc->style;
    entry.proc = wc->lpfnWndProc;
    entry.background = wc->hbrBackground;
    return nextAtom.fetch_add(1);
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    WindowClass windowClass;
    if (!findClass(className, &windowClass)) return failWith(ERROR_CANNOT_FIND_WND_CLASS);
    if (!(style & WS_CHILD) && !requireDisplay()) return nullptr;
    auto window = makeWindow(windowClass, windowName, style, x, y, width, height);
    if (!window->canvas) return failWith(ERROR_NOT_ENOUGH_MEMORY);
    window->handle = reinterpret_cast<HWND>(newHandleValue());
    if (!attach(*window, parent)) return failWith(ERROR_INVALID_WINDOW_HANDLE);
    windows().addWithId(reinterpret_cast<uintptr_t>(window->handle), window);
    if (SendMessageA(window->handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window->handle);
        return nullptr;
    }
    syncDisplay();
    return window->handle;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    auto window = findWindow(hWnd);
    if (!window) return FALSE;
    std::vector<std::shared_ptr<Window>> tree;
    collectTree(window, &tree);
    for (auto& member : tree) SendMessageA(member->handle, WM_DESTROY, 0, 0);
    for (auto& member : tree) windows().remove(member->handle);
    detachFromParent(*window);
    HWND expected = hWnd;
    focusedWindow.compare_exchange_strong(expected, nullptr);
    syncDisplay();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return findWindow(hWnd) ? TRUE : FALSE; }

BOOL WINAPI ShowWindow(HWND hWnd, int cmdShow) {
    auto window = findWindow(hWnd);
    if (!window) return FALSE;
    bool wasVisible = window->visible.exchange(cmdShow != SW_HIDE);
    window->canvas->markChanged();
    syncDisplay();
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    auto window = findWindow(hWnd);
    if (!window) return FALSE;
    if (window->visible.load()) SendMessageA(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
    if (hWnd && !findWindow(hWnd)) return nullptr;
    HWND previous = focusedWindow.exchange(hWnd);
    if (hWnd) requestFocus(hWnd);
    return previous;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD, BOOL) {
    // The drivers draw no frame of ours, so the window is exactly its client area.
    return rect ? TRUE : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_CLOSE) {
        DestroyWindow(hWnd);
    } else if (msg == WM_PAINT) {
        auto window = findWindow(hWnd);
        uint32_t pixel = 0;
        if (window && brushPixel(window->windowClass.background, &pixel)) {
            std::lock_guard<std::mutex> guard(window->canvas->mutex);
            fillRect(*window->canvas, 0, 0, window->width, window->height, pixel);
            window->canvas->markChanged();
        }
    }
    return 0;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR) { return reinterpret_cast<HMODULE>(0x400000); }

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) { return reinterpret_cast<HICON>(0x7F00); }

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) { return reinterpret_cast<HCURSOR>(0x7F01); }

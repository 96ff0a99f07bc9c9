// The control panel window at (40, 0), beside the 3D window.
#include "app/init.h"

#include "app/main.h"
#include "vision/panel_layout.h"

namespace {

const char* const kClassName = "webcam";
const char* const kCaption = "Vorlaxis - control panel";
constexpr int kLeft = 40;
constexpr int kTop = 0;

void registerPanelClass(HINSTANCE hInstance) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kClassName;
    // A second registration fails harmlessly: the class is already there.
    RegisterClassA(&wc);
}

}  // namespace

HWND CreationFenetre(HINSTANCE hInstance) {
    registerPanelClass(hInstance);
    g_hInstance = hInstance;
    RECT rect{0, 0, panel::kClientWidth, panel::kClientHeight};
    // Windows gives every overlapped window (style 0) a caption and border, but
    // AdjustWindowRect only counts what the style it is given names: name them, or the
    // client area comes out a caption and two borders short of the panel.
    AdjustWindowRect(&rect, WS_CAPTION, FALSE);
    HWND hWnd = CreateWindowExA(0, kClassName, kCaption, 0, kLeft, kTop, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd) return nullptr;
    ShowWindow(hWnd, SW_SHOWNORMAL);
    UpdateWindow(hWnd);
    SetFocus(hWnd);
    return hWnd;
}

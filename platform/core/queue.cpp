// Per-thread message queues. Only the process's main thread talks to the display, so only its
// PeekMessageA runs the idle work and the video driver's pump.
#include "platform/core/layer.h"

#include <chrono>
#include <deque>

namespace vorlaxis::platform {

namespace {

// Static initialisation runs on the thread that goes on to call main().
const std::thread::id mainThreadId = std::this_thread::get_id();

struct MessageQueue {
    std::mutex mutex;
    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
};

std::mutex queuesMutex;

std::shared_ptr<MessageQueue> queueOf(std::thread::id thread) {
    static std::map<std::thread::id, std::shared_ptr<MessageQueue>> queues;
    std::lock_guard<std::mutex> guard(queuesMutex);
    auto& queue = queues[thread];
    if (!queue) queue = std::make_shared<MessageQueue>();
    return queue;
}

std::mutex hooksMutex;
CaptureMessageHook captureHook;
IdlePump idlePump;

DWORD millisecondsSinceStart() {
    static const auto start = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

bool matches(const MSG& msg, HWND hWnd, UINT filterMin, UINT filterMax) {
    if (hWnd && msg.hwnd != hWnd) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

bool takePosted(MessageQueue& queue, LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax,
                bool remove) {
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (!matches(*it, hWnd, filterMin, filterMax)) continue;
        *msg = *it;
        if (remove) queue.posted.erase(it);
        return true;
    }
    return false;
}

// The quit message comes after every posted message ahead of it, as on Windows.
bool takeQuit(MessageQueue& queue, LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax,
              bool remove) {
    if (!queue.quitPending || hWnd) return false;
    MSG quit{};
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(queue.quitCode);
    quit.time = millisecondsSinceStart();
    if (!matches(quit, nullptr, filterMin, filterMax)) return false;
    *msg = quit;
    if (remove) queue.quitPending = false;
    return true;
}

void runIdlePump() {
    IdlePump pump;
    {
        std::lock_guard<std::mutex> guard(hooksMutex);
        pump = idlePump;
    }
    if (pump) pump();
}

// Plain characters for the keys that have one; letters come out lower case.
int characterOfKey(WPARAM vk) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<int>(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return static_cast<int>(vk);
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    default: return 0;
    }
}

}  // namespace

bool isMainThread() { return std::this_thread::get_id() == mainThreadId; }

void postToThread(std::thread::id thread, const MSG& msg) {
    auto queue = queueOf(thread);
    MSG stamped = msg;
    stamped.time = millisecondsSinceStart();
    std::lock_guard<std::mutex> guard(queue->mutex);
    queue->posted.push_back(stamped);
}

void setCaptureMessageHook(CaptureMessageHook hook) {
    std::lock_guard<std::mutex> guard(hooksMutex);
    captureHook = std::move(hook);
}

void setIdlePump(IdlePump pump) {
    std::lock_guard<std::mutex> guard(hooksMutex);
    idlePump = std::move(pump);
}

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    if (isMainThread()) {
        runIdlePump();
        pumpDisplay();
    }
    auto queue = queueOf(std::this_thread::get_id());
    bool remove = (removeMsg & PM_REMOVE) != 0;
    std::lock_guard<std::mutex> guard(queue->mutex);
    if (takePosted(*queue, msg, hWnd, filterMin, filterMax, remove)) return TRUE;
    return takeQuit(*queue, msg, hWnd, filterMin, filterMax, remove) ? TRUE : FALSE;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    if (!hWnd) {
        postToThread(std::this_thread::get_id(), msg);
        return TRUE;
    }
    auto window = findWindow(hWnd);
    if (!window) return FALSE;
    postToThread(window->owner, msg);
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_CAP_START && msg <= WM_CAP_END) {
        CaptureMessageHook hook;
        {
            std::lock_guard<std::mutex> guard(hooksMutex);
            hook = captureHook;
        }
        return hook ? hook(hWnd, msg, wParam, lParam) : 0;
    }
    auto window = findWindow(hWnd);
    if (!window) return 0;
    WNDPROC proc = window->windowClass.proc;
    return proc ? proc(hWnd, msg, wParam, lParam) : DefWindowProcA(hWnd, msg, wParam, lParam);
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    int character = characterOfKey(msg->wParam);
    if (!character) return FALSE;
    MSG charMsg = *msg;
    charMsg.message = WM_CHAR;
    charMsg.wParam = static_cast<WPARAM>(character);
    postToThread(std::this_thread::get_id(), charMsg);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    auto queue = queueOf(std::this_thread::get_id());
    std::lock_guard<std::mutex> guard(queue->mutex);
    queue->quitPending = true;
    queue->quitCode = exitCode;
}

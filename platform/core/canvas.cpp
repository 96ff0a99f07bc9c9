// Canvases: the pixels behind every window and bitmap, shared by all threads under a lock.
#include "platform/core/layer.h"

#include <algorithm>

namespace vorlaxis::platform {

namespace {
// Larger than any window or frame the program makes; refusing beyond it keeps a bad size from
// turning into a huge allocation.
constexpr int64_t kMaxPixels = int64_t(1) << 26;
}  // namespace

std::shared_ptr<Canvas> makeCanvas(int width, int height, bool bottomUp, uint32_t fill) {
    if (width < 0 || height < 0 || int64_t(width) * height > kMaxPixels) return nullptr;
    auto canvas = std::make_shared<Canvas>();
    canvas->width = width;
    canvas->height = height;
    canvas->bottomUp = bottomUp;
    canvas->storage.assign(static_cast<size_t>(width) * height, fill);
    return canvas;
}

void fillRect(Canvas& canvas, int left, int top, int right, int bottom, uint32_t pixel) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, canvas.width);
    bottom = std::min(bottom, canvas.height);
    for (int y = top; y < bottom; ++y) {
        uint32_t* row = canvas.row(y);
        std::fill(row + left, row + std::max(left, right), pixel);
    }
}

uintptr_t newHandleValue() {
    // Spaced like pointers and far from the small values Win32 gives meaning to
    // (system colours, resource numbers).
    static std::atomic<uintptr_t> next{0x10000};
    return next.fetch_add(0x10, std::memory_order_relaxed);
}

CanvasLock::CanvasLock(HWND hWnd) {
    if (auto window = findWindow(hWnd)) canvas_ = window->canvas;
    if (canvas_) lock_ = std::unique_lock<std::mutex>(canvas_->mutex);
}

CanvasLock::CanvasLock(HDC hdc) : canvas_(canvasOf(hdc)) {
    if (canvas_) lock_ = std::unique_lock<std::mutex>(canvas_->mutex);
}

CanvasLock::~CanvasLock() = default;

uint32_t* CanvasLock::pixels() const { return canvas_ ? canvas_->storage.data() : nullptr; }
int CanvasLock::width() const { return canvas_ ? canvas_->width : 0; }
int CanvasLock::height() const { return canvas_ ? canvas_->height : 0; }
uint32_t* CanvasLock::row(int y) const { return canvas_ ? canvas_->row(y) : nullptr; }

void CanvasLock::markChanged() {
    if (canvas_) canvas_->markChanged();
}

}  // namespace vorlaxis::platform

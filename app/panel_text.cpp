#include "app/panel_text.h"

#include <cstdio>
#include <cstring>

#include "app/main.h"
#include "vision/Picture.h"

void drawText(int x, int y, const char* text) {
    TextOutA(g_hDC, x, y, text, static_cast<int>(std::strlen(text)));
}

void drawNumber(int x, int y, int value) {
    constexpr size_t kShown = 9;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    buffer[kShown] = '\0';
    drawText(x, y, buffer);
}

void drawLine(int x, int y, const char* label, int value) {
    drawText(x, y, label);
    drawNumber(x, y, value);
}

void drawLine(int x, int y, const char* label, const char* value) {
    drawText(x, y, label);
    drawText(x, y, value);
}

const char* signWord(int sign) {
    if (sign == vision::kRock) return "ROCK";
    if (sign == vision::kPaper) return "PAPER";
    return "SCISS";
}

int readingOf(int player, const std::atomic<int32_t>& first, const std::atomic<int32_t>& second) {
    return player == 1 ? first.load(std::memory_order_relaxed)
                       : second.load(std::memory_order_relaxed);
}

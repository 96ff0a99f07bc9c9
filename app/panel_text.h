// Text lines of the control panel's readings, drawn by the worker thread into g_hDC: a label of
// 25 spaces, three dashes and a tag, with its value drawn over the spaces at the same point.
#pragma once

#include <atomic>
#include <cstdint>

#include "vision/panel_layout.h"

void drawText(int x, int y, const char* text);
// The panel has room for 9 characters of a number; longer ones are cut, never overflow.
void drawNumber(int x, int y, int value);
void drawLine(int x, int y, const char* label, int value);
void drawLine(int x, int y, const char* label, const char* value);

// "ROCK" for vision::kRock, "PAPER" for vision::kPaper, "SCISS" for anything else.
const char* signWord(int sign);

// Player 1's value for 1, player 2's for any other number.
int readingOf(int player, const std::atomic<int32_t>& first, const std::atomic<int32_t>& second);

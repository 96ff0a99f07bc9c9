// Text lines of the control panel's readings, drawn by the worker thread into g_hDC: a label of
// 25 spaces, three dashes and a tag, with its value drawn over the spaces at the same point.
#pragma once

#include <atomic>
#include <cstdint>

// Text panels and marker boxes, in control panel pixels.
constexpr int kPanelWidth = 120;
constexpr int kPanelHeight = 240;
constexpr int kPanel1Left = 320;
constexpr int kPanel2Left = 760;
constexpr int kText1X = 330;
constexpr int kText2X = 770;
constexpr int kBoxWidth = 160;
constexpr int kBox2Left = 1040;
constexpr int kLineStep = 20;
// Rows of the lines that both the camera and the keyboard panels show.
constexpr int kLifeRow = 120;
constexpr int kWinsRow = 140;
constexpr int kSignRow = 200;
// Where a side the computer plays says so.
constexpr int kSideRow = 100;

void drawText(int x, int y, const char* text);
// The panel has room for 9 characters of a number; longer ones are cut, never overflow.
void drawNumber(int x, int y, int value);
void drawLine(int x, int y, const char* label, int value);
void drawLine(int x, int y, const char* label, const char* value);

// "ROCK" for vision::kRock, "PAPER" for vision::kPaper, "SCISS" for anything else.
const char* signWord(int sign);

// Player 1's value for 1, player 2's for any other number.
int readingOf(int player, const std::atomic<int32_t>& first, const std::atomic<int32_t>& second);

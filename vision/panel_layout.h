// Where everything sits on the control panel, in client pixels, from left to right: player 1's
// marker box, hand mask and text column, the camera preview, then player 2's text column, hand
// mask and marker box. The shell draws the text and boxes, CWebCam the preview and masks.
#pragma once

#include "vision/Picture.h"

namespace panel {

constexpr int kClientWidth = 1200;
constexpr int kClientHeight = 272;

// The capture window, a whole camera frame.
constexpr int kPreviewX = 440;
constexpr int kPreviewRight = kPreviewX + vision::kFrameWidth;

// Each player's half of the frame as a black and white mask, mirrored as the players see
// themselves.
constexpr int kMask1X = 160;
constexpr int kMask2X = 880;
constexpr int kMaskWidth = vision::kHalfWidth;
constexpr int kMaskHeight = vision::kFrameHeight;

// The text columns of the readings.
constexpr int kTextPanelWidth = 120;
constexpr int kTextPanelHeight = 240;
constexpr int kTextPanel1Left = kMask1X + kMaskWidth;
constexpr int kTextPanel2Left = kPreviewRight;
constexpr int kText1X = kTextPanel1Left + 10;
constexpr int kText2X = kTextPanel2Left + 10;

// The boxes where a marker follows each hand.
constexpr int kBoxWidth = 160;
constexpr int kBox1Left = 0;
constexpr int kBox2Left = kMask2X + kMaskWidth;

// Text rows: a reading of two lines takes two steps.
constexpr int kLineStep = 20;
constexpr int kPositionRow = 20;
constexpr int kDirectionRow = 60;
constexpr int kLifeRow = 120;
constexpr int kWinsRow = 140;
constexpr int kVarianceRow = 160;
constexpr int kSignRow = 200;
// Where a side the computer plays says so.
constexpr int kSideRow = 100;

static_assert(kPreviewX == kTextPanel1Left + kTextPanelWidth, "text column 1 ends at the preview");
static_assert(kMask2X == kTextPanel2Left + kTextPanelWidth, "text column 2 ends at mask 2");
static_assert(kBox2Left + kBoxWidth == kClientWidth, "the marker box 2 ends the panel");

}  // namespace panel

#include "tools/roomclip/sheet.h"

#include <algorithm>

#include "tools/roomclip/hand_drawing.h"

namespace roomclip {

Image tile(const std::vector<Image>& pictures, int columns) {
    int cellW = 1, cellH = 1;
    for (const Image& p : pictures)
        cellW = std::max(cellW, p.width), cellH = std::max(cellH, p.height);
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    const int gap = 4;
    Image sheet(columns * (cellW + gap), rows * (cellH + gap), 3, 255.0f);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int ox = static_cast<int>(i % columns) * (cellW + gap);
        const int oy = static_cast<int>(i / columns) * (cellH + gap);
        for (int y = 0; y < pictures[i].height; ++y)
            for (int x = 0; x < pictures[i].width; ++x)
                std::copy_n(pictures[i].at(x, y), 3, sheet.at(ox + x, oy + y));
    }
    return sheet;
}

namespace {

Image partsPicture(const HandPhoto& photo) {
    static const float colours[kParts][3] = {{40, 40, 40},  {230, 200, 170}, {200, 60, 60},
                                             {60, 160, 60}, {60, 60, 200},   {200, 200, 40},
                                             {160, 60, 200}};
    Image out(photo.picture.width, photo.picture.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const float* c = colours[photo.partAt(x, y)];
            const float* p = photo.picture.at(x, y);
            for (int k = 0; k < 3; ++k) out.at(x, y)[k] = 0.5f * c[k] + 0.5f * p[k];
        }
    return out;
}

Image drawn(const HandSprite& sprite, double size, double tilt, bool arm) {
    Image picture(160, 240, 3, 110.0f);
    Image coverage(160, 240, 1);
    HandPose pose;
    pose.sprite = &sprite;
    pose.centre = {80, 110};
    pose.scale = size / sprite.length;
    pose.tilt = tilt;
    pose.arm.shown = arm;
    const float sleeve[3] = {40, 50, 90};
    std::copy_n(sleeve, 3, pose.arm.sleeve);
    pose.arm.sleeveFrom = 0.4;
    drawHand(pose, 0, 160, picture, coverage);
    return picture;
}

}  // namespace

bool handSheet(Image& sheet, std::string& error) {
    std::vector<Image> cells;
    for (const HandNotes& notes : handNotes()) {
        HandPhoto photo;
        if (!loadHandPhoto(notes, photo, error)) return false;
        Image parts = partsPicture(photo);
        const double fit = std::min(1.0, 240.0 / std::max(parts.width, parts.height));
        cells.push_back(cropResize(parts, 0, 0, parts.width, parts.height,
                                   static_cast<int>(parts.width * fit),
                                   static_cast<int>(parts.height * fit)));
        for (Shape shape : kHandShapes) {
            const HandSprite sprite = makeSprite(photo, shape);
            cells.push_back(drawn(sprite, 150, 0, false));
            cells.push_back(drawn(sprite, 75, 0.3, true));
        }
    }
    sheet = tile(cells, 9);
    return true;
}

}  // namespace roomclip

// The conditions the clips are made under: the room behind the players, who stands in it,
// the light, what the players wear on their arms and how the camera spoils the picture.
#pragma once

#include <string>
#include <vector>

#include "tools/roomclip/image.h"

namespace roomclip {

// A photo cropped to a rectangle of the picture's proportions.
struct Crop {
    std::string path;
    int x = 0, y = 0, w = 0, h = 0;
};

struct Sleeve {
    const char* name;
    float colour[3];
    double from;  // hand lengths below the wrist where it starts; 99 for a bare arm
};

// Light after calibration: a gain per channel on the whole picture.
struct Light {
    float gain[3] = {1, 1, 1};
};

struct Condition {
    std::string name;
    std::string description;
    Crop room;               // empty path: a black backdrop
    Crop people[2];          // per player (player 1, player 2); empty path: nobody
    float exposure = 1.0f;   // gain on the room
    float handLight = 1.0f;  // gain on the hands and arms (below 1: lit from behind)
    std::vector<Sleeve> sleeves;
    std::vector<Light> after;  // the light changes after calibration, in turn
    float noise = 2.0f;        // webcam noise, standard deviation in levels at mid grey
    int jpegQuality = 80;
    int hands[2] = {0, 1};  // which hand photo each player shows (index into handNotes())
};

// Every condition, in the order of the tables.
const std::vector<Condition>& conditions();

// What stands behind the hands: the room and the people in it, who sway a little as people
// standing still do.
class Backdrop {
public:
    bool load(const Condition& condition, std::string& error);
    // The picture (320 x 240) `seconds` into the clip.
    void draw(double seconds, Image& out) const;

private:
    Image room_;
    Image people_[2];  // player 1, player 2; empty for nobody
    float exposure_ = 1.0f;
};

}  // namespace roomclip

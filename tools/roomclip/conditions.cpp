#include "tools/roomclip/conditions.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tools/clipgen/y4m_writer.h"
#include "tools/roomclip/geometry.h"
#include "tools/roomclip/sources.h"

namespace roomclip {

namespace {

using clipgen::kHalf;
using clipgen::kHeight;
using clipgen::kWidth;

// Sleeve colours: black velvet as dark as the black backdrop, a dark blue, a light grey, a
// skin-coloured beige, and the bare arm.
constexpr float kBackdrop = 10.0f;
const Sleeve kBlack{"black", {11, 11, 12}, 0.0};
const Sleeve kDarkBlue{"dark-blue", {34, 42, 82}, 0.15};
const Sleeve kLightGrey{"light-grey", {196, 196, 200}, 0.25};
const Sleeve kBeige{"beige", {205, 168, 140}, 0.3};
const Sleeve kBare{"bare", {0, 0, 0}, 99.0};

Crop garage() { return {skimageData("motorcycle_left.png"), 40, 0, 667, 500}; }
Crop corridor() { return {openCvDoc("opencv4/html/corridor_fld.jpg"), 100, 0, 1033, 775}; }
Crop darkOffice() { return {openCvDoc("opencv4/html/imgs.jpg"), 100, 0, 1066, 800}; }
Crop astronaut() { return {skimageData("astronaut.png"), 80, 0, 320, 480}; }
Crop whiteShirt() { return {openCvDoc("opencv4/html/227943776_1.jpg"), 72, 0, 289, 434}; }

Condition condition(const char* name, const char* description, const Crop& room,
                    std::vector<Sleeve> sleeves, int hand1, int hand2) {
    Condition c;
    c.name = name;
    c.description = description;
    c.room = room;
    c.sleeves = std::move(sleeves);
    c.hands[0] = hand1;
    c.hands[1] = hand2;
    return c;
}

// Player 1's and player 2's hands: 0 light, 1 medium, 2 darker skin (handNotes()).
std::vector<Condition> makeConditions() {
    std::vector<Condition> all;
    all.push_back(condition("black", "black backdrop, black sleeves", Crop(), {kBlack}, 0, 2));

    Condition dark = condition("dark", "dark office, dark-blue sleeves, the camera's gain up",
                               darkOffice(), {kDarkBlue}, 1, 0);
    dark.exposure = 0.8f;
    dark.handLight = 0.5f;
    dark.noise = 5.0f;
    all.push_back(dark);

    all.push_back(condition("lit", "lit garage, dark and light sleeves", garage(),
                            {kDarkBlue, kLightGrey}, 2, 1));

    Condition people =
        condition("people", "a person in each half (faces and bodies), dark and light sleeves",
                  garage(), {kLightGrey, kDarkBlue}, 0, 1);
    people.people[0] = astronaut();
    people.people[1] = whiteShirt();
    all.push_back(people);

    Condition window =
        condition("window", "bright corridor windows behind the players, hands lit from behind",
                  corridor(), {kDarkBlue, kLightGrey}, 1, 2);
    window.exposure = 1.3f;
    window.handLight = 0.75f;
    all.push_back(window);

    Condition relit = condition(
        "relit",
        "people in the garage; after calibration darker and warmer, then brighter and colder",
        garage(), {kDarkBlue, kLightGrey}, 2, 0);
    relit.people[0] = whiteShirt();
    relit.people[1] = astronaut();
    relit.after = {Light{{0.78f * 1.12f, 0.78f, 0.78f * 0.8f}},
                   Light{{1.22f * 0.88f, 1.22f, 1.22f * 1.15f}}};
    all.push_back(relit);

    all.push_back(condition("bare", "lit garage, bare forearms and skin-coloured sleeves", garage(),
                            {kBare, kBeige}, 1, 2));
    return all;
}

bool loadCrop(const Crop& crop, int width, int height, Image& out, std::string& error) {
    Image photo;
    if (!loadImage(crop.path, photo, error)) return false;
    if (crop.x + crop.w > photo.width || crop.y + crop.h > photo.height) {
        error = "the photo " + crop.path + " is smaller than expected";
        return false;
    }
    out = cropResize(photo, crop.x, crop.y, crop.w, crop.h, width, height);
    return true;
}

}  // namespace

const std::vector<Condition>& conditions() {
    static const std::vector<Condition> all = makeConditions();
    return all;
}

bool Backdrop::load(const Condition& condition, std::string& error) {
    exposure_ = condition.exposure;
    if (condition.room.path.empty()) {
        room_ = Image(kWidth, kHeight, 3, kBackdrop);
    } else if (!loadCrop(condition.room, kWidth, kHeight, room_, error)) {
        return false;
    }
    for (int player = 0; player < 2; ++player) {
        const Crop& crop = condition.people[player];
        if (!crop.path.empty() && !loadCrop(crop, kHalf, kHeight, people_[player], error))
            return false;
    }
    return true;
}

void Backdrop::draw(double seconds, Image& out) const {
    out = room_;
    for (int player = 0; player < 2; ++player) {
        const Image& person = people_[player];
        if (person.empty()) continue;
        // A slow sway of about a pixel, each player at a pace of their own.
        const double pace = player == 0 ? 0.37 : 0.29;
        const double dx = 1.2 * std::sin(2 * kPi * pace * seconds);
        const double dy = 0.6 * std::sin(2 * kPi * pace * 1.7 * seconds + 1.0);
        const int left = player == 0 ? kHalf : 0;
        float sample[3];
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kHalf; ++x) {
                const double sx = std::clamp(x + 0.5 - dx, 0.5, kHalf - 0.5);
                const double sy = std::clamp(y + 0.5 - dy, 0.5, kHeight - 0.5);
                sampleBilinear(person, sx, sy, sample);
                std::copy_n(sample, 3, out.at(left + x, y));
            }
    }
    for (float& v : out.data) v *= exposure_;
}

}  // namespace roomclip

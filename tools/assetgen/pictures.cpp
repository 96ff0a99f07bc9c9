// The game's 19 pictures: HUD labels, sign icons, banners, the round tile and the computer's
// level badges (drawn at about twice their size on screen, then resampled to power-of-two
// textures), the Earth map, and the sun, glint and halo of the lens flare (black adds nothing
// when blended additively).
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/picture_canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

const char* const earthSource = "/usr/share/xplanet/images/earth.jpg";

const Rgb black = {0.0f, 0.0f, 0.0f};
const Rgb ink = {0.04f, 0.03f, 0.06f};
const Rgb white = {1.0f, 1.0f, 1.0f};
const Rgb gold = {1.0f, 0.78f, 0.2f};
const Rgb blueSide = {0.35f, 0.55f, 1.0f};  // fighter 1's tint
const Rgb redSide = {1.0f, 0.35f, 0.3f};    // fighter 2's tint
const Rgb skinLight = {1.0f, 0.86f, 0.7f};
const Rgb skinDark = {0.86f, 0.6f, 0.45f};

typedef std::function<Rgb(float, float)> Paint;

Paint flat(Rgb c) {
    return [c](float, float) { return c; };
}

// Top-to-bottom blend between two colours over rows top..bottom.
Paint vertical(Rgb top, Rgb bottom, float y0, float y1) {
    return [=](float, float y) {
        return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
    };
}

// A rounded plate over the whole canvas: dark gradient face with a coloured rim.
void plate(Canvas& c, Rgb face, Rgb rim, float rimWidth, float radius) {
    const float w = c.width(), h = c.height();
    const Shape outer = roundBox(w / 2, h / 2, w / 2 - 1, h / 2 - 1, radius);
    c.fill(outer, rim);
    c.fill(grown(outer, -rimWidth), vertical(scaled(face, 1.6f), scaled(face, 0.5f), 0, h));
    c.fill(hollow(grown(outer, -rimWidth - 3), 2.0f), scaled(rim, 0.45f));
}

// Bold lettering with a dark outline, filled top to bottom from `top` to `bottom`.
void letter(Canvas& c, const Lettering& font, const std::string& text, float left, float topY,
            float width, float height, int align, Rgb top, Rgb bottom, float outline) {
    const std::vector<float> mask = font.fit(c, text, left, topY, width, height, align);
    c.cover(dilate(mask, c.width(), c.height(), outline), flat(ink));
    c.cover(mask, vertical(top, bottom, topY, topY + height));
}

// ---- life-bar labels (on screen about 241 x 60 pixels) ----

// Where the life bar lands inside its label, as fractions of the label (rows from the top).
const float barLeft = 0.0833f, barRight = 0.9167f, barTop = 0.45f, barBottom = 0.75f;

bool lifeLabel(const std::string& path, const Lettering& font, const std::string& name, Rgb side,
               bool nameOnLeft) {
    Canvas c(482, 120, black);
    plate(c, scaled(side, 0.18f), side, 4.0f, 18.0f);
    const float x0 = barLeft * c.width(), x1 = barRight * c.width();
    const float y0 = barTop * c.height(), y1 = barBottom * c.height();
    // The empty trough is what shows where the bar has run out; its frame sits just outside
    // the bar so the bar never hides it.
    c.fill(hollow(roundBox((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 + 6, (y1 - y0) / 2 + 6, 6),
                  3.0f),
           mix(side, white, 0.5f));
    c.fill(roundBox((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 + 3, (y1 - y0) / 2 + 3, 3),
           {0.05f, 0.04f, 0.08f});
    for (int i = 1; i < 4; ++i) {
        const float x = x0 + (x1 - x0) * i / 4.0f;
        c.fill(capsule(x, y1 + 9, x, y1 + 16, 1.5f), mix(side, white, 0.3f));
    }
    const float nameWidth = 250.0f, textTop = 14.0f, textHeight = 31.0f;
    const float nameX = nameOnLeft ? x0 : x1 - nameWidth;
    letter(c, font, name, nameX, textTop, nameWidth, textHeight, nameOnLeft ? -1 : 1,
           mix(side, white, 0.65f), side, 3.0f);
    const float lifeX = nameOnLeft ? x1 - 90 : x0;
    letter(c, font, "LIFE", lifeX, textTop + 8, 90, textHeight - 14, nameOnLeft ? 1 : -1,
           {0.85f, 0.85f, 0.9f}, {0.6f, 0.6f, 0.7f}, 2.0f);
    return c.save(path, 256, 64);
}

// ---- sign icons (on screen about 72 x 54 pixels) ----

// Draws a hand as the union of its parts: a dark rim, then shaded skin.
void hand(Canvas& c, const std::vector<Shape>& parts) {
    const Shape whole = unite(parts);
    c.fill(grown(whole, 6.0f), ink);
    c.fill(whole, [&c](float x, float y) {
        return mix(skinLight, skinDark, std::clamp((x + y) / (c.width() + c.height()), 0.0f, 1.0f));
    });
}

// A part laid over the hand with its own rim, so it reads as in front (a thumb).
void handPart(Canvas& c, const Shape& part) {
    c.fill(grown(part, 4.0f), ink);
    c.fill(part, vertical(skinLight, skinDark, 60, 200));
}

void crease(Canvas& c, float ax, float ay, float bx, float by) {
    c.fill(capsule(ax, ay, bx, by, 2.5f), scaled(skinDark, 0.55f));
}

Canvas iconBadge(Rgb rim) {
    Canvas c(288, 216, black);
    plate(c, scaled(rim, 0.22f), rim, 7.0f, 40.0f);
    return c;
}

bool rockIcon(const std::string& path) {
    Canvas c = iconBadge({0.7f, 0.72f, 0.8f});
    hand(c, {roundBox(144, 120, 70, 58, 30), circle(92, 82, 24), circle(128, 74, 26),
             circle(164, 74, 26), circle(198, 84, 23)});
    for (float x : {110.0f, 146.0f, 182.0f}) crease(c, x, 66, x, 112);
    handPart(c, capsule(96, 136, 176, 122, 17));
    return c.save(path, 128, 128);
}

bool paperIcon(const std::string& path) {
    Canvas c = iconBadge({0.35f, 0.85f, 0.45f});
    hand(c, {roundBox(148, 150, 54, 46, 24), capsule(112, 126, 102, 48, 14),
             capsule(140, 120, 140, 30, 15), capsule(166, 124, 178, 40, 14),
             capsule(190, 136, 210, 78, 12), capsule(104, 166, 62, 122, 15)});
    return c.save(path, 128, 128);
}

bool scissorsIcon(const std::string& path) {
    Canvas c = iconBadge({1.0f, 0.6f, 0.2f});
    hand(c, {roundBox(150, 150, 56, 46, 26), capsule(128, 124, 94, 34, 15),
             capsule(156, 122, 194, 34, 15), circle(184, 118, 22), circle(204, 130, 20)});
    crease(c, 184, 100, 184, 134);
    handPart(c, capsule(104, 160, 182, 150, 16));
    return c.save(path, 128, 128);
}

// ---- banners (on screen about 402 x 60 pixels) ----

bool banner(const std::string& path, const Lettering& font, const std::string& text, Rgb face,
            Rgb rim, Rgb top, Rgb bottom) {
    Canvas c(804, 120, black);
    plate(c, face, rim, 5.0f, 24.0f);
    letter(c, font, text, 60, 18, 684, 84, 0, top, bottom, 5.0f);
    return c.save(path, 512, 64);
}

bool hitBanner(const std::string& path, const Lettering& font) {
    Canvas c(804, 120, black);
    plate(c, {0.25f, 0.08f, 0.02f}, {1.0f, 0.55f, 0.1f}, 5.0f, 24.0f);
    c.fill(star(402, 60, 34, 150, 12), [](float x, float) {
        return mix({1.0f, 0.5f, 0.05f}, {0.9f, 0.15f, 0.05f}, std::fabs(x - 402) / 150);
    });
    letter(c, font, "HIT!", 260, 16, 284, 88, 0, {1.0f, 1.0f, 0.75f}, {1.0f, 0.85f, 0.2f}, 5.0f);
    return c.save(path, 512, 64);
}

// ---- round-won tile (on screen about 72 x 24 pixels) ----

bool roundTile(const std::string& path, const Lettering& font) {
    Canvas c(288, 96, black);
    plate(c, {0.1f, 0.25f, 0.08f}, gold, 5.0f, 20.0f);
    const Shape s = star(56, 50, 16, 38, 5);
    c.fill(grown(s, 4.0f), ink);
    c.fill(s, vertical({1.0f, 0.95f, 0.55f}, {1.0f, 0.65f, 0.1f}, 12, 88));
    letter(c, font, "WIN", 102, 16, 166, 64, 0, {1.0f, 0.97f, 0.7f}, gold, 4.0f);
    return c.save(path, 128, 32);
}

// ---- the computer's level badge (on screen about 88 x 27 pixels) ----

bool levelBadge(const std::string& path, const Lettering& font, const std::string& text, Rgb rim) {
    Canvas c(352, 108, black);
    plate(c, scaled(rim, 0.2f), rim, 5.0f, 18.0f);
    letter(c, font, text, 24, 18, 304, 72, 0, mix(rim, white, 0.8f), rim, 4.0f);
    return c.save(path, 256, 64);
}

// ---- lens flare (additive: black adds nothing, so every edge fades to black) ----

typedef float (*Glow)(float dx, float dy);  // dx, dy from the centre, -1..1 to the edges

bool flareImage(const std::string& path, Glow glow, Rgb tint) {
    Canvas c(256, 256, black);
    c.paint([glow, tint](float x, float y) {
        const float dx = x / 128.0f - 1.0f, dy = y / 128.0f - 1.0f;
        // Whatever the shape, nothing may reach the quad's edges or its square would show.
        const float edge =
            std::clamp((1.0f - std::max(std::fabs(dx), std::fabs(dy))) / 0.15f, 0.0f, 1.0f);
        const float v = std::clamp(glow(dx, dy) * edge, 0.0f, 1.5f);
        return Rgb{std::min(1.0f, tint.r * v + std::max(0.0f, v - 1.0f)),
                   std::min(1.0f, tint.g * v + std::max(0.0f, v - 1.0f)),
                   std::min(1.0f, tint.b * v + std::max(0.0f, v - 1.0f))};
    });
    return c.save(path, 128, 128);
}

float sunGlow(float dx, float dy) {
    const float r = std::hypot(dx, dy);
    const float core = std::clamp((0.32f - r) / 0.04f, 0.0f, 1.0f) * 1.5f;
    const float corona = 1.2f * std::exp(-r * r * 5.0f) * std::max(0.0f, 1.0f - r);
    return std::max(core, corona);
}

float ray(float along, float across, float width) {
    const float fade = std::max(0.0f, 1.0f - std::fabs(along));
    return std::exp(-(across * across) / (width * width)) * fade * std::sqrt(fade);
}

float crossGlow(float dx, float dy) {
    const float d1 = (dx + dy) * 0.70710678f, d2 = (dx - dy) * 0.70710678f;
    const float straight = ray(dx, dy, 0.025f) + ray(dy, dx, 0.025f);
    const float diagonal = 0.35f * (ray(d1 * 1.4f, d2, 0.015f) + ray(d2 * 1.4f, d1, 0.015f));
    const float r = std::hypot(dx, dy);
    return straight + diagonal + 0.5f * std::exp(-r * r * 40.0f);
}

float haloGlow(float dx, float dy) {
    const float r = std::hypot(dx, dy);
    const float ring = std::exp(-std::pow((r - 0.72f) / 0.07f, 2.0f)) * 0.85f;
    const float inside = r < 0.72f ? 0.18f * (r / 0.72f) : 0.0f;
    return ring + inside;
}

bool earthMap(const std::string& path) {
    int w = 0, h = 0;
    const std::vector<unsigned char> rgb = loadRgb(earthSource, w, h);
    if (rgb.empty()) return false;
    return writeResized(path, rgb, w, h, 1024, 512);
}

}  // namespace

bool writePictures(const std::string& dir) {
    const Lettering font;
    if (!font.ok()) return false;
    const std::string d = dir + "/";
    const Rgb yellowTop = {1.0f, 1.0f, 0.7f}, yellowBottom = {1.0f, 0.6f, 0.1f};
    const Rgb navy = {0.08f, 0.1f, 0.25f};
    bool ok = lifeLabel(d + "CPLifeKV.bmp", font, "PLAYER 1", blueSide, true);
    ok = lifeLabel(d + "CPLifeTZ.bmp", font, "PLAYER 2", redSide, false) && ok;
    ok = rockIcon(d + "pierre.bmp") && ok;
    ok = paperIcon(d + "feuille.bmp") && ok;
    ok = scissorsIcon(d + "ciseaux.bmp") && ok;
    ok = banner(d + "chiffou.bmp", font, "CHI-FOU", navy, gold, yellowTop, yellowBottom) && ok;
    ok = banner(d + "mi.bmp", font, "MI", navy, gold, yellowTop, yellowBottom) && ok;
    ok = hitBanner(d + "paf.bmp", font) && ok;
    ok = banner(d + "critical.bmp", font, "CRITICAL HIT!", {0.3f, 0.02f, 0.02f}, {1.0f, 0.2f, 0.1f},
                {1.0f, 0.95f, 0.5f}, {1.0f, 0.25f, 0.05f}) &&
         ok;
    ok = banner(d + "prwin.bmp", font, "PLAYER 2 WINS!", scaled(redSide, 0.25f), redSide,
                {1.0f, 0.85f, 0.8f}, redSide) &&
         ok;
    ok = banner(d + "pawin.bmp", font, "PLAYER 1 WINS!", scaled(blueSide, 0.25f), blueSide,
                {0.85f, 0.9f, 1.0f}, blueSide) &&
         ok;
    ok = roundTile(d + "win.bmp", font) && ok;
    ok = banner(d + "ko.bmp", font, "K.O.", {0.3f, 0.02f, 0.02f}, {1.0f, 0.2f, 0.1f},
                {1.0f, 1.0f, 0.85f}, {1.0f, 0.75f, 0.1f}) &&
         ok;
    ok = banner(d + "draw.bmp", font, "DRAW", navy, {0.8f, 0.8f, 0.85f}, {1.0f, 1.0f, 1.0f},
                {0.6f, 0.65f, 0.75f}) &&
         ok;
    ok = banner(d + "pause.bmp", font, "PAUSE", navy, gold, yellowTop, yellowBottom) && ok;
    ok = levelBadge(d + "cpueasy.bmp", font, "CPU EASY", {0.4f, 0.9f, 0.4f}) && ok;
    ok = levelBadge(d + "cpunormal.bmp", font, "CPU NORMAL", gold) && ok;
    ok = levelBadge(d + "cpuhard.bmp", font, "CPU HARD", {1.0f, 0.3f, 0.25f}) && ok;
    ok = earthMap(d + "earthmap1k.bmp") && ok;
    ok = flareImage(d + "sun.bmp", sunGlow, {1.0f, 0.85f, 0.55f}) && ok;
    ok = flareImage(d + "croix.bmp", crossGlow, {1.0f, 0.95f, 0.85f}) && ok;
    ok = flareImage(d + "halo.bmp", haloGlow, {0.85f, 0.85f, 0.85f}) && ok;
    return ok;
}

}  // namespace assetgen

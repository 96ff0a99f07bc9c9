#pragma once
// The menu's text: glyphs from the font atlas that assetgen bakes (menufont.bmp and its table
// menufont.txt), drawn as textured quads in window pixels.
#include <array>
#include <string>

struct FontGlyph {
    // Box in the atlas (pixels), offset of the box from the pen (pixels, y down), advance.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float xoff = 0, yoff = 0, advance = 0;
    bool present = false;
};

struct FontTable {
    int atlasSize = 0;
    // The height the glyphs were baked at, in pixels.
    int pixelHeight = 0;
    std::array<FontGlyph, 128> glyphs;
};

// Reads the atlas table; false with `error` naming the first wrong line. Every glyph box must
// lie inside the atlas, and the space and the printable letters must all be there.
bool parseFontTable(const std::string& text, FontTable& table, std::string& error);

class MenuFont {
public:
    // Loads both files from the data folder (the working folder); false with `error` saying
    // which file is missing or wrong. Needs an OpenGL context.
    bool load(std::string& error);
    // The width in pixels of `text` drawn `height` pixels tall (the baked height's scale).
    float width(const std::string& text, float height) const;
    // Draws `text` with its baseline at y (window pixels, y down) from x, in the current
    // colour, added onto what is there. Needs a pixel projection with texturing allowed.
    void draw(const std::string& text, float x, float baseline, float height) const;

private:
    const FontGlyph& glyphOf(char c) const;
    FontTable table;
    unsigned int texture = 0;
};

#include "render/menu_font.h"

#include <GL/gl.h>

#include <fstream>
#include <sstream>

#include "animation/texture.h"

namespace {

constexpr const char* kAtlasPicture = "menufont.bmp";
constexpr const char* kAtlasTable = "menufont.txt";
constexpr int kFirstPrintable = 32;
constexpr int kLastPrintable = 126;

bool insideAtlas(const FontGlyph& g, int size) {
    return g.x0 >= 0 && g.y0 >= 0 && g.x0 <= g.x1 && g.y0 <= g.y1 && g.x1 <= size && g.y1 <= size;
}

bool readGlyph(std::istringstream& in, FontTable& table) {
    int code = 0;
    FontGlyph g;
    if (!(in >> code >> g.x0 >> g.y0 >> g.x1 >> g.y1 >> g.xoff >> g.yoff >> g.advance))
        return false;
    if (code < kFirstPrintable || code > kLastPrintable || !insideAtlas(g, table.atlasSize))
        return false;
    g.present = true;
    table.glyphs[static_cast<std::size_t>(code)] = g;
    return true;
}

}  // namespace

bool parseFontTable(const std::string& text, FontTable& table, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    table = FontTable();
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream in(line);
        std::string word;
        in >> word;
        bool ok = true;
        if (number == 1)
            ok = line == "vorlaxis-font 1";
        else if (word == "size")
            ok = static_cast<bool>(in >> table.atlasSize >> table.pixelHeight) &&
                 table.atlasSize > 0 && table.atlasSize <= 4096 && table.pixelHeight > 0;
        else if (word == "glyph")
            ok = table.atlasSize > 0 && readGlyph(in, table);
        else
            ok = word.empty();
        if (!ok) {
            error = "line " + std::to_string(number) + " is wrong";
            return false;
        }
    }
    for (int c = kFirstPrintable; c <= kLastPrintable; ++c) {
        if (!table.glyphs[static_cast<std::size_t>(c)].present) {
            error = "the glyph of character " + std::to_string(c) + " is missing";
            return false;
        }
    }
    return true;
}

bool MenuFont::load(std::string& error) {
    std::ifstream in(kAtlasTable, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        error = std::string("cannot read ") + kAtlasTable;
        return false;
    }
    std::string why;
    if (!parseFontTable(text.str(), table, why)) {
        error = std::string(kAtlasTable) + ": " + why;
        return false;
    }
    glGenTextures(1, &texture);
    if (!uploadBmpTexture(texture, kAtlasPicture, blackPlaceholder)) {
        error = std::string("cannot use ") + kAtlasPicture;
        return false;
    }
    return true;
}

const FontGlyph& MenuFont::glyphOf(char c) const {
    const auto code = static_cast<unsigned char>(c);
    if (code < 128 && table.glyphs[code].present) return table.glyphs[code];
    return table.glyphs['?'];
}

float MenuFont::width(const std::string& text, float height) const {
    if (table.pixelHeight <= 0) return 0.0f;
    float pen = 0.0f;
    for (char c : text) pen += glyphOf(c).advance;
    return pen * height / static_cast<float>(table.pixelHeight);
}

void MenuFont::draw(const std::string& text, float x, float baseline, float height) const {
    if (table.pixelHeight <= 0) return;
    const float scale = height / static_cast<float>(table.pixelHeight);
    const float unit = 1.0f / static_cast<float>(table.atlasSize);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBegin(GL_QUADS);
    float pen = x;
    for (char c : text) {
        const FontGlyph& g = glyphOf(c);
        const float left = pen + g.xoff * scale, top = baseline + g.yoff * scale;
        const float right = left + (g.x1 - g.x0) * scale, bottom = top + (g.y1 - g.y0) * scale;
        glTexCoord2f(g.x0 * unit, g.y0 * unit);
        glVertex2f(left, top);
        glTexCoord2f(g.x1 * unit, g.y0 * unit);
        glVertex2f(right, top);
        glTexCoord2f(g.x1 * unit, g.y1 * unit);
        glVertex2f(right, bottom);
        glTexCoord2f(g.x0 * unit, g.y1 * unit);
        glVertex2f(left, bottom);
        pen += g.advance * scale;
    }
    glEnd();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
}

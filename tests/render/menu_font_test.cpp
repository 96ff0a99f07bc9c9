// The font atlas table as assetgen writes it, and the damaged tables the game must refuse
// before a glyph box sends it reading outside its texture.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "render/menu_font.h"
#include "tests/support/data_folder.h"

namespace {

std::string builtTable() {
    std::ifstream in(testsupport::dataFile("menufont.txt"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The built table with its line for `code` replaced (or dropped when `line` is empty).
std::string withGlyphLine(int code, const std::string& line) {
    std::istringstream in(builtTable());
    std::string out, each;
    const std::string prefix = "glyph " + std::to_string(code) + " ";
    while (std::getline(in, each)) {
        if (each.rfind(prefix, 0) == 0) {
            if (!line.empty()) out += line + "\n";
        } else {
            out += each + "\n";
        }
    }
    return out;
}

TEST(MenuFontTable, TheBuiltTableHoldsEveryPrintableGlyphAndDamageIsNamed) {
    FontTable table;
    std::string error;
    ASSERT_TRUE(parseFontTable(builtTable(), table, error)) << error;
    EXPECT_GT(table.pixelHeight, 24);
    for (int c = 33; c < 127; ++c) {
        const FontGlyph& g = table.glyphs[static_cast<std::size_t>(c)];
        EXPECT_TRUE(g.present && g.x1 > g.x0 && g.advance > 0) << c;
    }

    EXPECT_FALSE(parseFontTable(withGlyphLine('Q', ""), table, error));
    EXPECT_EQ(error, "the glyph of character 81 is missing");
    EXPECT_FALSE(parseFontTable(withGlyphLine('Q', "glyph 81 500 0 600 30 0 -30 20"), table, error))
        << "a box past the atlas' edge";
    EXPECT_NE(error.find("line "), std::string::npos);
    EXPECT_FALSE(parseFontTable(withGlyphLine('Q', "glyph 200 0 0 10 10 0 -10 9"), table, error));
    EXPECT_FALSE(parseFontTable(withGlyphLine('Q', "glyph 81 0 0 10"), table, error));
    EXPECT_FALSE(parseFontTable("not a font\n", table, error));
    EXPECT_EQ(error, "line 1 is wrong");
    EXPECT_FALSE(parseFontTable("", table, error));
}

}  // namespace

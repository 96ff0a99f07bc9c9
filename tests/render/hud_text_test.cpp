#include "gl_window.h"
#include "render/hud_text.h"

#include <algorithm>
#include <string>

namespace {

class HudText : public GlWindow {
protected:
    void SetUp() override {
        GlWindow::SetUp();
        hudFrame();
        glDisable(GL_LIGHTING);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override { glEnable(GL_LIGHTING); }

    // Whether the dot at `column` (0..4 from the left) and `row` (0..6 from the top) of
    // character `index` is lit, for text drawn at (kLeft, kBottom) kHeight tall.
    static bool lit(int index, int column, int row) {
        const float dotH = kHeight / 7, dotW = dotH * hudScaleY / hudScaleX;
        const float x = kLeft + (index * 6 + column + 0.5f) * dotW;
        const float y = kBottom + (6 - row + 0.5f) * dotH;
        double wx, wy;
        project(x * hudScaleX, y * hudScaleY, hudDepth, wx, wy);
        const Pixel p = pixel(static_cast<int>(wx), static_cast<int>(wy));
        return p.r > 200 && p.g > 200 && p.b > 200;
    }

    static std::vector<unsigned char> drawn(const std::string& text) {
        resetFrame();
        drawHudText(text, kLeft, kBottom, kHeight);
        return frame();
    }

    // 42 pixels tall: dots of 6 x 6 pixels.
    static constexpr float kLeft = -0.5f, kBottom = 0.0f, kHeight = 0.14f;
};

TEST_F(HudText, GlyphsLightTheirDotsAndOddBytesFallBackToCapitalsOrQuestionMarks) {
    drawHudText("I- p", kLeft, kBottom, kHeight);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(lit(0, 2, 3)) << "the stem of the I";
    EXPECT_TRUE(lit(0, 1, 0) && lit(0, 3, 6)) << "the I's serifs";
    EXPECT_FALSE(lit(0, 0, 3) || lit(0, 4, 3));
    EXPECT_TRUE(lit(1, 0, 3) && lit(1, 4, 3)) << "the dash runs across the middle row";
    EXPECT_FALSE(lit(1, 2, 2) || lit(1, 2, 4));
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column) EXPECT_FALSE(lit(2, column, row)) << "space";
    EXPECT_TRUE(lit(3, 3, 0) && lit(3, 4, 1) && lit(3, 0, 6)) << "p as a capital P, bowl on top";
    EXPECT_FALSE(lit(3, 4, 0) || lit(3, 3, 6));

    const auto blank = drawn("");
    EXPECT_EQ(drawn("Vorlaxis ok!"), drawn("VORLAXIS OK!"));
    EXPECT_EQ(drawn("\xC3\xA9\x01"), drawn("???")) << "each byte of a UTF-8 e-acute and a control";
    EXPECT_NE(drawn("???"), blank);
    EXPECT_NE(drawn("0"), drawn("O")) << "the zero carries a diagonal";
}

TEST_F(HudText, DrawnTextFillsExactlyTheMeasuredBox) {
    // H has its outer columns lit on its bottom and top rows, so the quads reach every edge.
    const std::string text = "H[2001:DB8::1]:7461 H";
    const float x = 0.1f, y = -0.2f, height = 0.21f;
    const float width = hudTextWidth(text, height);
    const Feedback caught = captureFeedback([&] { drawHudText(text, x, y, height); });
    ASSERT_FALSE(caught.polygons.empty());
    float lowX = 1e9f, highX = -1e9f, lowY = 1e9f, highY = -1e9f;
    for (const auto& polygon : caught.polygons)
        for (const FeedbackVertex& v : polygon) {
            float ox, oy, oz;
            toObject(v, ox, oy, oz);
            lowX = std::min(lowX, ox), highX = std::max(highX, ox);
            lowY = std::min(lowY, oy), highY = std::max(highY, oy);
            EXPECT_NEAR(oz, hudDepth, 1e-3f);
        }
    EXPECT_NEAR(lowX, x * hudScaleX, 1e-3f);
    EXPECT_NEAR(highX, (x + width) * hudScaleX, 1e-3f);
    EXPECT_NEAR(lowY, y * hudScaleY, 1e-3f);
    EXPECT_NEAR(highY, (y + height) * hudScaleY, 1e-3f);

    EXPECT_EQ(hudTextWidth("", height), 0.0f);
    EXPECT_LT(hudTextWidth("A", height), hudTextWidth("AB", height));
    EXPECT_FLOAT_EQ(hudTextWidth("AB", 2 * height), 2 * hudTextWidth("AB", height));
}

}  // namespace

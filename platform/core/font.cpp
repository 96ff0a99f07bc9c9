// Text: faces found through fontconfig, glyphs rasterised with FreeType and blended into the
// canvas in the text colour.
#include "platform/core/layer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <array>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace vorlaxis::platform {

struct Glyph {
    int left = 0;  // from the pen position to the bitmap's left edge
    int top = 0;   // from the baseline up to the bitmap's top edge
    int width = 0;
    int rows = 0;
    int advance64 = 0;  // in 1/64 pixel, so runs of narrow glyphs keep their true width
    std::vector<uint8_t> coverage;
};

struct FontFace {
    std::mutex mutex;
    FT_Face face = nullptr;
    int ascent = 0;
    int cellHeight = 0;
    int spaceAdvance64 = -1;  // overrides the face's own space when >= 0
    std::array<std::unique_ptr<Glyph>, 256> glyphs;
    ~FontFace();
};

namespace {

// FreeType wants face creation and destruction serialised per library.
std::mutex libraryMutex;

FT_Library library() {
    static FT_Library instance = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) made = nullptr;
        return made;
    }();
    return instance;
}

struct FontRequest {
    std::string family;
    int weight = FC_WEIGHT_REGULAR;
    int width = FC_WIDTH_NORMAL;
    int slant = FC_SLANT_ROMAN;
};

// Faces Windows programs ask for by name that Debian does not ship, the nearest free one, and
// the wanted face's proportions, so that text laid out for it (runs of spaces pushing a label
// to the right, say) still fits where it was meant to.
struct Alias {
    const char* wanted;
    const char* family;
    int weight;
    int width;
    double cellEm;   // ascent plus descent, in ems
    double spaceEm;  // advance of the space
    double squeeze;  // horizontal scale of every other glyph
};
constexpr Alias kAliases[] = {
    {"Impact", "DejaVu Sans", FC_WEIGHT_BOLD, FC_WIDTH_CONDENSED, 1.22, 0.177, 0.82},
};

bool hasFamily(FcPattern* match, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
    return false;
}

// Returns the best file for the request; `exact` tells whether it carries the family asked for.
bool matchFile(const FontRequest& request, std::string* path, int* index, bool* exact) {
    static std::mutex fontconfigMutex;
    std::lock_guard<std::mutex> guard(fontconfigMutex);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(request.family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.weight);
    FcPatternAddInteger(pattern, FC_WIDTH, request.width);
    FcPatternAddInteger(pattern, FC_SLANT, request.slant);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        *path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
        *exact = hasFamily(match, request.family);
    }
    FcPatternDestroy(match);
    return found;
}

FontRequest requestFor(const LOGFONTA& lf) {
    FontRequest request;
    request.family.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    if (request.family.empty()) request.family = "sans-serif";
    if (lf.lfWeight > 0) request.weight = FcWeightFromOpenType(lf.lfWeight);
    if (lf.lfItalic) request.slant = FC_SLANT_ITALIC;
    return request;
}

// Sets *alias when the face stands in for a missing one.
bool findFile(const LOGFONTA& lf, std::string* path, int* index, const Alias** alias) {
    FontRequest request = requestFor(lf);
    bool exact = false;
    *alias = nullptr;
    if (!matchFile(request, path, index, &exact)) return false;
    if (exact) return true;
    for (const Alias& candidate : kAliases) {
        if (strcasecmp(candidate.wanted, request.family.c_str()) != 0) continue;
        FontRequest near = request;
        near.family = candidate.family;
        near.weight = candidate.weight;
        near.width = candidate.width;
        *alias = &candidate;
        return matchFile(near, path, index, &exact);
    }
    return true;  // fontconfig's own nearest face
}

// Windows sizes fonts by their cell (lfHeight > 0) or their em (lfHeight < 0); the cell is the
// font's Windows ascent plus descent.
bool setSize(FontFace& font, LONG lfHeight, const Alias* alias) {
    FT_Face face = font.face;
    double units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    double ascent = face->ascender, descent = -face->descender;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    }
    if (ascent + descent <= 0) return false;
    double cellEm = alias ? alias->cellEm : (ascent + descent) / units;
    double em = 0;
    if (lfHeight < 0) {
        em = -static_cast<double>(lfHeight);
        font.cellHeight = static_cast<int>(std::lround(em * cellEm));
    } else {
        font.cellHeight = lfHeight > 0 ? lfHeight : 16;
        em = font.cellHeight / cellEm;
    }
    if (em < 1 || em > 2048) return false;
    font.ascent = static_cast<int>(std::lround(ascent * em / units));
    if (alias) {
        font.spaceAdvance64 = static_cast<int>(std::lround(alias->spaceEm * em * 64));
        FT_Matrix squeeze{static_cast<FT_Fixed>(alias->squeeze * 0x10000), 0, 0, 0x10000};
        FT_Set_Transform(face, &squeeze, nullptr);
    }
    return FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(em * 64), 72, 72) == 0;
}

std::unique_ptr<Glyph> rasterise(FT_Face face, unsigned char code) {
    auto glyph = std::make_unique<Glyph>();
    if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph->left = slot->bitmap_left;
    glyph->top = slot->bitmap_top;
    glyph->width = static_cast<int>(bitmap.width);
    glyph->rows = static_cast<int>(bitmap.rows);
    glyph->advance64 = static_cast<int>(slot->advance.x);
    glyph->coverage.resize(static_cast<size_t>(glyph->width) * glyph->rows);
    for (int j = 0; j < glyph->rows; ++j) {
        const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(j) * bitmap.pitch;
        for (int i = 0; i < glyph->width; ++i) {
            bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            uint8_t value = mono ? ((line[i / 8] >> (7 - i % 8)) & 1) * 255 : line[i];
            glyph->coverage[static_cast<size_t>(j) * glyph->width + i] = value;
        }
    }
    return glyph;
}

const Glyph& glyphOf(FontFace& font, unsigned char code) {
    auto& slot = font.glyphs[code];
    if (!slot) {
        slot = rasterise(font.face, code);
        if (code == ' ' && font.spaceAdvance64 >= 0) slot->advance64 = font.spaceAdvance64;
    }
    return *slot;
}

uint32_t blend(uint32_t under, uint32_t over, unsigned alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned d = (under >> shift) & 0xFF, s = (over >> shift) & 0xFF;
        out |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

void drawGlyph(Canvas& canvas, const Glyph& glyph, int penX, int baseline, uint32_t color) {
    for (int j = 0; j < glyph.rows; ++j) {
        uint32_t* row = canvas.row(baseline - glyph.top + j);
        if (!row) continue;
        for (int i = 0; i < glyph.width; ++i) {
            int x = penX + glyph.left + i;
            unsigned alpha = glyph.coverage[static_cast<size_t>(j) * glyph.width + i];
            if (alpha && x >= 0 && x < canvas.width) row[x] = blend(row[x], color, alpha);
        }
    }
}

}  // namespace

FontFace::~FontFace() {
    std::lock_guard<std::mutex> guard(libraryMutex);
    if (face) FT_Done_Face(face);
}

std::shared_ptr<FontFace> loadFont(const LOGFONTA& lf) {
    std::string path;
    int index = 0;
    const Alias* alias = nullptr;
    if (!findFile(lf, &path, &index, &alias)) return nullptr;
    auto font = std::make_shared<FontFace>();
    {
        std::lock_guard<std::mutex> guard(libraryMutex);
        if (!library() || FT_New_Face(library(), path.c_str(), index, &font->face) != 0) {
            font->face = nullptr;
            return nullptr;
        }
    }
    return setSize(*font, lf.lfHeight, alias) ? font : nullptr;
}

std::shared_ptr<FontFace> defaultFont() {
    static const std::shared_ptr<FontFace> font = [] {
        LOGFONTA lf{};
        lf.lfHeight = 16;
        std::strcpy(lf.lfFaceName, "DejaVu Sans");
        return loadFont(lf);
    }();
    return font;
}

bool drawText(Canvas& canvas, FontFace& font, int x, int y, const char* text, int length,
              uint32_t color, const uint32_t* background) {
    std::lock_guard<std::mutex> guard(font.mutex);
    if (!font.face) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (background) {
        int64_t width64 = 0;
        for (int i = 0; i < length; ++i) width64 += glyphOf(font, bytes[i]).advance64;
        fillRect(canvas, x, y, x + static_cast<int>((width64 + 32) >> 6), y + font.cellHeight,
                 *background);
    }
    int64_t pen64 = int64_t(x) * 64;
    for (int i = 0; i < length; ++i) {
        const Glyph& glyph = glyphOf(font, bytes[i]);
        drawGlyph(canvas, glyph, static_cast<int>((pen64 + 32) >> 6), y + font.ascent, color);
        pen64 += glyph.advance64;
    }
    return true;
}

}  // namespace vorlaxis::platform

using namespace vorlaxis::platform;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf) {
    auto face = lf ? loadFont(*lf) : nullptr;
    if (!face) return nullptr;
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Font;
    object->font = face;
    return reinterpret_cast<HFONT>(gdiObjects().add(object));
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
    auto dc = findDC(hdc);
    if (!dc || (!text && length > 0) || length < 0) return FALSE;
    std::shared_ptr<Canvas> canvas;
    std::shared_ptr<FontFace> font;
    uint32_t color = 0, background = 0;
    bool opaque = false;
    {
        std::lock_guard<std::mutex> guard(dc->mutex);
        canvas = dc->canvas;
        font = dc->font ? dc->font->font : nullptr;
        color = pixelFromColor(dc->textColor);
        background = pixelFromColor(dc->bkColor);
        opaque = dc->bkMode == OPAQUE;
    }
    if (!font) font = defaultFont();
    if (!font) return FALSE;
    if (!canvas || length == 0) return TRUE;
    std::lock_guard<std::mutex> guard(canvas->mutex);
    bool drawn =
        drawText(*canvas, *font, x, y, text, length, color, opaque ? &background : nullptr);
    canvas->markChanged();
    return drawn ? TRUE : FALSE;
}

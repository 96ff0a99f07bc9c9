#include <gtest/gtest.h>

#include "animation/filreader.h"
#include "tests/animation/model_files.h"

namespace {

const char* const MINIMAL =
    "v 0.0 1.0 0.0\n"
    "v -1.0 0.0 0.0\n"
    "v 1.0 0.0 0.0\n"
    "vt 0.5 1.0\n"
    "vt 0.0 0.0\n"
    "vt 1.0 0.0\n"
    "vn 0.0 0.0 1.0\n"
    "f 1/1/1 2/2/1 3/3/1\n"
    "g\n";

Model readText(const std::string& text, bool* good = nullptr) {
    TempDir dir;
    dir.write("pose.txt", text);
    FileReader reader(dir.file("pose.txt").c_str());
    Model model = reader.getAll();
    if (good) *good = reader.good();
    return model;
}

TEST(FileReader, ReadsTheMinimalFile) {
    bool good = false;
    const Model m = readText(MINIMAL, &good);
    EXPECT_TRUE(good);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[VERTICES], (std::vector<std::vector<double>>{{0, 1, 0}, {-1, 0, 0}, {1, 0, 0}}));
    EXPECT_EQ(m[COLORS], (std::vector<std::vector<double>>{{0.5, 1}, {0, 0}, {1, 0}}));
    EXPECT_EQ(m[NORMALS], (std::vector<std::vector<double>>{{0, 0, 1}}));
    // Face numbers stay 1-based and exactly as written.
    EXPECT_EQ(m[POLYGONS], (std::vector<std::vector<double>>{{1, 1, 1, 2, 2, 1, 3, 3, 1}}));
}

TEST(FileReader, LineStructureHasNoMeaning) {
    const Model oneLine = readText(
        "v 0.0 1.0 0.0 v -1.0 0.0 0.0 v 1.0 0.0 0.0 vt 0.5 1.0 vt 0.0 0.0 vt 1.0 0.0 "
        "vn 0.0 0.0 1.0 f 1/1/1 2/2/1 3/3/1 g");
    const Model split = readText(
        "v\n0.0\n1.0\n\t0.0\nv -1.0\n0.0 0.0\nv 1.0 0.0\n0.0\nvt 0.5\n1.0\nvt 0.0 0.0 vt\n1.0 "
        "0.0\nvn 0.0\n0.0 1.0\nf 1/1/1\n2/2/1\n3/3/1\ng");
    const Model minimal = readText(MINIMAL);
    EXPECT_EQ(oneLine, minimal);
    EXPECT_EQ(split, minimal);
}

TEST(FileReader, SeparatorsAreAnyCharacterWithOptionalBlanks) {
    const Model blanks = readText(
        "v 0 1 0 v -1 0 0 v 1 0 0 vt 0.5 1 vt 0 0 vt 1 0 vn 0 0 1 "
        "f 1 / 1 / 1 2/ 2 /1 3 /3/ 1 g");
    const Model colons =
        readText("v 0 1 0 v -1 0 0 v 1 0 0 vt 0.5 1 vt 0 0 vt 1 0 vn 0 0 1 f 1:1:1 2|2|1 3:3:1 g");
    const Model minimal = readText(MINIMAL);
    EXPECT_EQ(blanks[POLYGONS], minimal[POLYGONS]);
    EXPECT_EQ(colons[POLYGONS], minimal[POLYGONS]);
}

TEST(FileReader, ReadsExponentsSignsAndKeepsNumbersAsWritten) {
    const Model m =
        readText("v -1.5e-3 +2 1E2 vt 0 0 vn 0 0 1 f 3.9/1/1 1/1/1 2/1/1 x 1/1/1 1/1/1 1/1/1 g");
    ASSERT_EQ(m[VERTICES].size(), 1u);
    EXPECT_DOUBLE_EQ(m[VERTICES][0][0], -1.5e-3);
    EXPECT_DOUBLE_EQ(m[VERTICES][0][1], 2.0);
    EXPECT_DOUBLE_EQ(m[VERTICES][0][2], 100.0);
    ASSERT_EQ(m[POLYGONS].size(), 2u);  // any one-character keyword but g starts a triangle
    EXPECT_DOUBLE_EQ(m[POLYGONS][0][0], 3.9);
}

TEST(FileReader, AFileMayStartWithTextureCoordinates) {
    bool good = false;
    const Model m = readText("vt 0 0 vt 1 1 vn 0 1 0 f 1/1/1 1/2/1 1/1/1 g", &good);
    EXPECT_TRUE(good);
    EXPECT_TRUE(m[VERTICES].empty());
    EXPECT_EQ(m[COLORS].size(), 2u);
    EXPECT_EQ(m[NORMALS].size(), 1u);
    EXPECT_EQ(m[POLYGONS].size(), 1u);
}

TEST(FileReader, KeywordsAreCaseSensitiveWholeTokens) {
    // "V" ends the vertex list and stands as the first texture-coordinate keyword.
    const Model m = readText("v 1 2 3 V 0 0 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1/1 g");
    EXPECT_EQ(m[VERTICES].size(), 1u);
    EXPECT_EQ(m[COLORS].size(), 2u);
}

TEST(FileReader, IgnoresEverythingAfterTheEndMark) {
    const Model m = readText(std::string(MINIMAL) +
                             "robot\nv 9 9 9\nvt 1 1\nvn 1 0 0\nf 1/1/1 1/1/1 1/1/1\ng\n");
    EXPECT_EQ(m, readText(MINIMAL));
}

TEST(FileReader, ChangeFileRestartsAtTheTopAndForgetsEarlierFailures) {
    TempDir dir;
    dir.write("a.txt", MINIMAL);
    dir.write("broken.txt", "v 1 2");
    FileReader reader(dir.file("a.txt").c_str());
    const Model first = reader.getAll();
    reader.changeFile(dir.file("a.txt").c_str());
    EXPECT_EQ(reader.getAll(), first);
    reader.changeFile(dir.file("broken.txt").c_str());
    reader.getAll();
    EXPECT_FALSE(reader.good());
    reader.changeFile(dir.file("a.txt").c_str());
    EXPECT_EQ(reader.getAll(), first);
    EXPECT_TRUE(reader.good());
}

TEST(FileReader, StopsAndReportsOnMissingTruncatedOrNonNumericFiles) {
    const char* const bad[] = {
        "",                                                       // empty
        "v 0 1 0 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1/1",            // no end mark
        "v 0 1 0 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1",              // corner cut short
        "v 0 one 0 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1/1 g",        // word for a number
        "v 0 1 0 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1/1 f 1/x/1 g",  // junk in a corner
        "v 1e999 0 0 vt 0 0 vn 0 0 1 f 1/1/1 1/1/1 1/1/1 g",      // out of double range
    };
    for (const char* text : bad) {
        bool good = true;
        const Model m = readText(text, &good);
        EXPECT_FALSE(good) << text;
        EXPECT_EQ(m.size(), 4u);
    }
    FileReader missing("/nonexistent/vorlaxis/pose.txt");
    EXPECT_EQ(missing.getAll(), Model(4));
    EXPECT_FALSE(missing.good());
    EXPECT_EQ(missing.nextWord(), "");
    EXPECT_EQ(missing.nextNumber(), 0.0);
}

}  // namespace

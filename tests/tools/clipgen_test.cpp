// clipgen's clips read back through the game's own recognition.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/capture/y4m.h"
#include "tests/support/scratch_folder.h"
#include "tests/tools/tool_run.h"
#include "vision/WebCam.h"

namespace {

std::string clipgenPath() {
    const std::string flat = std::string(VORLAXIS_BIN_DIR) + "/tools/clipgen";
    struct stat info {};
    if (::stat(flat.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return flat;
    return flat + "/clipgen";
}

std::string tempPath(const std::string& suffix) {
    return testsupport::scratchPath("clipgen", suffix);
}

using toolstest::ToolRun;

ToolRun run(const std::string& arguments) {
    return toolstest::runTool(clipgenPath() + " " + arguments + " 2>&1");
}

// Writes `script`, makes the clip, returns its path ("" on failure, with the output logged).
std::string makeClip(const std::string& script, std::string* output = nullptr) {
    const std::string scriptPath = tempPath(".txt");
    std::ofstream(scriptPath) << script;
    const std::string clipPath = tempPath(".y4m");
    const ToolRun r = run(scriptPath + " " + clipPath);
    std::remove(scriptPath.c_str());
    if (output) *output = r.output;
    EXPECT_EQ(r.status, 0) << r.output;
    return r.status == 0 ? clipPath : "";
}

// One frame of a clip through the worker's recognition pass.
class Recogniser {
public:
    explicit Recogniser(const std::string& clipPath) : path_(clipPath) {
        std::string error;
        ok_ = clip_.open(clipPath, error);
        EXPECT_TRUE(ok_) << error;
    }
    ~Recogniser() { std::remove(path_.c_str()); }
    int frames() const { return ok_ ? clip_.frameCount() : 0; }

    CWebCam& look(int frame) {
        camera::RgbFrame rgb;
        std::string error;
        EXPECT_TRUE(clip_.readFrame(frame, rgb, error)) << error;
        if (rgb.width == kFrameWidth && rgb.height == kFrameHeight) load(rgb);
        cam_.CalBiCouleur(0);
        cam_.calculBarycentre(0);
        cam_.calculVariance(0);
        cam_.discriminateRPS(0);
        return cam_;
    }

private:
    void load(const camera::RgbFrame& rgb) {
        for (int row = 0; row < kFrameHeight; ++row)
            for (int col = 0; col < kFrameWidth; ++col) {
                const uint8_t* p = &rgb.rgb[(row * kFrameWidth + col) * 3];
                Pixel& px = cam_.images[0].pixels[row][col];
                px.r = p[0];
                px.g = p[1];
                px.b = p[2];
                px.couleur = p[0] + 256 * p[1] + 65536 * p[2];
            }
    }

    std::string path_;
    camera::Y4mClip clip_;
    CWebCam cam_;
    bool ok_ = false;
};

int signCode(const std::string& shape) {
    if (shape == "rock") return 1;
    if (shape == "paper") return 2;
    if (shape == "scissors") return 3;
    return 0;
}

}  // namespace

TEST(Clipgen, EveryShapeReadsAsItsSignInEachHalfAndAtItsPlace) {
    for (const char* colour : {"420jpeg", "444"}) {
        std::ostringstream script;
        script << "fps 30\ncolour " << colour << "\n";
        struct Case {
            std::string shape;
            int x, y;
            bool player1;
        };
        std::vector<Case> cases;
        for (const char* shape : {"rock", "paper", "scissors"})
            for (auto [x, y] : {std::pair{80, 120}, {40, 70}, {120, 170}})
                for (bool player1 : {true, false}) cases.push_back({shape, x, y, player1});
        for (const Case& c : cases) {
            const std::string hand =
                c.shape + " " + std::to_string(c.x) + "," + std::to_string(c.y);
            script << "1 " << (c.player1 ? hand + " | rock 80,120" : "rock 80,120 | " + hand)
                   << "\n";
        }
        Recogniser clip(makeClip(script.str()));
        ASSERT_EQ(clip.frames(), static_cast<int>(cases.size()));
        for (size_t i = 0; i < cases.size(); ++i) {
            const Case& c = cases[i];
            CWebCam& cam = clip.look(static_cast<int>(i));
            const std::string what = std::string(colour) + " " +
                                     (c.player1 ? "player 1 " : "player 2 ") + c.shape + " at " +
                                     std::to_string(c.x) + "," + std::to_string(c.y);
            EXPECT_EQ(c.player1 ? cam.rps1.load() : cam.rps2.load(), signCode(c.shape)) << what;
            EXPECT_EQ(c.player1 ? cam.rps2.load() : cam.rps1.load(), 1)
                << what << ": the rock opposite";
            EXPECT_NEAR(c.player1 ? cam.baryX1.load() : cam.baryX2.load(), c.x, 2) << what;
            EXPECT_NEAR(c.player1 ? cam.baryY1.load() : cam.baryY2.load(), c.y, 2) << what;
        }
    }
}

TEST(Clipgen, NothingLeavesAnEmptyHalfAndHandsMoveAlongTheirLine) {
    std::string output;
    Recogniser clip(
        makeClip("2 none | paper 80,120\n2 paper 80,120 | none\n"
                 "11 rock 40,100 -> 120,60 | scissors 120,120 -> 40,120\n",
                 &output));
    EXPECT_EQ(output, "");
    ASSERT_EQ(clip.frames(), 15);
    CWebCam& cam = clip.look(0);
    EXPECT_EQ(cam.baryX1.load(), -160);  // the recognition's empty-half values
    EXPECT_EQ(cam.varX1.load(), 0);
    EXPECT_EQ(cam.rps2.load(), 2);
    clip.look(2);
    EXPECT_EQ(cam.baryX2.load(), 0);
    EXPECT_EQ(cam.baryY2.load(), 0);
    EXPECT_EQ(cam.rps1.load(), 2);
    for (int step : {0, 5, 10}) {
        clip.look(4 + step);
        EXPECT_NEAR(cam.baryX1.load(), 40 + 8 * step, 2) << step;
        EXPECT_NEAR(cam.baryY1.load(), 100 - 4 * step, 2) << step;
        EXPECT_NEAR(cam.baryX2.load(), 120 - 8 * step, 2) << step;
        EXPECT_EQ(cam.rps1.load(), 1) << step;
        EXPECT_EQ(cam.rps2.load(), 3) << step;
    }
}

TEST(Clipgen, SameScriptSameClipAndTheSeedChangesOnlyTheNoise) {
    const std::string script = "seed 3\n3 paper 70,110 | scissors 90,130\n";
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::remove(path.c_str());
        return bytes;
    };
    const std::string a = slurp(makeClip(script));
    const std::string b = slurp(makeClip(script));
    const std::string c = slurp(makeClip("seed 4\n3 paper 70,110 | scissors 90,130\n"));
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), c.size());
    EXPECT_NE(a, c);
    EXPECT_EQ(a.rfind("YUV4MPEG2 W320 H240 F15:1 Ip A1:1 C420jpeg\nFRAME\n", 0), 0u);
}

TEST(Clipgen, BadScriptsAreRefusedWithTheirLine) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"5 rok 80,120 | none\n",
         ":1: player 1: a hand is none, rock, paper or scissors, not 'rok'"},
        {"# fine\n5 rock 80,120 none\n", ":2: a segment is 'FRAMES"},
        {"5 rock 80,120 | none | none\n", ":1: a segment is"},
        {"0 none | none\n", ":1: the frame count must be"},
        {"x none | none\n", ":1: unknown line 'x'"},
        {"fps 500\n", ":1: fps must be a whole number from 1 to 120"},
        {"colour 422\n", ":1: colour is 420jpeg or 444"},
        {"seed -1\n", ":1: seed must be"},
        {"1 none | none\nfps 10\n", ":2: 'fps' must come before the first segment"},
        {"1 rock 80 | none\n", ":1: player 1: expected 'rock X,Y'"},
        {"1 rock 80,120 -> 90 | none\n", ":1: player 1: the end position '90' is not X,Y"},
        {"1 none | paper 999,120\n", ":1: player 2: expected 'paper X,Y'"},
        {"1 none 10,10 | none\n", ":1: player 1: 'none' takes no position"},
        {"60000 none | none\n60000 none | none\n",
         ":2: the clip would be longer than 100000 frames"},
        {"# nothing\n", ": no segment"},
    };
    for (const auto& c : cases) {
        const std::string scriptPath = tempPath(".txt");
        std::ofstream(scriptPath) << c.script;
        const std::string clipPath = tempPath(".y4m");
        const ToolRun r = run(scriptPath + " " + clipPath);
        EXPECT_EQ(r.status, 1) << c.script;
        EXPECT_NE(r.output.find("clipgen: " + scriptPath + c.message), std::string::npos)
            << c.script << " gave: " << r.output;
        std::remove(scriptPath.c_str());
        std::remove(clipPath.c_str());
    }
    ToolRun missing = run("/nonexistent/script.txt " + tempPath(".y4m"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("cannot read the script /nonexistent/script.txt: No such file"),
              std::string::npos);
    ToolRun directory = run("/tmp " + tempPath(".y4m"));
    EXPECT_EQ(directory.status, 1);
    EXPECT_NE(directory.output.find("cannot read the script /tmp: Is a directory"),
              std::string::npos)
        << directory.output;
    ToolRun endless = run("/dev/zero " + tempPath(".y4m"));
    EXPECT_EQ(endless.status, 1);
    EXPECT_NE(endless.output.find("the script /dev/zero is larger than 16 MB"), std::string::npos)
        << endless.output;
    ToolRun unwritable =
        run(std::string(VORLAXIS_SOURCE_DIR) + "/tools/clipgen/demo.txt /nonexistent/out.y4m");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.output.find("cannot write /nonexistent/out.y4m"), std::string::npos)
        << unwritable.output;
    ToolRun usage = run("");
    EXPECT_EQ(usage.status, 1);
    EXPECT_NE(usage.output.find("usage: clipgen SCRIPT OUT.y4m"), std::string::npos);
}

TEST(Clipgen, WarnsWhenTheMaskWouldSeeBackgroundNoise) {
    std::string output;
    const std::string clip = makeClip("2 rock 80,120 | rock 80,120\n2 none | none\n", &output);
    std::remove(clip.c_str());
    EXPECT_NE(output.find(":2: warning: from frame 3"), std::string::npos) << output;
}

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kQuick = 60.0;  // instrumented builds run several times slower
#else
constexpr double kQuick = 10.0;
#endif

struct DemoSegment {
    int frames = 0;
    std::string shape[2];  // player 1, player 2
    bool still[2] = {false, false};
};

// Reads the segments of a clip script the simple way the demo writes them.
std::vector<DemoSegment> demoSegments(const std::string& path) {
    std::ifstream in(path);
    std::vector<DemoSegment> segments;
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        DemoSegment s;
        if (!(words >> s.frames)) continue;
        std::string bar, second;
        words >> s.shape[0];
        std::string word;
        std::vector<std::string> rest;
        while (words >> word) rest.push_back(word);
        // "x,y |" or "x,y -> x,y |" before the bar
        s.still[0] = rest.size() >= 2 && rest[1] == "|";
        const size_t at = std::find(rest.begin(), rest.end(), "|") - rest.begin();
        if (at + 1 < rest.size()) s.shape[1] = rest[at + 1];
        s.still[1] = rest.size() == at + 3;
        segments.push_back(s);
    }
    return segments;
}

}  // namespace

TEST(Clipgen, DemoIsQuickToMakeAndShowsEverySignItScripts) {
    const std::string script = std::string(VORLAXIS_SOURCE_DIR) + "/tools/clipgen/demo.txt";
    const std::string clipPath = tempPath(".y4m");
    const auto start = std::chrono::steady_clock::now();
    const ToolRun r = run(script + " " + clipPath);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");  // no warnings
    EXPECT_LT(seconds, kQuick);

    Recogniser clip(clipPath);
    const std::vector<DemoSegment> segments = demoSegments(script);
    ASSERT_FALSE(segments.empty());
    const double length = clip.frames() / 15.0;
    EXPECT_GE(length, 60.0);
    EXPECT_LE(length, 90.0);
    int first = 0, checked = 0;
    for (const DemoSegment& s : segments) {
        CWebCam& cam = clip.look(first + s.frames / 2);
        if (s.still[0] && s.still[1]) {
            EXPECT_EQ(cam.rps1.load(), signCode(s.shape[0])) << "frame " << first + s.frames / 2;
            EXPECT_EQ(cam.rps2.load(), signCode(s.shape[1])) << "frame " << first + s.frames / 2;
            ++checked;
        }
        first += s.frames;
    }
    EXPECT_EQ(first, clip.frames());
    EXPECT_GT(checked, 30);
}

// Mutated keyframe files: the reader must always return, and the move library must either
// refuse a set of files or hold poses that can be drawn and blended without leaving any list.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "animation/moves.h"
#include "tests/animation/model_files.h"

namespace {

// A small closed mesh in the keyframe format: an octahedron, one vertex and normal per corner.
std::string octahedron(double shift) {
    const double p[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const int faces[8][3] = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4},
                             {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    std::ostringstream v, vn, f;
    int corner = 1;
    for (const auto& face : faces) {
        f << 'f';
        for (int k : face) {
            v << "v " << p[k][0] + shift << ' ' << p[k][1] << ' ' << p[k][2] * 1.5e-1 << '\n';
            vn << "vn " << p[k][0] << ' ' << p[k][1] << ' ' << p[k][2] << '\n';
            f << ' ' << corner << '/' << 1 << '/' << corner;
            ++corner;
        }
        f << '\n';
    }
    return v.str() + "vt 0 0\nvt 1 1\n" + vn.str() + f.str() + "g robot\n";
}

const char* const JUNK[] = {"x",     "g",     "v",     "vt",     "vn",
                            "f",     "/",     "1e999", "-1e400", "nan",
                            "inf",   "1e308", "-0",    "0x1p3",  "99999999999999999999",
                            "1.5.2", "+",     "--1",   "e5",     "\t\n",
                            "G",     "3/4/5", "0"};

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng(seed) {}

    std::string mutate(std::string text) {
        const int rounds = pick(3) + 1;
        for (int r = 0; r < rounds; ++r) text = once(text);
        return text;
    }

private:
    std::mt19937 rng;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    std::size_t at(const std::string& s) {
        return s.empty() ? 0 : std::size_t(pick(int(s.size()) + 1));
    }
    std::string junk() { return JUNK[pick(sizeof JUNK / sizeof *JUNK)]; }

    std::string once(std::string s) {
        switch (pick(9)) {
        case 0: return s.substr(0, at(s));  // truncated anywhere
        case 1: return s.insert(at(s), " " + junk() + " ");
        case 2: {  // one token replaced
            const std::size_t start = s.find(' ', at(s));
            if (start == std::string::npos) return s;
            const std::size_t end = s.find_first_of(" \n", start + 1);
            return s.replace(start + 1, end == std::string::npos ? 0 : end - start - 1, junk());
        }
        case 3: {  // every g removed
            std::string out;
            for (char c : s)
                if (c != 'g') out += c;
            return out;
        }
        case 4: return "";
        case 5: {  // binary noise
            std::string noise(std::size_t(pick(2048)), '\0');
            for (char& c : noise) c = char(pick(256));
            return noise;
        }
        case 6:  // bytes flipped
            for (int i = 0, n = pick(8) + 1; i < n && !s.empty(); ++i)
                s[at(s) % s.size()] = char(pick(256));
            return s;
        case 7: {  // a chunk repeated
            const std::size_t from = at(s), len = std::size_t(pick(200));
            return s.insert(at(s), s.substr(from, len));
        }
        default: {  // a line dropped
            const std::size_t start = s.rfind('\n', at(s));
            const std::size_t end = s.find('\n', start == std::string::npos ? 0 : start + 1);
            if (start == std::string::npos || end == std::string::npos) return s;
            return s.erase(start, end - start);
        }
        }
    }
};

void expectWellShaped(const Model& m) {
    ASSERT_EQ(m.size(), 4u);
    const std::size_t lengths[4] = {3, 2, 3, 9};
    for (int list = 0; list < 4; ++list)
        for (const std::vector<double>& entry : m[list]) ASSERT_EQ(entry.size(), lengths[list]);
}

// What the renderer does with a pose: every corner's numbers, truncated, must name entries.
void expectDrawable(const Model& m) {
    for (const std::vector<double>& t : m[POLYGONS])
        for (int k = 0; k < 3; ++k) {
            const long v = long(t[3 * k]) - 1, n = long(t[3 * k + 2]) - 1;
            ASSERT_TRUE(v >= 0 && std::size_t(v) < m[VERTICES].size());
            ASSERT_TRUE(n >= 0 && std::size_t(n) < m[NORMALS].size());
        }
}

TEST(KeyframeFuzz, ReaderAlwaysReturnsWellShapedModels) {
    TempDir dir;
    const std::string base = octahedron(0.0);
    const std::string path = dir.file("pose.txt");
    dir.write("pose.txt", base);
    FileReader reader(path.c_str());
    Mutator mutator(20261207);
    int completed = 0;
    for (int i = 0; i < 4000; ++i) {
        dir.write("pose.txt", mutator.mutate(base));
        reader.changeFile(path.c_str());
        const Model m = reader.getAll();
        expectWellShaped(m);
        if (reader.good()) {
            ++completed;
            EXPECT_FALSE(m[POLYGONS].empty());
        }
        if (HasFatalFailure()) FAIL() << "mutation " << i;
    }
    EXPECT_GT(completed, 100);  // the mutations leave a share of files complete
}

TEST(KeyframeFuzz, MovesRefuseBrokenSetsOrHoldSafePoses) {
    TempDir dir;
    for (int i = 0; i < 18; ++i) dir.write(KEYFRAME_FILES[i], octahedron(i * 0.1));
    WorkingDir here(dir.path());
    Mutator mutator(7);
    std::mt19937 rng(99);
    int accepted = 0;
    for (int i = 0; i < 400; ++i) {
        const int victim = int(rng() % 18);
        const std::string name = KEYFRAME_FILES[victim];
        dir.write(name, mutator.mutate(octahedron(victim * 0.1)));
        Moves moves;
        ::testing::internal::CaptureStderr();
        const bool ok = moves.readMoves();
        const std::string err = ::testing::internal::GetCapturedStderr();
        if (ok) {
            ++accepted;
            EXPECT_EQ(err, "");
            for (int move = 0; move < 7; ++move)
                for (int t = -10; t <= 160; t += 7) {
                    const Model m = moves.interpolate(move, t);
                    expectWellShaped(m);
                    expectDrawable(m);
                }
        } else {
            EXPECT_NE(err.find(name), std::string::npos) << err;
        }
        dir.write(name, octahedron(victim * 0.1));
        if (HasFatalFailure()) FAIL() << "mutation " << i << " of " << name;
    }
    EXPECT_GT(accepted, 5);
}

}  // namespace

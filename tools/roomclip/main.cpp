// roomclip: camera clips made from real photographs, for measuring the hand recognition in
// real rooms, and the scorer of the game's readings of them.
//
//   roomclip make [--frames N] [--fps N] [--seed N] [--conditions A,B,...] [--script FILE] FOLDER
//   roomclip score FOLDER [MODE...]
//   roomclip sheet FOLDER
//   roomclip conditions
//
// make writes, for every condition (all, or those listed), FOLDER/CONDITION.y4m, a 320 x 240
// YUV4MPEG2 clip (4:2:0) at N frames a second (default 15), and FOLDER/CONDITION.truth. Each
// clip begins with the calibration: for one second (N frames) both players stand in place
// with their hands down, then for one second each holds an open palm with its centre on the
// mark at the middle of their half, 130 px from the top (x 80 and 240, y 130). The test
// frames follow (--frames, default 120): each player, independently, shows rock, spread or
// flat paper or scissors, or no hand (a quarter of the time), each pose held for three frames
// with a slow drift or a quick move blurred by the exposure, at 0.8 to 1.2 times the
// calibration's size, tilted up to 26 degrees, mostly with a forearm (in the condition's
// sleeve or bare), a third of the time the other hand (the photo mirrored). Player 1 is the right
// half. The poses come from --seed (default 1): the same seed makes the same clip, byte for byte;
// `roomclip conditions` lists the conditions. With --script FILE the frames after the
// calibration follow the script instead (tools/roomclip/script.h gives its form).
//
// The truth file has one line a frame, calibration frames included, numbered from 0:
//
//   frame N: H1 X1 Y1 SIGN1 H2 X2 Y2 SIGN2 SHAPE1 SHAPE2
//
// H is 1 when the half holds a hand; X, Y the centre of the hand's own pixels (wrist to
// fingertips, the forearm excluded) with X1 counted from column 160, X2 the frame column, Y
// the row; SIGN 1 rock, 2 paper, 3 scissors (0 and the empty-half values -160 0 / 0 0 with
// no hand); SHAPE rock, paper-spread, paper-flat, scissors or none, "+blur" when it moves
// fast. Comment lines ('#') name the condition and the calibration's length.
//
// score reads FOLDER/CONDITION.truth and, for every MODE (default: room classic),
// FOLDER/CONDITION.MODE.readings, the output of
//   vorlaxis --camera FOLDER/CONDITION.y4m --print-readings --vision MODE
// and prints a table: per condition and mode the hands located within 10 px of the truth,
// the median distance, the empty halves read as empty and the signs read right, over the
// frames after the calibration; then the signs read right per shape. Readings that miss a
// frame are a failure. scripts/room-vision-table does all of it.
//
// Exit codes: 0 done, 1 a failure (a photo missing, a file not written or not read), 2 a
// mistake on the command line.
//
// sheet writes FOLDER/hands.png (every hand photo's cut and its shapes) and
// FOLDER/frames.png (frames of every condition), to look at what the clips show.
//
// The photos come from the Debian packages opencv-doc and python3-skimage (see the README);
// --opencv-doc DIR and --skimage-data DIR read them from elsewhere.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/roomclip/clip_maker.h"
#include "tools/roomclip/score.h"
#include "tools/roomclip/sheet.h"
#include "tools/roomclip/sources.h"

namespace {

using namespace roomclip;

const char* const kUsage =
    "usage: roomclip make [--frames N] [--fps N] [--seed N] [--conditions A,B] [--script F]\n"
    "                     FOLDER\n"
    "       roomclip score FOLDER [MODE...]\n"
    "       roomclip sheet FOLDER\n"
    "       roomclip conditions\n"
    "options of every command: --opencv-doc DIR, --skimage-data DIR (where the photos are)\n"
    "make: 320x240 .y4m clips from real photographs, one a condition, with their .truth\n"
    "score: the game's readings FOLDER/CONDITION.MODE.readings against the truth, as a table\n"
    "sheet: FOLDER/hands.png and FOLDER/frames.png, to look at the hands and the frames\n";

struct Arguments {
    std::string command, folder;
    std::vector<std::string> rest;
    ClipSettings settings;
    std::vector<std::string> only;
    std::string scriptPath;
    std::vector<ScriptSegment> script;
};

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) out.push_back(item);
    return out;
}

bool number(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

// A whole number from `low` to `high` as the value of `option`; false with the reason.
bool optionNumber(const std::string& option, const char* text, int low, int high, int& out,
                  std::string& error) {
    if (number(text, low, high, out)) return true;
    error = "option '" + option + "' needs a whole number from " + std::to_string(low) + " to " +
            std::to_string(high) + ", not '" + text + "'";
    return false;
}

// False with the reason on a mistake; `help` set for --help.
bool parse(int argc, char** argv, Arguments& a, bool& help, std::string& error) {
    std::string openCv, skimage;
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        int seed = 0;
        bool ok = true;
        if (arg == "-h" || arg == "--help") {
            help = true;
            return true;
        } else if (arg == "--frames" && hasValue) {
            ok = optionNumber(arg, argv[++i], 1, 100000, a.settings.testFrames, error);
        } else if (arg == "--fps" && hasValue) {
            ok = optionNumber(arg, argv[++i], 1, 120, a.settings.fps, error);
        } else if (arg == "--seed" && hasValue) {
            ok = optionNumber(arg, argv[++i], 0, 1000000, seed, error);
            a.settings.seed = static_cast<unsigned>(seed);
        } else if (arg == "--script" && hasValue) {
            a.scriptPath = argv[++i];
        } else if (arg == "--conditions" && hasValue) {
            a.only = split(argv[++i]);
        } else if (arg == "--opencv-doc" && hasValue) {
            openCv = argv[++i];
        } else if (arg == "--skimage-data" && hasValue) {
            skimage = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option '" + arg + "', or it lacks its value";
            return false;
        } else if (a.command.empty()) {
            a.command = arg;
        } else if (a.folder.empty()) {
            a.folder = arg;
        } else {
            a.rest.push_back(arg);
        }
        if (!ok) return false;
    }
    setPhotoFolders(openCv, skimage);
    if (a.command.empty()) {
        error = "no command";
        return false;
    }
    if (a.command != "conditions" && a.folder.empty()) {
        error = "'" + a.command + "' needs a folder";
        return false;
    }
    return true;
}

bool chosen(const Arguments& a, const Condition& c) {
    if (a.only.empty()) return true;
    for (const std::string& name : a.only)
        if (name == c.name) return true;
    return false;
}

bool checkConditionNames(const Arguments& a, std::string& error) {
    for (const std::string& name : a.only) {
        bool known = false;
        for (const Condition& c : conditions()) known = known || c.name == name;
        if (!known) {
            error = "no condition '" + name + "' (roomclip conditions lists them)";
            return false;
        }
    }
    return true;
}

bool loadHands(std::vector<PlayerHand>& hands, std::string& error) {
    for (const HandNotes& notes : handNotes()) {
        hands.emplace_back();
        if (!loadPlayerHand(notes, hands.back(), error)) return false;
    }
    return true;
}

bool makeFolder(const std::string& folder, std::string& error) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) error = "cannot make the folder " + folder + ": " + failure.message();
    return !failure;
}

bool make(Arguments& a, std::string& error) {
    if (!checkConditionNames(a, error)) return false;
    if (!a.scriptPath.empty()) {
        if (!readScript(a.scriptPath, a.script, error)) return false;
        a.settings.script = &a.script;
    }
    std::vector<PlayerHand> hands;
    if (!makeFolder(a.folder, error) || !loadHands(hands, error)) return false;
    for (const Condition& c : conditions()) {
        if (!chosen(a, c)) continue;
        const PlayerHand* players[2] = {&hands[c.hands[0]], &hands[c.hands[1]]};
        const std::string stem = a.folder + "/" + c.name;
        if (!makeClip(c, players, a.settings, stem + ".y4m", stem + ".truth", error)) return false;
    }
    return true;
}

bool readText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

bool score(const Arguments& a, std::string& error) {
    const std::vector<std::string> modes =
        a.rest.empty() ? std::vector<std::string>{"room", "classic"} : a.rest;
    std::vector<TableRow> rows;
    TableRow total{"all", std::vector<Score>(modes.size())};
    for (const Condition& c : conditions()) {
        std::string truthText;
        if (!chosen(a, c) || !readText(a.folder + "/" + c.name + ".truth", truthText)) continue;
        std::vector<FrameReading> truth;
        if (!parseReadings(truthText, truth, error)) return false;
        TableRow row{c.name, {}};
        for (size_t m = 0; m < modes.size(); ++m) {
            const std::string path = a.folder + "/" + c.name + "." + modes[m] + ".readings";
            std::string text;
            std::vector<FrameReading> readings;
            Score s;
            if (!readText(path, text)) {
                error = "cannot read " + path;
                return false;
            }
            if (!parseReadings(text, readings, error) ||
                !scoreClip(truth, readings, calibrationFrames(truthText), s, error)) {
                error = path + ": " + error;
                return false;
            }
            total.modes[m].add(s);
            row.modes.push_back(s);
        }
        rows.push_back(row);
    }
    if (rows.empty()) {
        error = "no truth files in " + a.folder;
        return false;
    }
    rows.push_back(total);
    std::fputs(formatTable(modes, rows).c_str(), stdout);
    std::fputs(("\n" + formatShapes(modes, total.modes)).c_str(), stdout);
    return true;
}

bool sheets(const Arguments& a, std::string& error) {
    Image hands;
    if (!makeFolder(a.folder, error) || !handSheet(hands, error) ||
        !savePng(a.folder + "/hands.png", hands, error))
        return false;
    std::vector<PlayerHand> players;
    if (!loadHands(players, error)) return false;
    std::vector<Image> frames;
    ClipSettings settings = a.settings;
    for (const Condition& c : conditions()) {
        const PlayerHand* pair[2] = {&players[c.hands[0]], &players[c.hands[1]]};
        for (int frame : {0, 2 * settings.fps - 1, 2 * settings.fps + 4, 2 * settings.fps + 13,
                          2 * settings.fps + 25}) {
            frames.emplace_back();
            if (!previewFrame(c, pair, settings, frame, frames.back(), error)) return false;
        }
    }
    return savePng(a.folder + "/frames.png", tile(frames, 5), error);
}

}  // namespace

int main(int argc, char** argv) {
    Arguments a;
    bool help = false;
    std::string error;
    if (!parse(argc, argv, a, help, error)) {
        std::fprintf(stderr, "roomclip: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    bool ok = true;
    if (a.command == "make") {
        ok = make(a, error);
    } else if (a.command == "score") {
        ok = score(a, error);
    } else if (a.command == "sheet") {
        ok = sheets(a, error);
    } else if (a.command == "conditions") {
        for (const Condition& c : conditions())
            std::printf("%-10s %s\n", c.name.c_str(), c.description.c_str());
    } else {
        std::fprintf(stderr, "roomclip: no command '%s'\n%s", a.command.c_str(), kUsage);
        return 2;
    }
    if (!ok) {
        std::fprintf(stderr, "roomclip: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

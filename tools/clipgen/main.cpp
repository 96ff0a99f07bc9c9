// clipgen: makes synthetic 320 x 240 camera clips (YUV4MPEG2) of two players' hand signs.
//
//   clipgen SCRIPT OUT.y4m
//
// The script is plain text, one statement a line; '#' starts a comment. Settings come first:
//
//   fps 15            frames a second, 1 to 120 (default 15)
//   colour 420jpeg    420jpeg (default) or 444
//   seed 1            seed of the background and skin noise (default 1)
//
// then segments, each a number of frames and the two players' hands:
//
//   FRAMES  <player 1 hand>  |  <player 2 hand>
//
// Player 1 owns the right half of the picture, player 2 the left half. A hand is
//
//   none                      nothing in that half
//   SHAPE X,Y                 SHAPE held still, centred at X,Y
//   SHAPE X,Y -> X2,Y2        SHAPE moving in a straight line over the segment's frames
//
// with SHAPE rock (a compact blob), paper (a tall bar) or scissors (a V of two fingers).
// X counts from the left edge of the player's own half (0..159, 80 is its middle), Y from
// the top (0..239); whole numbers from -200 to 400, a hand being cut at its half's edges, so
// it can walk in from outside. Example: two players face each other, then player 1 walks
// towards the middle of the picture showing scissors:
//
//   fps 15
//   30  rock 80,120  |  paper 80,120
//   45  scissors 80,120 -> 30,120  |  paper 80,120
//
// Frames are drawn on a dark, slightly noisy background (deterministic: the same script
// always gives the same clip) with hands much brighter than it, and sized so a mean-threshold
// mask reads each shape as its sign. A segment where the hands cover too little of the
// picture for the mask to ignore the background noise (both halves empty, or only a hand cut
// to a sliver) is reported on stderr, as a warning.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/clipgen/render.h"
#include "tools/clipgen/script.h"

namespace {

const char* const kUsage =
    "usage: clipgen SCRIPT OUT.y4m\n"
    "Makes a 320x240 YUV4MPEG2 clip of two players' hand signs from SCRIPT:\n"
    "  fps N                        frames a second, 1..120 (default 15)\n"
    "  colour 420jpeg|444           chroma layout (default 420jpeg)\n"
    "  seed N                       noise seed (default 1)\n"
    "  FRAMES HAND | HAND           a segment: player 1 (right half) | player 2 (left half)\n"
    "HAND is 'none', 'SHAPE X,Y' or 'SHAPE X,Y -> X2,Y2' (moving over the segment);\n"
    "SHAPE is rock, paper or scissors; X from the left edge of the player's half (0..159),\n"
    "Y from the top (0..239). '#' starts a comment.\n";

// Far more than the longest sensible script; a bound so that a device such as /dev/zero
// given by mistake is refused instead of filling the memory.
constexpr size_t kMaxScriptBytes = 16u << 20;

// Through stdio rather than a stream so that a read error (a directory, a failing disk) is
// reported as such instead of looking like an empty script.
bool readText(const std::string& path, std::string& text, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read the script " + path + ": " + std::strerror(errno);
        return false;
    }
    char buffer[4096];
    size_t n;
    while (text.size() <= kMaxScriptBytes && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int err = errno;
    std::fclose(file);
    if (failed) {
        error = "cannot read the script " + path + ": " + std::strerror(err);
        return false;
    }
    if (text.size() > kMaxScriptBytes) {
        error = "the script " + path + " is larger than " + std::to_string(kMaxScriptBytes >> 20) +
                " MB";
        return false;
    }
    return true;
}

bool writeClip(const clipgen::Script& script, const std::string& scriptName, const std::string& out,
               std::string& error) {
    clipgen::Y4mWriter writer;
    if (!writer.open(out, script.fps, script.chroma444, error)) return false;
    clipgen::Picture picture;
    long frame = 0;
    for (const clipgen::Segment& segment : script.segments) {
        bool warned = false;
        for (int step = 0; step < segment.frames; ++step, ++frame) {
            clipgen::drawFrame(segment, step, frame, script.seed, picture);
            if (!warned && !clipgen::handsStandOut(picture)) {
                std::fprintf(stderr,
                             "%s:%d: warning: from frame %ld the hands cover too little of the "
                             "picture: the mask will pick up background noise\n",
                             scriptName.c_str(), segment.line, frame + 1);
                warned = true;
            }
            if (!writer.write(picture)) {
                error = "cannot write " + out + " (disk full?)";
                return false;
            }
        }
    }
    return writer.close(error);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help") ? 0
                                                                                               : 1;
    }
    std::string text, error;
    clipgen::Script script;
    if (!readText(argv[1], text, error) || !clipgen::parseScript(text, argv[1], script, error) ||
        !writeClip(script, argv[1], argv[2], error)) {
        std::fprintf(stderr, "clipgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

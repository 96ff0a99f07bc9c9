#pragma once
// Keyframe files: a strict subset of Wavefront OBJ ("v", "vt", "vn", triangle records "f a/b/c",
// closed by "g"). A pose read from one is a Model.
#include <fstream>
#include <string>
#include <vector>

// One keyframe pose: exactly four lists, in this order, each a list of entries of doubles.
//   [VERTICES]  x, y, z per "v" record
//   [COLORS]    u, v per "vt" record (carried along, never drawn)
//   [NORMALS]   x, y, z per "vn" record (not normalised)
//   [POLYGONS]  9 numbers per triangle: vertex, texture-coordinate and normal number of each
//               corner in turn, 1-based, stored exactly as written
typedef std::vector<std::vector<std::vector<double>>> Model;

enum ModelList { VERTICES = 0, COLORS = 1, NORMALS = 2, POLYGONS = 3 };

class FileReader {
public:
    explicit FileReader(const char* fileName);
    ~FileReader();

    // Closes the current file and opens the named one; reading restarts at its beginning.
    void changeFile(const char* fileName);

    // The next whitespace-delimited token; empty when nothing is left or the file is unreadable.
    std::string nextWord();
    // The next number (classic locale); 0 when what stands there is not a number.
    double nextNumber();

    // The four list readers share the read position: each relies on its predecessor having
    // consumed the keyword of its first record, so they are only meaningful in getAll's order.
    std::vector<std::vector<double>> getVertices();
    std::vector<std::vector<double>> getColors();
    std::vector<std::vector<double>> getNormals();
    std::vector<std::vector<double>> getPolygons();
    Model getAll();

    // True while nothing has gone wrong: the file opened and no read has met the end of the
    // file or a token that is not a number. After getAll it tells whether the "g" end mark was
    // reached, i.e. whether the whole pose was read.
    bool good() const;

private:
    std::ifstream file;

    bool appendEntry(std::vector<std::vector<double>>& list, std::size_t entryLength);
    std::vector<std::vector<double>> readRecords(std::size_t entryLength, const char* keyword);
    std::vector<double> readTriangle();
    char nextChar();
};

#include "animation/filreader.h"

#include <locale>
#include <utility>

FileReader::FileReader(const char* fileName) { changeFile(fileName); }

FileReader::~FileReader() { file.close(); }

void FileReader::changeFile(const char* fileName) {
    file.close();
    file.clear();  // a failed read of the previous file must not poison the next one
    file.imbue(std::locale::classic());
    file.open(fileName, std::ios::in);
}

bool FileReader::good() const { return file.is_open() && !file.fail(); }

std::string FileReader::nextWord() {
    std::string word;
    file >> word;  // leaves word empty on end of file or on an unopened file
    return word;
}

double FileReader::nextNumber() {
    double value = 0.0;
    file >> value;
    // A failed extraction may store 0 or +-HUGE_VAL; neither is data, so report a plain 0.
    return file.fail() ? 0.0 : value;
}

char FileReader::nextChar() {
    char c = '\0';
    file >> c;  // skips whitespace first
    return file.fail() ? '\0' : c;
}

// Reads entryLength numbers as one entry; a truncated record is not an entry.
bool FileReader::appendEntry(std::vector<std::vector<double>>& list, std::size_t entryLength) {
    std::vector<double> entry(entryLength);
    for (double& value : entry) value = nextNumber();
    if (file.fail()) return false;
    list.push_back(std::move(entry));
    return true;
}

// The first record's keyword has already been consumed by the previous list; every further
// record must start with keyword. The token that ends the list is dropped.
std::vector<std::vector<double>> FileReader::readRecords(std::size_t entryLength,
                                                         const char* keyword) {
    std::vector<std::vector<double>> list;
    while (appendEntry(list, entryLength) && nextWord() == keyword) {
    }
    return list;
}

std::vector<std::vector<double>> FileReader::getVertices() {
    std::vector<std::vector<double>> list;
    while (nextWord() == "v" && appendEntry(list, 3)) {
    }
    return list;
}

std::vector<std::vector<double>> FileReader::getColors() { return readRecords(2, "vt"); }

std::vector<std::vector<double>> FileReader::getNormals() { return readRecords(3, "vn"); }

// One triangle: three corners of three numbers, the first two of each followed by a
// separator character that is read but not compared.
std::vector<double> FileReader::readTriangle() {
    std::vector<double> entry(9);
    for (int k = 0; k < 3; ++k) {
        entry[3 * k] = nextNumber();
        nextChar();
        entry[3 * k + 1] = nextNumber();
        nextChar();
        entry[3 * k + 2] = nextNumber();
    }
    return entry;
}

std::vector<std::vector<double>> FileReader::getPolygons() {
    std::vector<std::vector<double>> list;
    // Only "g" ends the list in a sound file; a failed read ends it too, so a truncated or
    // garbled file can never keep us here.
    do {
        std::vector<double> entry = readTriangle();
        if (file.fail()) break;
        list.push_back(entry);
    } while (nextChar() != 'g' && !file.fail());
    return list;
}

Model FileReader::getAll() {
    Model model;
    model.push_back(getVertices());
    model.push_back(getColors());
    model.push_back(getNormals());
    model.push_back(getPolygons());
    return model;
}

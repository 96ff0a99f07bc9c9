#include "tests/animation/model_files.h"

const char* const KEYFRAME_FILES[18] = {
    "Punch00.txt",     "Punch01.txt",     "Punch02.txt",     "Punch03.txt",     "Punch04.txt",
    "HeadPunch01.txt", "HeadPunch02.txt", "HeadPunch03.txt", "HeadPunch04.txt", "HeadPunch05.txt",
    "ComboPrep01.txt", "ComboPrep02.txt", "Banana01.txt",    "Banana02.txt",    "Banana03.txt",
    "Ayuken01.txt",    "Ayuken02.txt",    "Ayuken03.txt"};

Model readModel(const std::string& path) {
    FileReader reader(path.c_str());
    return reader.getAll();
}

// The process entry point: Windows starts the game at WinMain, so does this.
#include "platform/win32.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}

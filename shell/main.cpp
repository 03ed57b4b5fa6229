#include <windows.h>

#include "engine/engine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (!wkeIsInitialize()) wkeInitialize();
    return 0;
}

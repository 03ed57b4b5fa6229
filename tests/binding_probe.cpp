// A child process of the binding tests. It prints what it observes, one fact a line:
//   lookups <n>        functions looked up with GetProcAddress so far
//   initialized <0|1>  what wkeIsInitialize answered
//   engine <path>      the file node.dll was loaded from
// Modes: "first-call" binds wkeIsInitialize and calls it twice; "wake" calls wkeIsInitialize and
// then wkeWake, which one build of the stand-in engine lacks.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "engine/binding.h"
#include "engine/engine.h"

namespace {

void PrintLookups() { std::printf("lookups %u\n", static_cast<unsigned>(engine::LookupCount())); }

void PrintEnginePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA(engine::kEngineLibrary), path, MAX_PATH);
    std::printf("engine %s\n", path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "first-call") == 0) {
        PrintLookups();
        std::printf("initialized %d\n", wkeIsInitialize() ? 1 : 0);
        PrintLookups();
        wkeInitialize();
        std::printf("initialized %d\n", wkeIsInitialize() ? 1 : 0);
        PrintLookups();
        PrintEnginePath();
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "wake") == 0) {
        std::printf("initialized %d\n", wkeIsInitialize() ? 1 : 0);
        std::fflush(stdout);
        wkeWake(nullptr);
        std::printf("returned\n");
        return 0;
    }
    std::printf("usage: binding_probe first-call | wake\n");
    return 2;
}

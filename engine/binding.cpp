#include "engine/binding.h"

#include <cstdio>
#include <cstring>

namespace engine {
namespace {

constexpr UINT kFatalExitCode = static_cast<UINT>(-1);

struct LoadedLibrary {
    char name[MAX_PATH];
    HMODULE module;
};

// A handful of libraries at most: node.dll and a few system ones.
constexpr std::size_t kMaxLibraries = 16;
LoadedLibrary g_libraries[kMaxLibraries];
std::size_t g_libraryCount = 0;
std::size_t g_lookupCount = 0;

enum class Missing { Library, Function };

[[noreturn]] void FailBinding(Missing what, const char* library, const char* function) {
    char text[2 * MAX_PATH + 128];
    if (what == Missing::Library)
        std::snprintf(text, sizeof text, "The library %s could not be loaded, so %s is not available.", library,
                      function);
    else
        std::snprintf(text, sizeof text, "The function %s could not be found in %s.", function, library);
    MessageBoxA(nullptr, text, "Quillora", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(kFatalExitCode);
}

HMODULE LoadBesideProgram(const char* library) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return nullptr;
    const std::size_t directoryLength = static_cast<std::size_t>(slash - path) + 1;
    if (directoryLength + std::strlen(library) >= MAX_PATH) return nullptr;
    std::strcpy(path + directoryLength, library);
    return LoadLibraryA(path);
}

HMODULE LoadFromSystem(const char* library) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + std::strlen(library) >= MAX_PATH) return nullptr;
    path[length] = '\\';
    std::strcpy(path + length + 1, library);
    return LoadLibraryA(path);
}

HMODULE Library(const char* library, const char* function, SearchOrder order) {
    for (std::size_t i = 0; i < g_libraryCount; ++i)
        if (lstrcmpiA(g_libraries[i].name, library) == 0) return g_libraries[i].module;

    HMODULE module = nullptr;
    if (order == SearchOrder::BesideProgramFirst) {
        module = LoadBesideProgram(library);
        if (!module) module = LoadLibraryA(library);
    } else {
        module = LoadFromSystem(library);
    }
    if (!module || g_libraryCount == kMaxLibraries || std::strlen(library) >= MAX_PATH)
        FailBinding(Missing::Library, library, function);

    LoadedLibrary& entry = g_libraries[g_libraryCount++];
    std::strcpy(entry.name, library);
    entry.module = module;
    return module;
}

}  // namespace

FARPROC BindByName(const char* library, const char* function, SearchOrder order) {
    HMODULE module = Library(library, function, order);
    ++g_lookupCount;
    FARPROC address = GetProcAddress(module, function);
    if (!address) FailBinding(Missing::Function, library, function);
    return address;
}

std::size_t LookupCount() { return g_lookupCount; }

void FreeBoundLibraries() {
    while (g_libraryCount > 0) FreeLibrary(g_libraries[--g_libraryCount].module);
}

}  // namespace engine

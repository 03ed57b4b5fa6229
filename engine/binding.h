// Binding library functions by name at their first call.
#pragma once

#include <windows.h>

#include <cstddef>

namespace engine {

enum class SearchOrder {
    BesideProgramFirst,  // the program's own directory, then the system's search (node.dll)
    SystemOnly,          // the system directory only, so no copy beside the program is picked up
};

// The address of `function` in `library`, loading the library on first use. A library or function
// that cannot be found is fatal: a modal error box names both and the process exits with -1.
FARPROC BindByName(const char* library, const char* function, SearchOrder order);

// How many functions have been looked up with GetProcAddress so far.
std::size_t LookupCount();

// Frees every library that BindByName loaded; used by the exit teardown.
void FreeBoundLibraries();

// A function bound on its first call and kept from then on.
template <typename Fn>
Fn Bound(Fn& slot, const char* library, const char* function, SearchOrder order = SearchOrder::BesideProgramFirst) {
    if (!slot) slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(BindByName(library, function, order)));
    return slot;
}

}  // namespace engine

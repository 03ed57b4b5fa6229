#include "tests/gdi_count.h"

#include <cstdint>
#include <vector>

long CountGdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return static_cast<long>(reported);
    // Wine answers 0 here. Its handles hold their table index in the low word and the slot's
    // generation in the high byte, 1 for a slot never used before; a new object takes a freed
    // slot before a fresh one. So probes allocated until one lands on a fresh slot have used up
    // every free slot: the fresh index less the other probes is the number of objects in use
    // (plus a constant).
    static long lastFresh = 0;
    std::vector<HBRUSH> probes;
    long fresh = -1;
    while (fresh < 0) {
        HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
        if (!probe) break;
        probes.push_back(probe);
        const std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(probe);
        const long index = LOWORD(handle);
        if (HIBYTE(HIWORD(handle)) == 1 && index > lastFresh) fresh = index;
    }
    for (HBRUSH probe : probes) DeleteObject(probe);
    lastFresh = fresh;
    return fresh - static_cast<long>(probes.size() - 1);
}

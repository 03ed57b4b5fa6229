// libFuzzer target for the ICO parser, built natively with the address and undefined-behaviour
// sanitizers: whatever the bytes, it reads only inside them and reports only images inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "shell/ico.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
    for (bool prefer32 : {false, true}) {
        ico::Image image{};
        if (!ico::FindImage(bytes, length, prefer32, &image)) continue;
        if (image.offset > length || image.size > length - image.offset || image.size < 40 || image.width <= 0 ||
            image.height <= 0)
            std::abort();
    }
    return 0;
}

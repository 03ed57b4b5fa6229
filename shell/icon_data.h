// The program's clock icon: the bytes of an ICO file stored with the program.
#pragma once

#include <cstddef>
#include <cstdint>

namespace shell {

struct IconData {
    const std::uint8_t* bytes;
    std::size_t length;
};

// Empty when the program carries no icon data.
IconData ProgramIconData();

}  // namespace shell

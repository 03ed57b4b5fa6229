// Finding an image in the bytes of an ICO file. Plain C++, so that it also builds and is fuzzed
// natively; every read is checked against the length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ico {

struct Image {
    std::size_t offset;  // of the image's bytes in the file
    std::size_t size;
    std::int32_t width;   // from the image's BITMAPINFOHEADER
    std::int32_t height;  // of the icon: half the header's height, which includes the mask
    std::uint16_t bitCount;
};

// The entry to use: the first whose colour count is over 15 and whose width is 16 (prefer32
// false) or 32 (prefer32 true), otherwise the last. False when the bytes hold no usable image.
bool FindImage(const std::uint8_t* bytes, std::size_t length, bool prefer32, Image* image);

}  // namespace ico

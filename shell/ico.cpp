#include "shell/ico.h"

namespace ico {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;

std::uint16_t Word(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

std::uint32_t DoubleWord(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

}  // namespace

bool FindImage(const std::uint8_t* bytes, std::size_t length, bool prefer32, Image* image) {
    if (!bytes || !image || length < kHeaderSize) return false;
    const std::uint16_t reserved = Word(bytes);
    const std::uint16_t type = Word(bytes + 2);
    const std::uint16_t count = Word(bytes + 4);
    if (reserved != 0 || (type != kTypeIcon && type != kTypeCursor) || count == 0) return false;
    if (count > (length - kHeaderSize) / kEntrySize) return false;

    const std::uint8_t wantedWidth = prefer32 ? 32 : 16;
    const std::uint8_t* chosen = bytes + kHeaderSize + (count - 1) * kEntrySize;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes + kHeaderSize + i * kEntrySize;
        if (entry[2] > 15 && entry[0] == wantedWidth) {
            chosen = entry;
            break;
        }
    }

    const std::uint32_t size = DoubleWord(chosen + 8);
    const std::uint32_t offset = DoubleWord(chosen + 12);
    if (offset > length || size > length - offset || size < kInfoHeaderSize) return false;
    const std::uint8_t* info = bytes + offset;
    if (DoubleWord(info) < kInfoHeaderSize) return false;  // a PNG image or no bitmap header at all
    const auto width = static_cast<std::int32_t>(DoubleWord(info + 4));
    const auto doubledHeight = static_cast<std::int32_t>(DoubleWord(info + 8));
    if (width <= 0 || doubledHeight <= 0 || doubledHeight % 2 != 0) return false;

    image->offset = offset;
    image->size = size;
    image->width = width;
    image->height = doubledHeight / 2;
    image->bitCount = Word(info + 14);
    return true;
}

}  // namespace ico

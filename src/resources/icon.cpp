#include "resources/icon.h"

#include <cstddef>

namespace tessaryn::icon {
namespace {

std::uint32_t read_le(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

}  // namespace

std::vector<std::uint8_t> decode_ico(std::span<const std::uint8_t> file) {
    constexpr std::size_t kSide = IconImage::kSide;
    constexpr std::size_t kDirectorySize = 6 + 16;
    constexpr std::size_t kHeaderSize = 40;
    constexpr std::size_t kPixelBytes = kSide * kSide * 4;
    if (file.size() < kDirectorySize) return {};
    if (read_le(file, 0, 2) != 0 || read_le(file, 2, 2) != 1 || read_le(file, 4, 2) != 1) return {};
    const std::size_t image_size = read_le(file, 6 + 8, 4);
    const std::size_t image_offset = read_le(file, 6 + 12, 4);
    if (image_offset > file.size() || image_size > file.size() - image_offset) return {};
    if (image_size < kHeaderSize + kPixelBytes) return {};
    const auto image = file.subspan(image_offset, image_size);
    const bool expected_form = read_le(image, 0, 4) == kHeaderSize && read_le(image, 4, 4) == kSide &&
                               read_le(image, 8, 4) == 2 * kSide && read_le(image, 14, 2) == 32 &&
                               read_le(image, 16, 4) == 0;
    if (!expected_form) return {};

    std::vector<std::uint8_t> rgba(kPixelBytes);
    for (std::size_t row = 0; row < kSide; ++row) {
        const auto* source = image.data() + kHeaderSize + (kSide - 1 - row) * kSide * 4;  // bottom-up
        auto* target = rgba.data() + row * kSide * 4;
        for (std::size_t x = 0; x < kSide; ++x, source += 4, target += 4) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = source[3];
        }
    }
    return rgba;
}

IconImage window_icon() {
    static const std::vector<std::uint8_t> pixels = decode_ico(ico_file());
    return IconImage{pixels};
}

}  // namespace tessaryn::icon

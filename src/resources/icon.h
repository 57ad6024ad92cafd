// The program's one icon picture: the window's title bar and taskbar icon, and on Windows
// also the program file's own icon.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/desktop.h"

namespace tessaryn::icon {

// The icon file as it is built into the program (one 64 x 64, 32-bit image).
std::span<const std::uint8_t> ico_file();

// The image of an icon file with exactly one 64 x 64, 32-bit image, as RGBA rows top to
// bottom; empty when the file is not of that form.
std::vector<std::uint8_t> decode_ico(std::span<const std::uint8_t> file);

// The program's icon, decoded once.
IconImage window_icon();

}  // namespace tessaryn::icon

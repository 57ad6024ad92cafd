// How the two captions paint themselves: an optional gradient frame, the background and one
// line of text, against any desktop's canvas.
#pragma once

#include <cstdint>
#include <span>

#include "app/design.h"

namespace tessaryn {

// The colour at `position` of a gradient band `length` pixels long through `stops` (two or more).
Rgb gradient_colour(std::span<const Rgb> stops, std::int32_t position, std::int32_t length);

// The four bands of a gradient frame inside a `size` rectangle at the origin, meeting on the
// corner diagonals.
void draw_gradient_frame(Canvas& canvas, const GradientFrame& frame, Size size, const Rect& clip);

// Paints the `dirty` part of a label of `size`; `button_face` is the desktop's colour now.
void paint_label(Canvas& canvas, const LabelDesign& label, Size size, const Rect& dirty, Rgb button_face);

}  // namespace tessaryn

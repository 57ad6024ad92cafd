#include "panel/label_painting.h"

#include <algorithm>

namespace tessaryn {
namespace {

std::uint8_t blend(std::uint8_t from, std::uint8_t to, std::int32_t numerator, std::int32_t denominator) {
    // Integer division truncates toward zero, as the gradient's arithmetic wants.
    return static_cast<std::uint8_t>(from + numerator * (to - from) / denominator);
}

}  // namespace

Rgb gradient_colour(std::span<const Rgb> stops, std::int32_t position, std::int32_t length) {
    const auto n = static_cast<std::int32_t>(stops.size());
    const std::int32_t step = length / (n - 1);
    if (step == 0) return stops.front();
    const std::int32_t index = position / step;
    if (index > n - 2) return stops.back();
    const std::int32_t offset = position % step;
    const Rgb& from = stops[static_cast<std::size_t>(index)];
    const Rgb& to = stops[static_cast<std::size_t>(index) + 1];
    return {blend(from.r, to.r, offset, step), blend(from.g, to.g, offset, step), blend(from.b, to.b, offset, step)};
}

void draw_gradient_frame(Canvas& canvas, const GradientFrame& frame, Size size, const Rect& clip) {
    const std::int32_t w = size.width;
    const std::int32_t h = size.height;
    const std::int32_t e = std::min(frame.width, h / 2);
    const std::int32_t d = std::min(frame.width, w / 2);

    for (std::int32_t row = 0; row < e; ++row) {
        canvas.fill_rect({0, row, w, 1}, gradient_colour(frame.stops, row, e), clip);
    }
    for (std::int32_t row = 0; row < e; ++row) {
        canvas.fill_rect({0, h - e + row, w, 1}, gradient_colour(frame.stops, row, e), clip);
    }
    const std::array<Point, 4> left_band{Point{0, 0}, Point{0, h}, Point{d, h - e}, Point{d, e}};
    for (std::int32_t column = 0; column < d; ++column) {
        canvas.fill_rect_in_quad({column, 0, 1, h}, gradient_colour(frame.stops, column, d), clip, left_band);
    }
    const std::array<Point, 4> right_band{Point{w - d, e}, Point{w - d, h - e}, Point{w, h}, Point{w, 0}};
    for (std::int32_t column = 0; column < d; ++column) {
        canvas.fill_rect_in_quad({w - d + column, 0, 1, h}, gradient_colour(frame.stops, column, d), clip,
                                 right_band);
    }
}

void paint_label(Canvas& canvas, const LabelDesign& label, Size size, const Rect& dirty, Rgb button_face) {
    if (dirty.empty()) return;
    Rect inner{0, 0, size.width, size.height};
    if (label.frame) {
        draw_gradient_frame(canvas, *label.frame, size, dirty);
        const std::int32_t w = label.frame->width;
        inner = {w, w, size.width - 2 * w, size.height - 2 * w};
    }
    const Rect area = intersect(inner, dirty);
    if (area.empty()) return;

    const Rgb background = label.background == LabelBackground::black ? Rgb{0, 0, 0} : button_face;
    canvas.fill_rect(area, background, area);

    const std::int32_t line_height = canvas.line_height(label.font);
    const Point origin{inner.left, inner.top + (inner.height - line_height) / 2};
    canvas.draw_text(origin, label.text, label.font, label.text_colour, area);
}

}  // namespace tessaryn

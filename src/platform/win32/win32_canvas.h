// Painting the self-painted controls with GDI.
#pragma once

#include <windows.h>

#include "platform/desktop.h"

namespace tessaryn::win32 {

// A font of the design; null when GDI cannot make it. The caller deletes it.
HFONT create_design_font(const FontDesign& font);

// The canvas of one WM_PAINT of a painted area, drawing on its paint DC.
class GdiCanvas final : public Canvas {
public:
    explicit GdiCanvas(HDC dc) : dc_(dc) {}

    void fill_rect(const Rect& area, Rgb colour, const Rect& clip) override;
    void fill_rect_in_quad(const Rect& area, Rgb colour, const Rect& clip,
                           const std::array<Point, 4>& corners) override;
    std::int32_t line_height(const std::optional<FontDesign>& font) override;
    void draw_text(Point top_left, std::string_view text, const std::optional<FontDesign>& font, Rgb colour,
                   const Rect& clip) override;

private:
    HDC dc_;
};

}  // namespace tessaryn::win32

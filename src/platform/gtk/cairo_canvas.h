#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tessaryn::gtk {

// The faces tried for a design font: its own, then the face the machine has for Chinese text.
std::vector<std::string> font_families(const FontDesign& font);

// A design font for Pango, at its character height in pixels.
PangoFontDescription* font_description(const FontDesign& font);

// A Canvas over a cairo context whose origin is the painted area's top-left corner.
class CairoCanvas final : public Canvas {
public:
    // `default_font` is the desktop's default interface font; not owned.
    CairoCanvas(cairo_t* cr, PangoContext* pango, const PangoFontDescription* default_font);

    void fill_rect(const Rect& area, Rgb colour, const Rect& clip) override;
    void fill_rect_in_quad(const Rect& area, Rgb colour, const Rect& clip,
                           const std::array<Point, 4>& corners) override;
    std::int32_t line_height(const std::optional<FontDesign>& font) override;
    void draw_text(Point top_left, std::string_view text, const std::optional<FontDesign>& font, Rgb colour,
                   const Rect& clip) override;

private:
    PangoLayout* make_layout(std::string_view text, const std::optional<FontDesign>& font);

    cairo_t* cr_;
    PangoContext* pango_;
    const PangoFontDescription* default_font_;
};

}  // namespace tessaryn::gtk

#include "platform/gtk/cairo_canvas.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <string>

#include "platform/gtk/gbk.h"

namespace tessaryn::gtk {
namespace {

// The face fontconfig picks for Simplified Chinese sans-serif text, so that a missing design
// face falls back to one that has the glyphs rather than to a Latin face.
const std::string& cjk_family() {
    static const std::string family = [] {
        std::string name = "sans-serif";
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn"));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8* found = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch) {
                name = reinterpret_cast<const char*>(found);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return name;
    }();
    return family;
}

void set_colour(cairo_t* cr, Rgb colour) { cairo_set_source_rgb(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0); }

void clip_to(cairo_t* cr, const Rect& clip) {
    cairo_rectangle(cr, clip.left, clip.top, clip.width, clip.height);
    cairo_clip(cr);
}

}  // namespace

std::vector<std::string> font_families(const FontDesign& font) { return {gbk_to_utf8(font.face), cjk_family()}; }

PangoFontDescription* font_description(const FontDesign& font) {
    PangoFontDescription* description = pango_font_description_new();
    std::string families;
    for (const auto& family : font_families(font)) families += (families.empty() ? "" : ",") + family;
    pango_font_description_set_family(description, families.c_str());
    pango_font_description_set_absolute_size(description, font.char_height * PANGO_SCALE);
    pango_font_description_set_weight(description, static_cast<PangoWeight>(font.weight));
    pango_font_description_set_style(description, PANGO_STYLE_NORMAL);
    return description;
}

CairoCanvas::CairoCanvas(cairo_t* cr, PangoContext* pango, const PangoFontDescription* default_font)
    : cr_(cr), pango_(pango), default_font_(default_font) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
}

void CairoCanvas::fill_rect(const Rect& area, Rgb colour, const Rect& clip) {
    cairo_save(cr_);
    clip_to(cr_, clip);
    cairo_rectangle(cr_, area.left, area.top, area.width, area.height);
    set_colour(cr_, colour);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::fill_rect_in_quad(const Rect& area, Rgb colour, const Rect& clip,
                                    const std::array<Point, 4>& corners) {
    cairo_save(cr_);
    clip_to(cr_, clip);
    cairo_move_to(cr_, corners[0].x, corners[0].y);
    for (std::size_t i = 1; i < corners.size(); ++i) cairo_line_to(cr_, corners[i].x, corners[i].y);
    cairo_close_path(cr_);
    cairo_clip(cr_);
    cairo_rectangle(cr_, area.left, area.top, area.width, area.height);
    set_colour(cr_, colour);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

PangoLayout* CairoCanvas::make_layout(std::string_view text, const std::optional<FontDesign>& font) {
    PangoLayout* layout = pango_layout_new(pango_);
    PangoFontDescription* own = font ? font_description(*font) : nullptr;
    pango_layout_set_font_description(layout, own != nullptr ? own : default_font_);
    if (own != nullptr) pango_font_description_free(own);
    const std::string utf8 = gbk_to_utf8(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    return layout;
}

std::int32_t CairoCanvas::line_height(const std::optional<FontDesign>& font) {
    PangoLayout* layout = make_layout("Ag", font);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return height;
}

void CairoCanvas::draw_text(Point top_left, std::string_view text, const std::optional<FontDesign>& font, Rgb colour,
                            const Rect& clip) {
    PangoLayout* layout = make_layout(text, font);
    cairo_save(cr_);
    clip_to(cr_, clip);
    set_colour(cr_, colour);
    cairo_move_to(cr_, top_left.x, top_left.y);
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    g_object_unref(layout);
}

}  // namespace tessaryn::gtk

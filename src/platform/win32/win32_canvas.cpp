#include "platform/win32/win32_canvas.h"

#include <string>

#include "platform/win32/text.h"

namespace tessaryn::win32 {
namespace {

RECT to_rect(const Rect& rect) { return {rect.left, rect.top, rect.right(), rect.bottom()}; }

COLORREF to_colorref(Rgb colour) { return RGB(colour.r, colour.g, colour.b); }

void fill(HDC dc, const Rect& area, Rgb colour) {
    const RECT rect = to_rect(area);
    const HBRUSH brush = CreateSolidBrush(to_colorref(colour));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The font a text is drawn in for the time of one drawing: the design's own font, made now and
// deleted afterwards, or the default interface font.
class SelectedFont {
public:
    SelectedFont(HDC dc, const std::optional<FontDesign>& design)
        : dc_(dc), own_(design ? create_design_font(*design) : nullptr) {
        const HGDIOBJ font = own_ ? static_cast<HGDIOBJ>(own_) : GetStockObject(DEFAULT_GUI_FONT);
        previous_ = SelectObject(dc_, font);
    }
    ~SelectedFont() {
        SelectObject(dc_, previous_);
        if (own_) DeleteObject(own_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HFONT own_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace

HFONT create_design_font(const FontDesign& font) {
    const std::wstring face = from_gbk(font.face);
    // A negative height asks for the character height, internal leading excluded.
    return CreateFontW(-font.char_height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face.c_str());
}

void GdiCanvas::fill_rect(const Rect& area, Rgb colour, const Rect& clip) {
    const Rect visible = intersect(area, clip);
    if (!visible.empty()) fill(dc_, visible, colour);
}

void GdiCanvas::fill_rect_in_quad(const Rect& area, Rgb colour, const Rect& clip,
                                  const std::array<Point, 4>& corners) {
    const Rect visible = intersect(area, clip);
    if (visible.empty()) return;
    POINT points[4];
    for (std::size_t i = 0; i < corners.size(); ++i) points[i] = {corners[i].x, corners[i].y};
    const HRGN quad = CreatePolygonRgn(points, 4, WINDING);
    if (!quad) return;
    const int saved = SaveDC(dc_);
    SelectClipRgn(dc_, quad);
    fill(dc_, visible, colour);
    RestoreDC(dc_, saved);
    DeleteObject(quad);
}

std::int32_t GdiCanvas::line_height(const std::optional<FontDesign>& font) {
    const SelectedFont selected(dc_, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    return metrics.tmHeight;
}

void GdiCanvas::draw_text(Point top_left, std::string_view text, const std::optional<FontDesign>& font,
                          Rgb colour, const Rect& clip) {
    if (clip.empty()) return;
    const std::wstring wide = from_gbk(text);
    const SelectedFont selected(dc_, font);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, to_colorref(colour));
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const RECT clip_rect = to_rect(clip);
    ExtTextOutW(dc_, top_left.x, top_left.y, ETO_CLIPPED, &clip_rect, wide.c_str(),
                static_cast<UINT>(wide.size()), nullptr);
}

}  // namespace tessaryn::win32

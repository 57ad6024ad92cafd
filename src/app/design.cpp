#include "app/design.h"

#include "panel/click_handlers.h"
#include "promo/promo_timer.h"
#include "resources/sites.h"
#include "resources/texts.h"

namespace tessaryn {
namespace {

constexpr std::int32_t kButtonCharHeight = 12;
constexpr std::int32_t kCaptionCharHeight = 16;
constexpr std::int32_t kNormal = 400;
constexpr std::int32_t kBold = 700;

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr std::array<Rgb, 3> kFooterFrameStops{kGrey, kWhite, kGrey};

CommonSettings placed(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                      bool tab_stop) {
    CommonSettings common;
    common.left = left;
    common.top = top;
    common.width = width;
    common.height = height;
    common.tab_stop = tab_stop;
    return common;
}

ControlDesign push_button(ControlId id, std::string_view name, std::int32_t top, std::string_view text,
                          std::int32_t weight, Handler on_click) {
    return {id, name, placed(1016, top, 80, 32, true),
            PushButtonDesign{std::string(text), FontDesign{texts::kFontFace, kButtonCharHeight, weight}},
            Binding{EventKind::clicked, on_click}};
}

Design make_design() {
    CommonSettings timer_common;
    timer_common.visible = false;

    return Design{
        MainWindowDesign{Size{1098, 690}, texts::window_title(), true},
        {{
            {时钟1, "时钟1", timer_common, TimerDesign{1100}, Binding{EventKind::tick, on_promo_tick}},
            push_button(按钮6, "按钮6", 520, texts::kMakerSoftwareText, kNormal, on_click_按钮6),
            push_button(按钮5, "按钮5", 600, texts::kDravonText, kNormal, on_click_按钮5),
            push_button(按钮4, "按钮4", 560, texts::kKelvaroText, kNormal, on_click_按钮4),
            push_button(按钮3, "按钮3", 480, texts::kMakerGamesText, kNormal, on_click_按钮3),
            {标签2, "标签2", placed(1024, 448, 72, 24, false),
             LabelDesign{std::string(texts::kPartnerCaptionText), Rgb{255, 0, 0}, LabelBackground::button_face,
                         std::nullopt, FontDesign{texts::kFontFace, kCaptionCharHeight, kBold}},
             std::nullopt},
            push_button(按钮2, "按钮2", 64, texts::kMoreDownloadsText, kBold, on_click_按钮2),
            {标签1, "标签1", placed(-8, 624, 1104, 40, false),
             LabelDesign{texts::footer_text(), Rgb{0, 128, 0}, LabelBackground::black,
                         GradientFrame{8, kFooterFrameStops}, std::nullopt},
             std::nullopt},
            push_button(按钮1, "按钮1", 16, texts::kRefreshText, kBold, on_click_按钮1),
            {超文本浏览框1, "超文本浏览框1", placed(-8, -32, 1024, 18000, false),
             WebViewDesign{2, false, true, std::string(sites::kGameEntryUrl)}, std::nullopt},
        }},
    };
}

}  // namespace

const Design& design() {
    static const Design the_design = make_design();
    return the_design;
}

}  // namespace tessaryn

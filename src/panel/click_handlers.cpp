#include "panel/click_handlers.h"

#include "gameview/game_view.h"
#include "resources/sites.h"
#include "shell/default_browser.h"

namespace tessaryn {

void on_click_按钮1(HandlerContext& context) { context.game_view.navigate(sites::kGameEntryUrl); }

void on_click_按钮2(HandlerContext& context) { open_in_default_browser(context.desktop, sites::kMakerSiteUrl); }

void on_click_按钮3(HandlerContext& context) { open_in_default_browser(context.desktop, sites::kMakerSiteUrl); }

void on_click_按钮4(HandlerContext& context) {
    open_in_default_browser(context.desktop, sites::kFirstPartnerSiteUrl);
}

void on_click_按钮5(HandlerContext& context) {
    open_in_default_browser(context.desktop, sites::kSecondPartnerSiteUrl);
}

void on_click_按钮6(HandlerContext& context) {
    open_in_default_browser(context.desktop, sites::kMakerSoftwareSiteUrl);
}

}  // namespace tessaryn

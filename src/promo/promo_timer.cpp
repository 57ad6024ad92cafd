#include "promo/promo_timer.h"

#include "resources/sites.h"
#include "shell/default_browser.h"

namespace tessaryn {

bool PromoTimer::create(std::int32_t period_ms) {
    if (!desktop_.create_timer(id_)) return false;
    created_ = true;
    set_period(period_ms);
    return true;
}

void PromoTimer::set_period(std::int32_t period_ms) {
    if (!created_) return;
    if (period_ms <= 0) {
        if (running_) desktop_.stop_timer(id_);
        period_ms_ = 0;
        running_ = false;
        return;
    }
    desktop_.start_timer(id_, period_ms);
    period_ms_ = period_ms;
    running_ = true;
}

void PromoTimer::destroy() {
    set_period(0);
    created_ = false;
}

// Stopped before the URL goes out, so that no second tick can come however long the shell takes.
void on_promo_tick(HandlerContext& context) {
    context.promo_timer.set_period(0);
    open_in_default_browser(context.desktop, sites::kMakerSiteUrl);
}

}  // namespace tessaryn

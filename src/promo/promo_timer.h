// The promotion timer: armed when the main window is built, its first tick stops it and shows
// the maker's site in the default browser, once a run.
#pragma once

#include <cstdint>

#include "app/design.h"

namespace tessaryn {

class PromoTimer {
public:
    PromoTimer(Desktop& desktop, ControlId id) : desktop_(desktop), id_(id) {}

    // Makes the platform timer and arms it with `period_ms`.
    bool create(std::int32_t period_ms);

    // 0 stops the timer; a positive period starts it anew, the next tick one period from now.
    void set_period(std::int32_t period_ms);

    // Stops the timer if it runs, so that no tick follows the closing of the main window.
    void destroy();

    std::int32_t period() const { return period_ms_; }
    bool running() const { return running_; }

private:
    Desktop& desktop_;
    ControlId id_;
    bool created_ = false;
    std::int32_t period_ms_ = 0;
    bool running_ = false;
};

void on_promo_tick(HandlerContext& context);

}  // namespace tessaryn

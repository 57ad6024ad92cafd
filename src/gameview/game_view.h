// The game view: the embedded web engine in which the player plays.
#pragma once

#include <string>
#include <string_view>

#include "app/design.h"

namespace tessaryn {

class GameView {
public:
    GameView(Desktop& desktop, ControlId id) : desktop_(desktop), id_(id) {}

    // Embeds the engine at `rect`, applies the settings and starts loading the design's url.
    bool create(const Rect& rect, const WebViewDesign& design);

    // Makes `url` the view's address and starts a fresh navigation to it, also when the view
    // already shows it.
    void navigate(std::string_view url);

    // A page asked for a new window. The engine would open nothing, which reads as a broken
    // link, so web addresses go to the default browser; any other scheme is dropped.
    void open_new_window(std::string_view url);

    const std::string& url() const { return url_; }

private:
    Desktop& desktop_;
    ControlId id_;
    std::string url_;
};

}  // namespace tessaryn

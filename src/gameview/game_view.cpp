#include "gameview/game_view.h"

#include <algorithm>
#include <cctype>

#include "shell/default_browser.h"

namespace tessaryn {
namespace {

bool has_web_scheme(std::string_view url) {
    const auto colon = url.find(':');
    if (colon == std::string_view::npos) return false;
    std::string scheme(url.substr(0, colon));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme == "http" || scheme == "https";
}

}  // namespace

bool GameView::create(const Rect& rect, const WebViewDesign& design) {
    if (!desktop_.create_web_view(id_, rect)) return false;
    desktop_.web_set_offline(id_, design.Offline);
    desktop_.web_set_silent(id_, design.Silent);
    desktop_.web_set_text_size(id_, design.FontSize);
    navigate(design.url);
    return true;
}

void GameView::navigate(std::string_view url) {
    url_ = url;
    desktop_.web_navigate(id_, url_);
}

void GameView::open_new_window(std::string_view url) {
    if (has_web_scheme(url)) open_in_default_browser(desktop_, url);
}

}  // namespace tessaryn

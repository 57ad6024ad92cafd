#include "shell/default_browser.h"

namespace tessaryn {

void open_in_default_browser(Desktop& desktop, std::string_view url) {
    constexpr std::string_view kOwnerTitle = "Microsoft Internet Explorer";
    const WindowRef own = desktop.main_window_ref();
    WindowRef owner = desktop.find_top_level_window(kOwnerTitle, 0);
    while (owner != 0 && owner == own) owner = desktop.find_top_level_window(kOwnerTitle, owner);
    desktop.shell_open(url, owner);
}

}  // namespace tessaryn

#pragma once

#include <string_view>

#include "platform/desktop.h"

namespace tessaryn {

// Shows `url` in the user's default web browser through the desktop shell. The owner of the
// shell request is the first top-level window titled "Microsoft Internet Explorer" that is not
// the program's own main window, or none. The shell's result is ignored; returns when the
// shell request does.
void open_in_default_browser(Desktop& desktop, std::string_view url);

}  // namespace tessaryn

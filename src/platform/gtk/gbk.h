#pragma once

#include <string>
#include <string_view>

namespace tessaryn::gtk {

// The program's texts are GBK; GTK wants UTF-8. Converted by name, never through the locale,
// so that Chinese text reads the same on every machine. A text that is not
// GBK comes out empty.
std::string gbk_to_utf8(std::string_view gbk);

}  // namespace tessaryn::gtk

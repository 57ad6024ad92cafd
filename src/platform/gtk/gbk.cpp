#include "platform/gtk/gbk.h"

#include <glib.h>

namespace tessaryn::gtk {

std::string gbk_to_utf8(std::string_view gbk) {
    gsize written = 0;
    gchar* utf8 = g_convert(gbk.data(), static_cast<gssize>(gbk.size()), "UTF-8", "GBK", nullptr, &written, nullptr);
    if (utf8 == nullptr) return {};
    std::string result(utf8, written);
    g_free(utf8);
    return result;
}

}  // namespace tessaryn::gtk

#include "resources/texts.h"

#include "resources/sites.h"

namespace tessaryn::texts {
namespace {

// ZentoraTessaryn桌面版VSP1内测版
constexpr std::string_view kTitleHead = "ZentoraTessaryn\xD7\xC0\xC3\xE6\xB0\xE6VSP1\xC4\xDA\xB2\xE2\xB0\xE6";
// 更多辅助尽在Zentora游戏网
constexpr std::string_view kTitleTail = "\xB8\xFC\xB6\xE0\xB8\xA8\xD6\xFA\xBE\xA1\xD4\xDAZentora\xD3\xCE\xCF\xB7\xCD\xF8";
// 该软件由Zentora游戏网倾力制作，目前的功能就是一个桌面版，便于玩家PC平台的操作。更多页游辅助尽在Zentora游戏网
constexpr std::string_view kFooterHead = "\xB8\xC3\xC8\xED\xBC\xFE\xD3\xC9Zentora\xD3\xCE\xCF\xB7\xCD\xF8\xC7\xE3\xC1\xA6\xD6\xC6\xD7\xF7\xA3\xAC\xC4\xBF\xC7\xB0\xB5\xC4\xB9\xA6\xC4\xDC\xBE\xCD\xCA\xC7\xD2\xBB\xB8\xF6\xD7\xC0\xC3\xE6\xB0\xE6\xA3\xAC\xB1\xE3\xD3\xDA\xCD\xE6\xBC\xD2PC\xC6\xBD\xCC\xA8\xB5\xC4\xB2\xD9\xD7\xF7\xA1\xA3\xB8\xFC\xB6\xE0\xD2\xB3\xD3\xCE\xB8\xA8\xD6\xFA\xBE\xA1\xD4\xDAZentora\xD3\xCE\xCF\xB7\xCD\xF8";

std::string with_maker_host(std::string_view text) {
    std::string out(text);
    out += '(';
    out += sites::kMakerHost;
    out += ')';
    return out;
}

}  // namespace

std::string window_title() {
    std::string head(kTitleHead);
    head.append(20, ' ');
    head += kTitleTail;
    return with_maker_host(head);
}

std::string footer_text() { return with_maker_host(kFooterHead); }

}  // namespace tessaryn::texts

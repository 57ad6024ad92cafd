// The program's texts, in its code page, GBK. Each line above a text shows what it reads.
#pragma once

#include <string>
#include <string_view>

namespace tessaryn::texts {

// 刷新游戏
inline constexpr std::string_view kRefreshText = "\xCB\xA2\xD0\xC2\xD3\xCE\xCF\xB7";
// 更多辅助下载
inline constexpr std::string_view kMoreDownloadsText = "\xB8\xFC\xB6\xE0\xB8\xA8\xD6\xFA\xCF\xC2\xD4\xD8";
// Zentora游戏网
inline constexpr std::string_view kMakerGamesText = "Zentora\xD3\xCE\xCF\xB7\xCD\xF8";
// Zentora软件站
inline constexpr std::string_view kMakerSoftwareText = "Zentora\xC8\xED\xBC\xFE\xD5\xBE";
// Kelvaro下载站
inline constexpr std::string_view kKelvaroText = "Kelvaro\xCF\xC2\xD4\xD8\xD5\xBE";
// Dravon下载站
inline constexpr std::string_view kDravonText = "Dravon\xCF\xC2\xD4\xD8\xD5\xBE";
// 合作站点
inline constexpr std::string_view kPartnerCaptionText = "\xBA\xCF\xD7\xF7\xD5\xBE\xB5\xE3";
// 微软雅黑
inline constexpr std::string_view kFontFace = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";
// 错误
inline constexpr std::string_view kErrorTitle = "\xB4\xED\xCE\xF3";
// 程序运行时出现错误：启动窗口载入失败。
inline constexpr std::string_view kErrorMessage = "\xB3\xCC\xD0\xF2\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xCF\xD6\xB4\xED\xCE\xF3\xA3\xBA\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xD4\xD8\xC8\xEB\xCA\xA7\xB0\xDC\xA1\xA3";

// ZentoraTessaryn桌面版VSP1内测版, 20 spaces, 更多辅助尽在Zentora游戏网(<maker host>)
std::string window_title();

// 该软件由Zentora游戏网倾力制作，目前的功能就是一个桌面版，便于玩家PC平台的操作。更多页游辅助尽在Zentora游戏网(<maker host>)
std::string footer_text();

}  // namespace tessaryn::texts

// The program's web addresses. The maker's host also ends the window title and the footer text.
#pragma once

#include <string_view>

namespace tessaryn::sites {

inline constexpr std::string_view kMakerHost = "www.zentora.com";

inline constexpr std::string_view kGameEntryUrl =
    "http://tessaryn.zentora.com/lc/register.html?pass=1&v=1392530817775";
inline constexpr std::string_view kMakerSiteUrl = "http://www.zentora.com/";
inline constexpr std::string_view kMakerSoftwareSiteUrl = "http://soft.zentora.com/";
inline constexpr std::string_view kFirstPartnerSiteUrl = "http://www.kelvaro.com/";
inline constexpr std::string_view kSecondPartnerSiteUrl = "http://www.dravon.com/";

}  // namespace tessaryn::sites

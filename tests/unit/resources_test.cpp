#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "app/design.h"
#include "resources/icon.h"
#include "resources/sites.h"
#include "resources/texts.h"

namespace tessaryn {
namespace {

std::string gbk_to_utf8(std::string_view gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string in(gbk);
    std::string out(in.size() * 3 + 1, '\0');
    char* source = in.data();
    char* target = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    const auto result = iconv(cd, &source, &in_left, &target, &out_left);
    iconv_close(cd);
    EXPECT_NE(result, static_cast<std::size_t>(-1)) << "not GBK";
    out.resize(out.size() - out_left);
    return out;
}

template <typename Own>
const Own& own(ControlId id) {
    return std::get<Own>(design().controls[static_cast<std::size_t>(id)].own);
}

TEST(Texts, ReadAsDesignedWhenDecodedFromGbk) {
    const std::string spaces(20, ' ');
    EXPECT_EQ(gbk_to_utf8(design().window.title),
              "ZentoraTessaryn桌面版VSP1内测版" + spaces + "更多辅助尽在Zentora游戏网(www.zentora.com)");
    EXPECT_EQ(gbk_to_utf8(own<LabelDesign>(标签1).text),
              "该软件由Zentora游戏网倾力制作，目前的功能就是一个桌面版，便于玩家PC平台的操作。"
              "更多页游辅助尽在Zentora游戏网(www.zentora.com)");
    EXPECT_EQ(gbk_to_utf8(own<LabelDesign>(标签2).text), "合作站点");
    const std::pair<ControlId, std::string> buttons[] = {
        {按钮1, "刷新游戏"},      {按钮2, "更多辅助下载"},  {按钮3, "Zentora游戏网"},
        {按钮4, "Kelvaro下载站"}, {按钮5, "Dravon下载站"}, {按钮6, "Zentora软件站"},
    };
    for (const auto& [id, text] : buttons) {
        EXPECT_EQ(gbk_to_utf8(own<PushButtonDesign>(id).text), text);
        EXPECT_EQ(gbk_to_utf8(own<PushButtonDesign>(id).font.face), "微软雅黑");
    }
    EXPECT_EQ(gbk_to_utf8(texts::kErrorMessage), "程序运行时出现错误：启动窗口载入失败。");
}

TEST(Sites, AreFixedPlainWebAddresses) {
    EXPECT_EQ(own<WebViewDesign>(超文本浏览框1).url, sites::kGameEntryUrl);
    EXPECT_NE(sites::kGameEntryUrl.find("/lc/register.html?pass=1&v=1392530817775"), std::string_view::npos);
    for (auto url : {sites::kGameEntryUrl, sites::kMakerSiteUrl, sites::kMakerSoftwareSiteUrl,
                     sites::kFirstPartnerSiteUrl, sites::kSecondPartnerSiteUrl}) {
        EXPECT_EQ(url.rfind("http://", 0), 0u) << url;
    }
    EXPECT_EQ(sites::kMakerSiteUrl, "http://" + std::string(sites::kMakerHost) + "/");
}

TEST(Icon, IsOneOpaque64By64Image) {
    const IconImage image = icon::window_icon();
    ASSERT_EQ(image.rgba.size(), 64u * 64 * 4);
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255) << i / 4;
    // The file's rows run bottom-up: the picture's top-left pixel is the file's last row.
    const auto file = icon::ico_file();
    const std::size_t last_row = 22 + 40 + 63 * 64 * 4;
    EXPECT_EQ(image.rgba[0], file[last_row + 2]);
    EXPECT_EQ(image.rgba[2], file[last_row]);
}

TEST(Icon, AFileOfAnotherFormDecodesToNothing) {
    const auto file = icon::ico_file();
    std::vector<std::uint8_t> broken(file.begin(), file.end());
    EXPECT_TRUE(icon::decode_ico(std::span(broken).first(100)).empty());
    broken[6 + 12] = 0xFF;  // the image's offset beyond the file
    EXPECT_TRUE(icon::decode_ico(broken).empty());
    std::vector<std::uint8_t> other_depth(file.begin(), file.end());
    other_depth[22 + 14] = 24;
    EXPECT_TRUE(icon::decode_ico(other_depth).empty());
    EXPECT_TRUE(icon::decode_ico({}).empty());
}

}  // namespace
}  // namespace tessaryn

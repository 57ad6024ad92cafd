#include "platform/win32/text.h"

#include <windows.h>

namespace tessaryn::win32 {

std::wstring from_gbk(std::string_view text) {
    constexpr UINT kGbk = 936;
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int wide_length = MultiByteToWideChar(kGbk, 0, text.data(), length, nullptr, 0);
    if (wide_length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(kGbk, 0, text.data(), length, wide.data(), wide_length);
    return wide;
}

}  // namespace tessaryn::win32

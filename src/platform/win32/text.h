// The program's texts for the wide (W) functions of Windows.
#pragma once

#include <string>
#include <string_view>

namespace tessaryn::win32 {

// Decodes a text in the program's code page, GBK (code page 936), whatever the system's ANSI
// code page is. Bytes that form no GBK character come out as the code page's default character.
std::wstring from_gbk(std::string_view text);

}  // namespace tessaryn::win32

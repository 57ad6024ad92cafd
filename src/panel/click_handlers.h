// What the side panel's push buttons do when clicked: each makes exactly one call.
#pragma once

#include "app/design.h"

namespace tessaryn {

void on_click_按钮1(HandlerContext& context);  // the game entry page again
void on_click_按钮2(HandlerContext& context);  // the maker's site
void on_click_按钮3(HandlerContext& context);  // the maker's site
void on_click_按钮4(HandlerContext& context);  // the first partner's site
void on_click_按钮5(HandlerContext& context);  // the second partner's site
void on_click_按钮6(HandlerContext& context);  // the maker's software site

}  // namespace tessaryn

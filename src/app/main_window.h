// The main window's own rules: where it goes on the screen, which keys it takes for itself and
// how it moves the keyboard focus among its controls.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "app/design.h"

namespace tessaryn {

// Centred on the whole primary screen, truncating toward zero; negative results stand.
Point centred_position(Size screen, Size window);

enum class KeyAction { pass_on, close, focus_next, focus_previous };

// What the main window does with a key-down before the window it is meant for sees it.
KeyAction key_action(Key key, Modifiers modifiers, bool esc_closes);

// The controls that Tab walks: tab stops, visible and enabled, by tab position and, among
// equal positions, from the latest in design order to the earliest.
std::vector<ControlId> tab_cycle(const Design& design);

// Where Tab (forward) or Shift+Tab moves the focus from `current`. From a control outside the
// cycle, Tab goes to the first member that comes before it in design order and Shift+Tab to
// the member before that one.
std::optional<ControlId> next_focus(std::span<const ControlId> cycle, std::optional<ControlId> current,
                                    bool forward);

}  // namespace tessaryn

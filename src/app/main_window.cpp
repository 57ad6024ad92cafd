#include "app/main_window.h"

#include <algorithm>

namespace tessaryn {

Point centred_position(Size screen, Size window) {
    return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

KeyAction key_action(Key key, Modifiers modifiers, bool esc_closes) {
    const bool none = !modifiers.shift && !modifiers.ctrl && !modifiers.alt;
    const bool shift_only = modifiers.shift && !modifiers.ctrl && !modifiers.alt;
    switch (key) {
    case Key::escape:
        return none && esc_closes ? KeyAction::close : KeyAction::pass_on;
    case Key::tab:
        if (none) return KeyAction::focus_next;
        return shift_only ? KeyAction::focus_previous : KeyAction::pass_on;
    case Key::other:
        break;
    }
    return KeyAction::pass_on;
}

std::vector<ControlId> tab_cycle(const Design& design) {
    std::vector<const ControlDesign*> members;
    for (const auto& control : design.controls) {
        const auto& common = control.common;
        if (common.tab_stop && common.visible && !common.disable) members.push_back(&control);
    }
    std::stable_sort(members.begin(), members.end(), [](const ControlDesign* a, const ControlDesign* b) {
        if (a->common.tab_position != b->common.tab_position) return a->common.tab_position < b->common.tab_position;
        return a->id > b->id;
    });
    std::vector<ControlId> cycle;
    for (const auto* member : members) cycle.push_back(member->id);
    return cycle;
}

std::optional<ControlId> next_focus(std::span<const ControlId> cycle, std::optional<ControlId> current,
                                    bool forward) {
    if (cycle.empty()) return std::nullopt;
    const auto count = static_cast<std::ptrdiff_t>(cycle.size());
    const auto at = current ? std::find(cycle.begin(), cycle.end(), *current) : cycle.end();
    std::ptrdiff_t index = 0;
    if (at != cycle.end()) {
        index = (at - cycle.begin()) + (forward ? 1 : -1);
    } else {
        const ControlId outside = current.value_or(kControlCount);
        const auto before = std::find_if(cycle.begin(), cycle.end(), [&](ControlId id) { return id < outside; });
        index = before == cycle.end() ? 0 : before - cycle.begin();
        if (!forward) --index;
    }
    return cycle[static_cast<std::size_t>((index % count + count) % count)];
}

}  // namespace tessaryn

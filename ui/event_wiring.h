// Which event of which control runs which command. Every event not listed here
// runs nothing; toolkit layers connect exactly these rows.
#pragma once

#include <span>
#include <string_view>

#include "core/main_form.h"

namespace vaskelo {

enum class ControlEvent { Click };

struct EventBinding {
    std::string_view control;
    ControlEvent event;
    std::string_view procedure;
    void (*run)(MainForm& form, int index);  // index: the menu item's number, 0 for other controls
};

std::span<const EventBinding> eventBindings();

}  // namespace vaskelo

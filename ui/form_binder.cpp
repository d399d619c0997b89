#include "ui/form_binder.h"

#include <cmath>
#include <new>
#include <set>
#include <stdexcept>

#include "core/texts.h"
#include "ui/spoken_names.h"

namespace vaskelo {

std::runtime_error missingControl(std::string_view name) {
    return std::runtime_error(std::string(texts::kMissingControlBefore) + std::string(name) + std::string(texts::kMissingControlAfter));
}

bool fontSizeInRange(float points) { return std::isfinite(points) && points > 0.0f && points <= kMaxFontPoints; }

bool topInRange(float twips) { return std::isfinite(twips) && std::fabs(twips) <= kMaxTopTwips; }

bool refitsToCaption(const ControlDescription& label) { return label.kind == ControlKind::Label && label.autoSize; }

std::string swatchName(const WindowDescription& window, Swatch swatch, ColourValue colour, std::string_view bandText) {
    const ControlDescription* described = findControl(window, controlName(swatch));
    return swatchSpokenName(described != nullptr ? described->accessibleName : controlName(swatch), colour, bandText);
}

void checkWindow(const WindowDescription& window, std::span<const EventBinding> bindings,
                 const std::function<std::optional<ControlKind>(std::string_view name)>& kindOf,
                 const std::function<bool(std::string_view name)>& hasMenuItem) {
    const auto require = [&](std::string_view name, std::optional<ControlKind> kind) {
        const std::optional<ControlKind> made = kindOf(name);
        if (!made || (kind && *made != *kind)) throw missingControl(name);
    };
    for (const ControlDescription& c : window.controls) {
        require(c.name, c.kind);
        // A control inside another (a swatch on the picture) is missing without it.
        if (!c.container.empty()) require(c.container, std::nullopt);
    }
    for (const BandList list : kAllBandLists) require(controlName(list), ControlKind::ComboBox);
    for (const Swatch swatch : kAllSwatches) require(controlName(swatch), ControlKind::PictureBox);
    for (const Label label : {Label::Ls1, Label::Les2}) require(controlName(label), ControlKind::Label);

    std::set<int> itemNumbers;
    for (const MenuDescription& m : window.menus) {
        // The number travels in a command id and has to name exactly one item.
        if (m.itemIndex < 0 || m.itemIndex > 0x7FFF || !itemNumbers.insert(m.itemIndex).second) {
            throw std::runtime_error("'" + std::string(m.itemName) + std::string(texts::kMenuNumberUnusable));
        }
        if (!hasMenuItem(m.itemName)) throw missingControl(m.itemName);
    }
    // A click is connected to a band list, a button or a menu item, and nothing else.
    for (const EventBinding& b : bindings) {
        const std::optional<ControlKind> made = kindOf(b.control);
        const bool clickable = made == ControlKind::ComboBox || made == ControlKind::CommandButton;
        if (!clickable && (findMenuItem(window, b.control) == nullptr || !hasMenuItem(b.control))) {
            throw missingControl(b.control);
        }
    }
}

void runBound(const EventBinding& binding, MainForm& form, int index, const ErrorReport& report) noexcept {
    // Reporting can fail too (no memory for the message): then the user is not told,
    // but the window still goes on.
    try {
        try {
            binding.run(form, index);
        } catch (const RuntimeError& error) {
            report(kRuntimeErrorTitle, error.what());
        } catch (const std::bad_alloc&) {
            report(kRuntimeErrorTitle, unexpectedErrorMessage(binding.procedure, true));
        } catch (...) {
            report(kRuntimeErrorTitle, unexpectedErrorMessage(binding.procedure, false));
        }
    } catch (...) {
    }
}

}  // namespace vaskelo

// What every toolkit's window does the same way, whatever draws it: the start-up
// check of the controls the commands and events name, running a bound command with
// its failure reported, opening the window through the main-window reference, the
// program's catch of a failure to start, and
// the rules the control operations share (their failure codes, input limits, which
// labels follow their caption, what a swatch is called). A toolkit layer supplies
// only what its toolkit does: the controls, their operations, painting and events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/form_ops.h"
#include "core/main_form.h"
#include "core/runtime_error.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"

namespace vaskelo {

// The operations' own failures, as Windows words them, on every toolkit.
inline constexpr Status kControlUnavailable{static_cast<std::int32_t>(0x80070578u)};  // the control is gone
inline constexpr Status kInvalidValue{static_cast<std::int32_t>(0x80070057u)};        // no such size or position

// A label's font size and position stay within what every toolkit can draw: up to
// 2048 points, and 16 million pixels from the window's edge either way.
inline constexpr float kMaxFontPoints = 2048.0f;
inline constexpr float kMaxTopTwips = 16'000'000.0f * kTwipsPerPixel;
bool fontSizeInRange(float points);
bool topInRange(float twips);

// An auto-size label is resized to its caption in its font whenever either changes;
// any other label keeps the size the description gives it.
bool refitsToCaption(const ControlDescription& label);

// What a swatch is called for a screen reader: its band and the colour it shows, or
// that the band has no colour while its list shows `bandText` ("?").
std::string swatchName(const WindowDescription& window, Swatch swatch, ColourValue colour, std::string_view bandText);

// Consulted before every control operation; a failed status makes the operation fail
// as a real one would. Diagnostics and fault-injection runs install one.
using OperationGate = std::function<Status(std::string_view control, Operation operation)>;

// What start-up says when the window lacks a control it needs.
std::runtime_error missingControl(std::string_view name);

// The start-up check: every described control was made, the controls the commands
// work on are of their kind, each menu item has a number of its own that fits a
// command id, and every event is bound to a band list, a button or a menu item that
// exists. `kindOf` tells what the toolkit made for a name (nothing if it made none),
// `hasMenuItem` whether it made that menu item. Throws std::runtime_error naming
// the first fault.
void checkWindow(const WindowDescription& window, std::span<const EventBinding> bindings,
                 const std::function<std::optional<ControlKind>(std::string_view name)>& kindOf,
                 const std::function<bool(std::string_view name)>& hasMenuItem);

// Shows the user a run-time error: the toolkit's message box, with this title and text.
using ErrorReport = std::function<void(std::string_view title, std::string_view message)>;

// Runs a bound command on its event. Nothing in the program handles a failure, so it
// is reported here and the window goes on: a failed control operation names the
// control and the operation, anything else the command. Nothing it throws reaches
// the toolkit's own frames.
void runBound(const EventBinding& binding, MainForm& form, int index, const ErrorReport& report) noexcept;

// Opens the program's one window: registers the creator with the main-window
// reference and creates the window through it, so the window on screen is the one the
// reference designates. `open` makes and shows the window; `holder` owns it after.
template <typename Form>
Form& openMainWindow(std::unique_ptr<Form>& holder, std::function<std::unique_ptr<Form>()> open) {
    setMainFormCreator([&holder, open = std::move(open)]() -> MainForm& {
        holder = open();
        return holder->mainForm();
    });
    theMainForm();
    return *holder;
}

// Runs the program: its start and then its event loop, with nothing unwinding past it.
// The program's own failures say in Turkish what went wrong, and `say` shows that to
// the user; anything else is said as the general failure to start.
template <typename Run, typename Say>
int runOrSay(Run run, Say say) {
    try {
        return run();
    } catch (const std::runtime_error& error) {
        return say(std::string_view(error.what()));
    } catch (...) {
        return say(kStartFailure);
    }
}

}  // namespace vaskelo

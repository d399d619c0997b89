// The window suite, written once for every toolkit: scenarios that drive the real
// window through a WindowDriver and note what differs from what the user should see.
// Each toolkit's test program runs the tables below in its own test framework.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/window_model.h"
#include "tests/window/window_driver.h"

namespace vaskelo::suite {

// The faults a scenario found, each with what was being checked.
class Checks {
public:
    void expect(bool ok, std::string_view what) {
        if (!ok) faults_.push_back(std::string(what));
    }
    template <class A, class B>
    void equal(const A& shown, const B& expected, std::string_view what) {
        if (shown == expected) return;
        std::ostringstream line;
        line << what << ": got " << text(shown) << ", expected " << text(expected);
        faults_.push_back(line.str());
    }
    void add(std::string fault) { faults_.push_back(std::move(fault)); }
    const std::vector<std::string>& faults() const { return faults_; }
    std::string joined() const;

private:
    template <class T>
    static std::string text(const T& value) {
        std::ostringstream out;
        if constexpr (requires { out << value; }) {
            out << value;
        } else if constexpr (std::is_same_v<T, model::State>) {
            out << model::describe(value);
        } else if constexpr (std::is_same_v<T, NamedRect>) {
            out << value.name << " " << value.left << "," << value.top << " to " << value.right << "," << value.bottom;
        } else if constexpr (requires { value.first; value.second; }) {
            out << text(value.first) << "," << text(value.second);
        } else if constexpr (std::is_same_v<T, Size>) {
            out << value.width << "x" << value.height;
        } else {
            out << "(" << value.size() << " items:";
            for (const auto& item : value) out << " '" << text(item) << "'";
            out << ")";
        }
        return out.str();
    }
    std::vector<std::string> faults_;
};

// Makes the action on the window with the driver's real input; false if it could not
// be made (a pick that did not take, a menu that stayed open). After Exit: true if the
// program ended with code 0 and its window went.
bool act(WindowDriver& d, const model::Action& action);
// The window's state; with `pixels`, swatch colours as the screen shows them.
model::State shown(WindowDriver& d, bool pixels);

// The window and the model side by side: each action is made on the window and worked
// out in the model.
class Session {
public:
    // The model as after start, for the window the driver has just opened.
    explicit Session(WindowDriver& driver) : expected(model::initial(driver.windowBackground())), driver_(driver) {}
    // A new window, and the model as after start.
    void open();
    // Makes the action on the window and returns what its command writes, for the
    // model to take (a pick's text is taken already); nothing if the window could not
    // take the action.
    std::optional<std::vector<model::Write>> make(const model::Action& action);
    // Makes the action on both; false if the window could not take it.
    bool perform(const model::Action& action);
    void perform(std::initializer_list<model::Action> actions);
    bool matches(bool pixels = false);
    std::string mismatch(bool pixels = false);

    model::State expected;

private:
    WindowDriver& driver_;
};

struct Scenario {
    const char* name;
    void (*run)(WindowDriver& driver, Checks& checks);
};

// What the user sees of the window: its look, each command, every way of reaching it.
std::span<const Scenario> windowScenarios();
// One of them: the window drawn whole at the driver's scale, after a pick in every list
// and a calculation. The rest of it stands apart, for a window whose scale changes
// after that: what is drawn at the scale it now has.
void windowHoldsAtThisDisplayScale(WindowDriver& d, Checks& c);
void drawnAtThisScale(WindowDriver& d, Checks& c);
// Long seeded runs against the model, and every control operation failing in turn.
std::span<const Scenario> modelScenarios();

}  // namespace vaskelo::suite

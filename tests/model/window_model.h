// The reference model behind the model-based tests of both window toolkits: the
// window state the commands change, each command's writes worked out here from the
// band table alone, the seeded user actions, and the shrinker that shortens a
// failing sequence. No toolkit: texts are UTF-8, colours 0x00BBGGRR.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "core/band_colours.h"
#include "core/colour.h"

namespace vaskelo::model {

inline constexpr int kNoRow = -1;
// Typed text left the list's position to the toolkit: not compared, and the next
// arrow key starts wherever the toolkit put it.
inline constexpr int kToolkitRow = -2;

struct State {
    std::array<std::string, 4> texts{"?", "?", "?", "?"};
    std::array<int, 4> selected{kNoRow, kNoRow, kNoRow, kNoRow};
    std::array<ColourValue, 4> swatches{};
    std::string first;
    std::string second;
    std::string result = "-";
    float points = 48;
    float top = 3000;  // twips
    std::string tolerance = "-";
};

// The resistance that two digits and band 3's multiplier give ("-" divides by ten),
// written the way the window shows values: Ohm, K or M, with one decimal place after a
// comma where the value is not whole in its unit, and a blank before "Ohm" from ten
// ohms up. Computed as a number, independently of how the program joins its texts.
std::string valueNotation(int first, int second, std::string_view band3);
// A result the model leaves open: the text the program joins from remembered digits
// that no longer match their bands, which "Renk Girin" replaces straight away.
inline const std::string kUnpredictedResult = "\x01unpredicted";

// The window after start; `windowBackground` is what the toolkit shows for the
// system's window background colour.
State initial(ColourValue windowBackground);
// Whether the window shows what the model expects.
bool matches(const State& shown, const State& expected);
std::string describe(const State& s);

std::span<const std::string_view> entries(int band);

enum class Target { BandText, Swatch, Digit, Result, Points, Top, Tolerance };

struct Write {
    Target target;
    int band = 0;
    std::string text{};
    ColourValue colour = 0;
    float number = 0;
    bool isControlOperation() const { return target != Target::Digit; }
};

void apply(State& s, const Write& w);
// The first `controlWrites` control operations of a command, with whatever the
// command does in between that is no control operation.
void applyPrefix(State& s, const std::vector<Write>& writes, int controlWrites);
void applyAll(State& s, const std::vector<Write>& writes);

// The commands: what each writes, in order, from the state it starts in.
std::vector<Write> pick(const State& s, int band);
std::vector<Write> calculate(const State& s);
std::vector<Write> reset();
std::vector<Write> about();

// A user's choice of the list's row: the list shows it, then the band's command runs.
std::vector<Write> pickRow(State& s, int band, int row);
// The row an arrow key on the closed list moves to from `from`, or none at either end.
std::optional<int> arrowRow(int band, int from, bool down);

// What a user does to the window. `row` is the list row of a pick, the target of a
// click elsewhere, or, for a menu item, 0 for the keyboard and 1 for the mouse.
enum class Kind {
    KeyDown, KeyUp, MousePick, KeyPick, Type, Enter, Leave,
    Calculate, ResetButton, ResetMenu, About, Exit, ClickElsewhere
};
struct Action {
    Kind kind;
    int band = 0;
    int row = 0;
    std::string text{};
};

// Controls that run nothing when clicked: the picture, swatches and labels.
inline constexpr std::array<const char*, 8> kClickTargets{"pd1", "pr1", "pr2", "pr4", "Lr2", "Ls1", "Les2", "LTolerans"};

std::string actionText(const Action& a);

// The same seed gives the same actions on every platform and standard library: the
// engine's output is fixed by the C++ standard, and the ranges are drawn here.
class ActionSource {
public:
    explicit ActionSource(std::uint32_t seed) : engine_(seed) {}
    Action next();
    int below(int n);

private:
    std::string text();
    std::mt19937 engine_;
};

// Shortens a diverging sequence: removes chunks of actions, halving the chunk down to
// single actions, while the replay still diverges. `firstDivergence` replays on a
// fresh window and returns the index of the first diverging action, or -1. The
// replays make at most `actionBudget` actions in all, so that a failing run still
// ends, with the shortest sequence found so far, well within its test's time.
std::vector<Action> shrink(std::vector<Action> actions,
                           const std::function<int(const std::vector<Action>&)>& firstDivergence, long actionBudget);

// The seed and action count of a run: VASKELO_MODEL_SEED and VASKELO_MODEL_ACTIONS
// when set, else the defaults.
std::uint32_t seedFromEnvironment(std::uint32_t fallback);
int actionsFromEnvironment(int fallback);

}  // namespace vaskelo::model

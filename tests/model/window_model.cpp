#include "model/window_model.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace vaskelo::model {

namespace {

const std::string kAbout = "     Hazırlayan: Tolvend, Versiyon:1.1";

int rowOf(int band, std::string_view text) {
    const auto list = entries(band);
    const auto it = std::find(list.begin(), list.end(), text);
    return it == list.end() ? kNoRow : static_cast<int>(it - list.begin());
}

std::optional<int> digitOf(std::string_view text) {
    const BandColour* colour = findBandColour(text);
    return colour != nullptr ? colour->digit : std::nullopt;
}

std::string hex(ColourValue c) {
    std::ostringstream out;
    out << std::hex << c;
    return out.str();
}

}  // namespace

State initial(ColourValue windowBackground) {
    State s;
    s.swatches = {kWhite, windowBackground, windowBackground, windowBackground};
    return s;
}

bool matches(const State& shown, const State& expected) {
    for (std::size_t band = 0; band < 4; ++band) {
        if (expected.selected[band] != kToolkitRow && shown.selected[band] != expected.selected[band]) return false;
    }
    return shown.texts == expected.texts && shown.swatches == expected.swatches && shown.first == expected.first &&
           shown.second == expected.second &&
           (expected.result == kUnpredictedResult || shown.result == expected.result) && shown.points == expected.points &&
           shown.top == expected.top && shown.tolerance == expected.tolerance;
}

std::string describe(const State& s) {
    std::ostringstream out;
    out << "texts";
    for (const std::string& t : s.texts) out << " '" << (t.size() > 60 ? t.substr(0, 60) + "…" : t) << "'";
    out << " rows";
    for (const int r : s.selected) out << ' ' << r;
    out << " swatches";
    for (const ColourValue c : s.swatches) out << ' ' << hex(c);
    out << " digits '" << s.first << "' '" << s.second << "' result '" << s.result << "' " << s.points << "pt top "
        << s.top << " tolerance '" << s.tolerance << "'";
    return out.str();
}

std::span<const std::string_view> entries(int band) { return bandEntries(kAllBandLists[static_cast<std::size_t>(band)]); }

void apply(State& s, const Write& w) {
    const auto band = static_cast<std::size_t>(w.band);
    switch (w.target) {
        case Target::BandText:
            s.texts[band] = w.text;
            s.selected[band] = rowOf(w.band, w.text);
            break;
        case Target::Swatch: s.swatches[band] = w.colour; break;
        case Target::Digit: (w.band == 0 ? s.first : s.second) = w.text; break;
        case Target::Result: s.result = w.text; break;
        case Target::Points: s.points = w.number; break;
        case Target::Top: s.top = w.number; break;
        case Target::Tolerance: s.tolerance = w.text; break;
    }
}

void applyPrefix(State& s, const std::vector<Write>& writes, int controlWrites) {
    for (const Write& w : writes) {
        if (w.isControlOperation() && controlWrites-- <= 0) return;
        apply(s, w);
    }
}

void applyAll(State& s, const std::vector<Write>& writes) { applyPrefix(s, writes, static_cast<int>(writes.size())); }

std::vector<Write> pick(const State& s, int band) {
    const std::string& text = s.texts[static_cast<std::size_t>(band)];
    if (band == 3) {
        if (text != "Altın" && text != "Gümüş") return {};
        return {{Target::Swatch, 3, {}, findBandColour(text)->swatch}};
    }
    const std::optional<int> digit = digitOf(text);
    if (!digit) return {};
    std::vector<Write> writes{{Target::Swatch, band, {}, findBandColour(text)->swatch}};
    if (band < 2) writes.push_back({Target::Digit, band, std::to_string(*digit)});
    return writes;
}

std::string valueNotation(int first, int second, std::string_view band3) {
    // In tenths of an ohm, so that "-" (a tenth) stays whole.
    std::int64_t tenths = 10 * first + second;
    if (band3 != "-") {
        for (int i = 0; i <= *digitOf(band3); ++i) tenths *= 10;
    }
    std::int64_t unit = 1;
    std::string suffix = "Ohm";
    if (tenths >= 10'000'000) {
        unit = 1'000'000;
        suffix = "M";
    } else if (tenths >= 10'000) {
        unit = 1'000;
        suffix = "K";
    } else if (tenths >= 100) {
        suffix = " Ohm";
    }
    const std::int64_t inUnit = tenths / unit;  // still in tenths
    std::string text = std::to_string(inUnit / 10);
    if (inUnit % 10 != 0) text += "," + std::to_string(inUnit % 10);
    return text + suffix;
}

std::vector<Write> calculate(const State& s) {
    std::vector<Write> writes{{Target::Points, 0, {}, 0, 48}, {Target::Top, 0, {}, 0, 3000}};
    // A band counts as chosen only while its list shows the colour of the digit it
    // remembered, and band 3 while it shows one of its entries.
    const auto shows = [&](int band, const std::string& digit) {
        const std::optional<int> d = digitOf(s.texts[static_cast<std::size_t>(band)]);
        return !digit.empty() && d && std::to_string(*d) == digit;
    };
    const bool firstShown = shows(0, s.first);
    const bool secondShown = shows(1, s.second);
    const bool multiplierShown = rowOf(2, s.texts[2]) != kNoRow;
    if (multiplierShown) {
        writes.push_back({Target::Result, 0,
                          firstShown && secondShown ? valueNotation(std::stoi(s.first), std::stoi(s.second), s.texts[2])
                                                    : kUnpredictedResult});
    }
    if (s.texts[3] == "Altın") writes.push_back({Target::Tolerance, 0, "%5"});
    if (s.texts[3] == "Gümüş") writes.push_back({Target::Tolerance, 0, "%10"});
    for (const bool missing : {!firstShown, !secondShown, !multiplierShown}) {
        if (missing) writes.push_back({Target::Result, 0, "Renk Girin"});
    }
    return writes;
}

std::vector<Write> reset() {
    std::vector<Write> writes;
    for (int band = 0; band < 4; ++band) {
        writes.push_back({Target::BandText, band, "?"});
        writes.push_back({Target::Swatch, band, {}, kWhite});
    }
    writes.push_back({Target::Result, 0, "-"});
    writes.push_back({Target::Tolerance, 0, "-"});
    return writes;
}

std::vector<Write> about() {
    return {{Target::Top, 0, {}, 0, 3300}, {Target::Points, 0, {}, 0, 12}, {Target::Result, 0, kAbout}};
}

std::vector<Write> pickRow(State& s, int band, int row) {
    apply(s, {Target::BandText, band, std::string(entries(band)[static_cast<std::size_t>(row)])});
    return pick(s, band);
}

std::optional<int> arrowRow(int band, int from, bool down) {
    const int row = from + (down ? 1 : -1);
    if (row < 0 || row >= static_cast<int>(entries(band).size())) return std::nullopt;
    return row;
}

std::string actionText(const Action& a) {
    const std::string band = " Cr" + std::to_string(a.band + 1);
    const char* via = a.row == 0 ? " by keys" : " by mouse";
    switch (a.kind) {
        case Kind::KeyDown: return "Down" + band;
        case Kind::KeyUp: return "Up" + band;
        case Kind::MousePick: return "mouse pick" + band + " row " + std::to_string(a.row);
        case Kind::KeyPick: return "key pick" + band + " row " + std::to_string(a.row);
        case Kind::Type: {
            std::string shown = a.text.size() > 40 ? a.text.substr(0, 40) + "…(" + std::to_string(a.text.size()) + " bytes)" : a.text;
            return "type" + band + " \"" + shown + "\"";
        }
        case Kind::Enter: return "Enter" + band;
        case Kind::Leave: return "Tab out of" + band;
        case Kind::Calculate: return "click CommDH";
        case Kind::ResetButton: return "click DYeni";
        case Kind::ResetMenu: return std::string("menu Yeni") + via;
        case Kind::About: return std::string("menu Hakkında") + via;
        case Kind::Exit: return std::string("menu Çıkış") + via;
        case Kind::ClickElsewhere: return std::string("click ") + kClickTargets[static_cast<std::size_t>(a.row)];
    }
    return {};
}

// Multiplying by the range instead of taking a remainder keeps the draw even enough
// for a test and needs no retries.
int ActionSource::below(int n) {
    return static_cast<int>((static_cast<std::uint64_t>(engine_()) * static_cast<std::uint64_t>(n)) >> 32);
}

// Text a person might type or paste: Turkish letters, dotted and dotless i,
// combining marks, right-to-left scripts, emoji, nothing, or a great deal.
std::string ActionSource::text() {
    static const char* const pieces[] = {"Sarı", "Mor", "Kırmızı", "Kirmizi", "KIRMIZI", "İ", "ı", "i", "I", "ş", "ğ",
                                         "ü", "ö", "ç", "Ç", "Gümüş", "Altın", "u\u0308", "i\u0307", "שלום", "مرحبا",
                                         "🙂", "🇹🇷", "漢字", " ", "?", "-", "Siyah ", "siyah", "0", "%5"};
    const int kind = below(10);
    if (kind == 0) return {};
    if (kind == 1) {
        std::string longText;
        for (int i = 0; i < 10000; ++i) longText += "ş";
        return longText;
    }
    if (kind == 2) return std::string(kBandColours[static_cast<std::size_t>(below(10))].name);
    std::string typed;
    const int count = 1 + below(4);
    for (int i = 0; i < count; ++i) typed += pieces[below(static_cast<int>(std::size(pieces)))];
    return typed;
}

Action ActionSource::next() {
    Action a{Kind::Calculate};
    a.band = below(4);
    const int roll = below(1000);
    const auto rowOfBand = [&] { return below(static_cast<int>(entries(a.band).size())); };
    if (roll < 200) {
        a.kind = Kind::KeyDown;
    } else if (roll < 310) {
        a.kind = Kind::KeyUp;
    } else if (roll < 350) {
        a.kind = Kind::MousePick;
        a.row = rowOfBand();
    } else if (roll < 390) {
        a.kind = Kind::KeyPick;
        a.row = rowOfBand();
    } else if (roll < 530) {
        a.kind = Kind::Type;
        a.text = text();
    } else if (roll < 570) {
        a.kind = Kind::Enter;
    } else if (roll < 610) {
        a.kind = Kind::Leave;
    } else if (roll < 800) {
        a.kind = Kind::Calculate;
    } else if (roll < 850) {
        a.kind = Kind::ResetButton;
    } else if (roll < 890) {
        a.kind = Kind::ResetMenu;
        a.row = below(2);
    } else if (roll < 940) {
        a.kind = Kind::About;
        a.row = below(2);
    } else if (roll < 943) {
        a.kind = Kind::Exit;
        a.row = below(2);
    } else {
        a.kind = Kind::ClickElsewhere;
        a.row = below(static_cast<int>(kClickTargets.size()));
    }
    return a;
}

std::vector<Action> shrink(std::vector<Action> actions,
                           const std::function<int(const std::vector<Action>&)>& firstDivergence, long actionBudget) {
    for (std::size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= actions.size();) {
            std::vector<Action> candidate(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(start));
            candidate.insert(candidate.end(), actions.begin() + static_cast<std::ptrdiff_t>(start + chunk), actions.end());
            actionBudget -= static_cast<long>(candidate.size());
            if (actionBudget < 0) return actions;
            const int at = firstDivergence(candidate);
            if (at >= 0) {
                actions.assign(candidate.begin(), candidate.begin() + at + 1);
            } else {
                start += chunk;
            }
        }
    }
    return actions;
}

namespace {
std::optional<long> environmentNumber(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    char* end = nullptr;
    const long n = std::strtol(value, &end, 10);
    return *end == '\0' ? std::optional<long>(n) : std::nullopt;
}
}  // namespace

std::uint32_t seedFromEnvironment(std::uint32_t fallback) {
    return static_cast<std::uint32_t>(environmentNumber("VASKELO_MODEL_SEED").value_or(fallback));
}

int actionsFromEnvironment(int fallback) {
    return static_cast<int>(environmentNumber("VASKELO_MODEL_ACTIONS").value_or(fallback));
}

}  // namespace vaskelo::model

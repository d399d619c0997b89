// A window double for the commands: it keeps the state the operations change,
// and logs each operation; every operation succeeds.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/form_ops.h"
#include "core/main_form.h"

namespace vaskelo::testing {

struct FakeState {
    std::array<std::string, 4> bandTexts{"?", "?", "?", "?"};
    std::array<ColourValue, 4> swatches{kWhite, kWindowBackground, kWindowBackground, kWindowBackground};
    std::string result = "-";
    float resultFontSize = 48.0f;
    float resultTop = 3000.0f;
    std::string tolerance = "-";
    bool ended = false;
    bool operator==(const FakeState&) const = default;
};

class FakeForm : public FormOps {
public:
    FakeState state;
    std::vector<std::string> log;

    Status bandText(BandList list, std::string& text) override {
        return step("read " + std::string(controlName(list)), [&] { text = state.bandTexts[index(list)]; });
    }
    Status setBandText(BandList list, std::string_view text) override {
        return step("text " + std::string(controlName(list)), [&] { state.bandTexts[index(list)] = text; });
    }
    Status setSwatchColour(Swatch swatch, ColourValue colour) override {
        return step("colour " + std::string(controlName(swatch)),
                    [&] { state.swatches[static_cast<std::size_t>(swatch)] = colour; });
    }
    Status setCaption(Label label, std::string_view caption) override {
        return step("caption " + std::string(controlName(label)),
                    [&] { (label == Label::Ls1 ? state.result : state.tolerance) = caption; });
    }
    Status setFontSize(Label label, float points) override {
        return step("font " + std::string(controlName(label)), [&] { state.resultFontSize = points; });
    }
    Status setTop(Label label, float twips) override {
        return step("top " + std::string(controlName(label)), [&] { state.resultTop = twips; });
    }
    void endProgram() override {
        log.emplace_back("end");
        state.ended = true;
    }

    // What a user's typing into a list's field does: the text changes, nothing runs.
    void type(BandList list, std::string text) { state.bandTexts[index(list)] = std::move(text); }

private:
    static std::size_t index(BandList list) { return static_cast<std::size_t>(list); }

    template <typename Apply>
    Status step(std::string entry, Apply apply) {
        apply();
        log.push_back(std::move(entry));
        return kOk;
    }
};

// A form over a fake window that is also the program's designated main window.
struct Harness {
    FakeForm window;
    MainForm form{window};
    Harness() { designateMainForm(&form); }

    // A user's pick from a list: the field shows the entry, then the band command runs.
    void pick(BandList list, std::string_view entry) {
        window.type(list, std::string(entry));
        switch (list) {
            case BandList::Cr1: form.Cr1_Click(); break;
            case BandList::Cr2: form.Cr2_Click(); break;
            case BandList::Cr3: form.Cr3_Click(); break;
            case BandList::Cr4: form.Cr4_Click(); break;
        }
    }
};

}  // namespace vaskelo::testing

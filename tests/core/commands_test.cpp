#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "fake_form.h"

namespace vaskelo {
namespace {

using testing::FakeForm;
using testing::FakeState;
using testing::Harness;

constexpr BandList B1 = BandList::Cr1;
constexpr BandList B2 = BandList::Cr2;
constexpr BandList B3 = BandList::Cr3;
constexpr BandList B4 = BandList::Cr4;

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        designateMainForm(nullptr);
        setMainFormCreator(nullptr);
        h = std::make_unique<Harness>();
    }
    void TearDown() override {
        h.reset();
        setMainFormCreator(nullptr);
    }
    FakeState& state() { return h->window.state; }
    std::unique_ptr<Harness> h;
};

struct PickRow {
    const char* label;
    BandList band;
    std::vector<std::string> picks;  // picked in turn from the band's list
    ColourValue swatch;
    std::string firstDigit;
    std::string secondDigit;
};

TEST_F(Commands, BandPicksPaintSwatchesAndRememberDigits) {
    const std::vector<PickRow> rows = {
        {"violet in band 1", B1, {"Mor"}, 0x800080, "7", ""},
        {"black reaching band 1", B1, {"Siyah"}, 0x000000, "0", ""},
        {"gold is no digit colour for band 1", B1, {"Altın"}, 0xFFFFFF, "", ""},
        {"black in band 2", B2, {"Siyah"}, 0x000000, "", "0"},
        {"second pick replaces the first", B2, {"Sarı", "Gri"}, 0x808080, "", "8"},
        {"band 3 paints, remembers nothing", B3, {"Kahverengi"}, 0x0040C0, "", ""},
        {"no multiplier keeps blue", B3, {"Mavi", "-"}, 0xFF0000, "", ""},
        {"gold", B4, {"Altın"}, 0xC0FFFF, "", ""},
        {"silver", B4, {"Gümüş"}, 0xE0E0E0, "", ""},
        {"digit colours mean nothing to band 4", B4, {"Mor"}, kWindowBackground, "", ""},
        {"unknown text changes nothing", B1, {"Sarı", "sarı"}, 0x00FFFF, "4", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        for (const auto& entry : row.picks) h->pick(row.band, entry);
        EXPECT_EQ(state().swatches[static_cast<std::size_t>(row.band)], row.swatch);
        EXPECT_EQ(h->form.digits().FirstDigit, row.firstDigit);
        EXPECT_EQ(h->form.digits().SecondDigit, row.secondDigit);
    }
}

struct ValueRow {
    const char* label;
    std::vector<const char*> bands;  // bands 1 to 4 picked in order; "" leaves a band as it is
    std::string result;
    std::string tolerance;
};

TEST_F(Commands, CalculationWritesValueAndTolerance) {
    const std::vector<ValueRow> rows = {
        {"nothing picked prompts", {}, "Renk Girin", "-"},
        {"row 1", {"Kahverengi", "Siyah", "-"}, "1Ohm", "-"},
        {"row 2", {"Sarı", "Mor", "-"}, "4,7Ohm", "-"},
        {"row 3", {"Sarı", "Mor", "Siyah"}, "47 Ohm", "-"},
        {"row 4", {"Sarı", "Mor", "Kahverengi"}, "470 Ohm", "-"},
        {"row 5", {"Kahverengi", "Siyah", "Kırmızı", "Altın"}, "1K", "%5"},
        {"row 6", {"Sarı", "Mor", "Kırmızı", "Altın"}, "4,7K", "%5"},
        {"row 7", {"Sarı", "Mor", "Turuncu"}, "47K", "-"},
        {"row 8", {"Sarı", "Mor", "Sarı"}, "470K", "-"},
        {"row 9", {"Kahverengi", "Siyah", "Yeşil"}, "1M", "-"},
        {"row 10", {"Sarı", "Mor", "Yeşil"}, "4,7M", "-"},
        {"row 11", {"Sarı", "Mor", "Mavi"}, "47M", "-"},
        {"row 12", {"Sarı", "Mor", "Mor"}, "470M", "-"},
        {"row 13", {"Sarı", "Mor", "Gri"}, "4700M", "-"},
        {"row 14", {"Sarı", "Mor", "Beyaz"}, "47000M", "-"},
        {"220 ohm silver", {"Kırmızı", "Kırmızı", "Kahverengi", "Gümüş"}, "220 Ohm", "%10"},
        {"10 ohm", {"Kahverengi", "Siyah", "Siyah"}, "10 Ohm", "-"},
        {"largest", {"Beyaz", "Beyaz", "Beyaz"}, "99000M", "-"},
        {"1,2M", {"Kahverengi", "Kırmızı", "Yeşil"}, "1,2M", "-"},
        {"100 ohm", {"Kahverengi", "Siyah", "Kahverengi"}, "100 Ohm", "-"},
        {"zero second digit shown", {"Kahverengi", "Siyah", "Turuncu"}, "10K", "-"},
        {"band 3 missing prompts", {"Sarı", "Mor", "", "Altın"}, "Renk Girin", "%5"},
        {"band 1 missing prompts", {"", "Mor", "Mor"}, "Renk Girin", "-"},
        {"band 4 missing does not prompt", {"Sarı", "Mor", "Kırmızı", ""}, "4,7K", "-"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        for (std::size_t i = 0; i < row.bands.size(); ++i) {
            if (*row.bands[i] != '\0') h->pick(kAllBandLists[i], row.bands[i]);
        }
        h->form.CommDH_Click();
        EXPECT_EQ(state().result, row.result);
        EXPECT_EQ(state().tolerance, row.tolerance);
        EXPECT_EQ(state().resultFontSize, 48.0f);
        EXPECT_EQ(state().resultTop, 3000.0f);
    }
}

TEST_F(Commands, CalculationChangesNoBandOrSwatch) {
    h->pick(B1, "Sarı");
    h->pick(B2, "Mor");
    h->pick(B3, "Kırmızı");
    const FakeState before = state();
    const DigitTexts digits = h->form.digits();
    h->form.CommDH_Click();
    EXPECT_EQ(state().bandTexts, before.bandTexts);
    EXPECT_EQ(state().swatches, before.swatches);
    EXPECT_EQ(h->form.digits().FirstDigit, digits.FirstDigit);
    EXPECT_EQ(h->form.digits().SecondDigit, digits.SecondDigit);
}

TEST_F(Commands, MissingToleranceKeepsThePreviousOne) {
    h->pick(B1, "Sarı");
    h->pick(B2, "Mor");
    h->pick(B3, "Kırmızı");
    h->pick(B4, "Gümüş");
    h->form.CommDH_Click();
    h->form.DYeni_Click();
    h->pick(B1, "Sarı");
    h->pick(B2, "Mor");
    h->pick(B3, "Kırmızı");
    state().tolerance = "%10";  // as if the reset had not cleared it
    h->form.CommDH_Click();
    EXPECT_EQ(state().result, "4,7K");
    EXPECT_EQ(state().tolerance, "%10");
}

// Typed text never builds a value from a digit the list no longer shows.
struct TypedRow {
    const char* label;
    std::vector<std::pair<BandList, const char*>> picks;
    std::vector<std::pair<BandList, const char*>> typed;
    bool aboutFirst;
    std::string result;
};

TEST_F(Commands, TypedTextThatIsNoPickPrompts) {
    const std::vector<TypedRow> rows = {
        {"band 1 typed, never picked", {{B2, "Kahverengi"}, {B3, "Turuncu"}}, {{B1, "x"}}, false, "Renk Girin"},
        {"band 1 colour typed, never picked", {{B2, "Kahverengi"}, {B3, "Turuncu"}}, {{B1, "Sarı"}}, false,
         "Renk Girin"},
        {"pick overwritten by typing", {{B1, "Sarı"}, {B2, "Mor"}, {B3, "Kırmızı"}}, {{B1, "Mor"}}, false,
         "Renk Girin"},
        {"band 2 overwritten by typing", {{B1, "Sarı"}, {B2, "Mor"}, {B3, "Kırmızı"}}, {{B2, "Siyah"}}, false,
         "Renk Girin"},
        {"band 3 typed over a value", {{B1, "Sarı"}, {B2, "Mor"}, {B3, "Kırmızı"}}, {{B3, "Kirmizi"}}, false,
         "Renk Girin"},
        {"band 3 typed after About", {{B1, "Sarı"}, {B2, "Mor"}, {B3, "Kırmızı"}}, {{B3, ""}}, true, "Renk Girin"},
        {"retyping the picked colour keeps the value", {{B1, "Sarı"}, {B2, "Mor"}, {B3, "Kırmızı"}},
         {{B1, "Sarı"}, {B2, "Mor"}}, false, "4,7K"},
        {"band 3 typed as an entry counts", {{B1, "Sarı"}, {B2, "Mor"}}, {{B3, "Turuncu"}}, false, "47K"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        for (const auto& [band, entry] : row.picks) h->pick(band, entry);
        h->form.CommDH_Click();
        if (row.aboutFirst) h->form.Hakkında_Click(21);
        for (const auto& [band, text] : row.typed) h->window.type(band, text);
        h->form.CommDH_Click();
        EXPECT_EQ(state().result, row.result);
        EXPECT_EQ(state().resultFontSize, 48.0f);
    }
}

TEST_F(Commands, ResetClearsChoicesButKeepsDigitsAndStyle) {
    h->pick(B1, "Sarı");
    h->pick(B2, "Mor");
    h->pick(B3, "Kırmızı");
    h->pick(B4, "Altın");
    h->form.CommDH_Click();
    h->form.Hakkında_Click(21);
    h->form.DYeni_Click();

    FakeState expected;
    expected.swatches = {kWhite, kWhite, kWhite, kWhite};
    expected.resultFontSize = 12.0f;
    expected.resultTop = 3300.0f;
    EXPECT_EQ(state(), expected);
    EXPECT_EQ(h->form.digits().FirstDigit, "4");
    EXPECT_EQ(h->form.digits().SecondDigit, "7");
    EXPECT_EQ(h->window.log, (std::vector<std::string>{
                                 "read Cr1", "colour pr1", "read Cr2", "colour pr2", "read Cr3", "colour pr3",
                                 "read Cr4", "colour pr4", "font Ls1", "top Ls1", "read Cr2", "read Cr3",
                                 "caption Ls1", "read Cr4", "caption Les2", "read Cr1", "read Cr2", "read Cr3",
                                 "top Ls1", "font Ls1", "caption Ls1", "text Cr1", "colour pr1", "text Cr2",
                                 "colour pr2", "text Cr3", "colour pr3", "text Cr4", "colour pr4", "caption Ls1",
                                 "caption Les2"}));

    h->form.CommDH_Click();
    EXPECT_EQ(state().result, "Renk Girin");
    EXPECT_EQ(state().resultFontSize, 48.0f);
    EXPECT_EQ(state().resultTop, 3000.0f);
}

TEST_F(Commands, AboutShowsTheAuthorLineAndIsIdempotent) {
    h->form.Hakkında_Click(21);
    const FakeState once = state();
    h->form.Hakkında_Click(21);
    EXPECT_EQ(state(), once);
    EXPECT_EQ(state().result, "     Hazırlayan: Tolvend, Versiyon:1.1");
    EXPECT_EQ(state().resultFontSize, 12.0f);
    EXPECT_EQ(state().resultTop, 3300.0f);
    EXPECT_EQ(state().tolerance, "-");
    EXPECT_EQ(state().bandTexts[0], "?");
}

TEST_F(Commands, ExitEndsTheProgramAndDoesNothingElse) {
    h->form.Çıkış_Click(11);
    EXPECT_TRUE(state().ended);
    EXPECT_EQ(h->window.log, std::vector<std::string>{"end"});
}

TEST(RuntimeErrorMessage, NamesControlOperationAndCodeInTurkish) {
    EXPECT_EQ(runtimeErrorMessage("Cr2", Operation::ReadText, static_cast<std::int32_t>(0x80004005u)),
              "Çalışma zamanı hatası: Cr2 denetiminde liste metni okunamadı (hata kodu 0x80004005).");
    EXPECT_EQ(runtimeErrorMessage("Ls1", Operation::SetTop, 7),
              "Çalışma zamanı hatası: Ls1 denetiminde üst kenar konumu ayarlanamadı (hata kodu 0x7).");
}

class GlobalReference : public Commands {};

TEST_F(GlobalReference, ToleranceGoesToTheDesignatedWindow) {
    FakeForm otherWindow;
    MainForm other(otherWindow);
    designateMainForm(&other);
    h->pick(B4, "Altın");
    h->form.CommDH_Click();
    EXPECT_EQ(otherWindow.state.tolerance, "%5");
    EXPECT_EQ(state().tolerance, "-");
    EXPECT_EQ(state().result, "Renk Girin");
}

TEST_F(GlobalReference, EmptyReferenceCreatesTheWindowOnceOnFirstUse) {
    designateMainForm(nullptr);
    int created = 0;
    FakeForm createdWindow;
    std::optional<MainForm> createdForm;
    setMainFormCreator([&]() -> MainForm& {
        ++created;
        return createdForm.emplace(createdWindow);
    });
    h->pick(B4, "Gümüş");
    h->form.CommDH_Click();
    h->form.CommDH_Click();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(designatedMainForm(), &*createdForm);
    EXPECT_EQ(createdWindow.state.tolerance, "%10");
    createdForm.reset();
    EXPECT_EQ(designatedMainForm(), nullptr);  // a destroyed window is never reached again
}

TEST_F(GlobalReference, NoToleranceNeedsNoWindow) {
    designateMainForm(nullptr);
    h->form.CommDH_Click();  // band 4 shows "?": the reference is not touched
    EXPECT_EQ(designatedMainForm(), nullptr);
}

}  // namespace
}  // namespace vaskelo

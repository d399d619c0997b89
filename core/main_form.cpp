#include "main_form.h"

#include <stdexcept>
#include <utility>

#include "runtime_error.h"
#include "value_text.h"

namespace vaskelo {

namespace {

MainForm* gMainForm = nullptr;
MainFormCreator gCreator;

// The digit a band text stands for, as the text a pick remembers.
std::string digitTextOf(const BandColour* row) {
    return row != nullptr && row->digit ? std::to_string(*row->digit) : std::string();
}

// Whether a band list still shows the colour its remembered digit came from.
bool showsRemembered(std::string_view text, const std::string& digit) {
    return !digit.empty() && digitTextOf(findBandColour(text)) == digit;
}

}  // namespace

MainForm::MainForm(FormOps& ops) : ops_(ops) {}

MainForm::~MainForm() {
    if (gMainForm == this) gMainForm = nullptr;
}

std::string MainForm::read(BandList list) {
    std::string text;
    check(ops_.bandText(list, text), controlName(list), Operation::ReadText);
    return text;
}

void MainForm::paint(Swatch swatch, ColourValue colour) {
    check(ops_.setSwatchColour(swatch, colour), controlName(swatch), Operation::SetBackColour);
}

void MainForm::setCaption(Label label, std::string_view caption) {
    check(ops_.setCaption(label, caption), controlName(label), Operation::SetCaption);
}

// Band picks recognise the ten numeric colours for bands 1 to 3 and the two
// tolerance colours for band 4; any other text (typed, "-", "?") changes nothing.
void MainForm::pickBand(BandList list, std::string* digit) {
    const BandColour* row = findBandColour(read(list));
    if (row == nullptr) return;
    const bool known = list == BandList::Cr4 ? row->tolerance.has_value() : row->digit.has_value();
    if (!known) return;
    paint(swatchOf(list), row->swatch);
    if (digit != nullptr) *digit = digitTextOf(row);
}

void MainForm::Cr1_Click() { pickBand(BandList::Cr1, &digits_.FirstDigit); }
void MainForm::Cr2_Click() { pickBand(BandList::Cr2, &digits_.SecondDigit); }
void MainForm::Cr3_Click() { pickBand(BandList::Cr3, nullptr); }
void MainForm::Cr4_Click() { pickBand(BandList::Cr4, nullptr); }

// A band counts as missing when it shows no colour the value can be built from:
// "?", or for bands 1 and 2 a text other than the colour whose digit was remembered
// (so typed text never yields a value from a stale or empty digit), or for band 3
// a text that is none of its entries.
bool MainForm::isMissing(BandList list) {
    const std::string text = read(list);
    switch (list) {
        case BandList::Cr1: return !showsRemembered(text, digits_.FirstDigit);
        case BandList::Cr2: return !showsRemembered(text, digits_.SecondDigit);
        case BandList::Cr3: return !isEntryOf(BandList::Cr3, text);
        case BandList::Cr4: return false;
    }
    return true;
}

void MainForm::CommDH_Click() {
    check(ops_.setFontSize(Label::Ls1, kResultFontSize), controlName(Label::Ls1), Operation::SetFontSize);
    check(ops_.setTop(Label::Ls1, kResultTop), controlName(Label::Ls1), Operation::SetTop);

    const bool band2IsBlack = read(BandList::Cr2) == kBlack;
    if (const auto value = valueText(digits_.FirstDigit, digits_.SecondDigit, band2IsBlack, read(BandList::Cr3))) {
        setCaption(Label::Ls1, *value);
    }

    // The tolerance goes to the program's one main window, whichever window was clicked.
    if (const BandColour* row = findBandColour(read(BandList::Cr4)); row != nullptr && row->tolerance) {
        theMainForm().setCaption(Label::Les2, *row->tolerance);
    }

    for (const BandList list : {BandList::Cr1, BandList::Cr2, BandList::Cr3}) {
        if (isMissing(list)) setCaption(Label::Ls1, kPrompt);
    }
}

void MainForm::reset() {
    for (const BandList list : kAllBandLists) {
        check(ops_.setBandText(list, kUnchosen), controlName(list), Operation::SetText);
        paint(swatchOf(list), kWhite);
    }
    setCaption(Label::Ls1, kNoResult);
    setCaption(Label::Les2, kNoResult);
}

void MainForm::DYeni_Click() { reset(); }
void MainForm::Yeni_Click(int /*Index*/) { reset(); }

void MainForm::Hakkında_Click(int /*Index*/) {
    check(ops_.setTop(Label::Ls1, kAboutTop), controlName(Label::Ls1), Operation::SetTop);
    check(ops_.setFontSize(Label::Ls1, kAboutFontSize), controlName(Label::Ls1), Operation::SetFontSize);
    setCaption(Label::Ls1, kAboutLine);
}

void MainForm::Çıkış_Click(int /*Index*/) { ops_.endProgram(); }

void designateMainForm(MainForm* form) { gMainForm = form; }
void setMainFormCreator(MainFormCreator creator) { gCreator = std::move(creator); }
MainForm* designatedMainForm() { return gMainForm; }

MainForm& theMainForm() {
    if (gMainForm == nullptr) {
        if (!gCreator) throw std::logic_error("no way to create the main window was registered");
        gMainForm = &gCreator();
    }
    return *gMainForm;
}

}  // namespace vaskelo

// The main window as the commands see it: its two remembered digit texts and the
// nine commands that the window's clicks run. Controls are reached only through
// FormOps, so any toolkit can stand behind it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "form_ops.h"
#include "texts.h"

namespace vaskelo {

inline constexpr std::string_view kPrompt = texts::kPrompt;
inline constexpr std::string_view kNoResult = texts::kDash;
inline constexpr std::string_view kAboutLine = texts::kAboutLine;
inline constexpr float kResultFontSize = 48.0f;
inline constexpr float kResultTop = 3000.0f;
inline constexpr float kAboutFontSize = 12.0f;
inline constexpr float kAboutTop = 3300.0f;

// Set by the band 1 and band 2 picks only; never cleared, not even by a reset.
struct DigitTexts {
    std::string FirstDigit;
    std::string SecondDigit;
};

class MainForm {
public:
    explicit MainForm(FormOps& ops);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    void Cr1_Click();
    void Cr2_Click();
    void Cr3_Click();
    void Cr4_Click();
    void CommDH_Click();
    void DYeni_Click();
    void Yeni_Click(int Index);
    void Hakkında_Click(int Index);
    void Çıkış_Click(int Index);

    const DigitTexts& digits() const { return digits_; }

private:
    std::string read(BandList list);
    void paint(Swatch swatch, ColourValue colour);
    void setCaption(Label label, std::string_view caption);
    void pickBand(BandList list, std::string* digit);
    bool isMissing(BandList list);
    void reset();

    FormOps& ops_;
    DigitTexts digits_;
};

// The program's one reference to its main window. The toolkit layer designates the
// window it created at start-up; code going through it while it is empty creates
// a window first, with the creator the toolkit layer registered.
using MainFormCreator = std::function<MainForm&()>;
void designateMainForm(MainForm* form);
void setMainFormCreator(MainFormCreator creator);
MainForm* designatedMainForm();
MainForm& theMainForm();

}  // namespace vaskelo

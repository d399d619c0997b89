#include "ui/gated_form.h"

namespace vaskelo {

Status GatedForm::admit(std::string_view name, ControlKind kind, Operation operation) const {
    if (!present(name, kind)) return kControlUnavailable;
    return gate_ ? gate_(name, operation) : kOk;
}

Status GatedForm::bandText(BandList list, std::string& text) {
    if (const Status s = admit(controlName(list), ControlKind::ComboBox, Operation::ReadText); s.failed()) return s;
    return readBandText(list, text);
}

Status GatedForm::setBandText(BandList list, std::string_view text) {
    if (const Status s = admit(controlName(list), ControlKind::ComboBox, Operation::SetText); s.failed()) return s;
    return writeBandText(list, text);
}

Status GatedForm::setSwatchColour(Swatch swatch, ColourValue colour) {
    if (const Status s = admit(controlName(swatch), ControlKind::PictureBox, Operation::SetBackColour); s.failed()) return s;
    return fillSwatch(swatch, colour);
}

Status GatedForm::setCaption(Label label, std::string_view caption) {
    if (const Status s = admit(controlName(label), ControlKind::Label, Operation::SetCaption); s.failed()) return s;
    return writeCaption(label, caption);
}

Status GatedForm::setFontSize(Label label, float points) {
    if (const Status s = admit(controlName(label), ControlKind::Label, Operation::SetFontSize); s.failed()) return s;
    if (!fontSizeInRange(points)) return kInvalidValue;
    return applyFontSize(label, points);
}

Status GatedForm::setTop(Label label, float twips) {
    if (const Status s = admit(controlName(label), ControlKind::Label, Operation::SetTop); s.failed()) return s;
    if (!topInRange(twips)) return kInvalidValue;
    return moveTop(label, twips);
}

}  // namespace vaskelo

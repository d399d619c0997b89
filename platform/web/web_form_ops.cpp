// The window's control operations, as the commands call them: each first makes sure
// its control is there and of its kind, and lets the operation gate fail it.
#include "platform/web/web_form.h"

#include "platform/web/dom.h"
#include "ui/spoken_names.h"

namespace vaskelo::web {

Status WebForm::admit(std::string_view name, Operation operation, ControlKind kind, Control*& control) {
    const auto it = controls_.find(name);
    control = it == controls_.end() ? nullptr : &it->second;
    if (control == nullptr || control->described == nullptr || control->described->kind != kind ||
        !control->element["isConnected"].as<bool>()) {
        return kControlUnavailable;
    }
    return gate_ ? gate_(name, operation) : kOk;
}

Status WebForm::bandText(BandList list, std::string& text) {
    Control* c = nullptr;
    if (const Status s = admit(controlName(list), Operation::ReadText, ControlKind::ComboBox, c); s.failed()) return s;
    text = c->list->text();
    return kOk;
}

Status WebForm::setBandText(BandList list, std::string_view text) {
    Control* c = nullptr;
    if (const Status s = admit(controlName(list), Operation::SetText, ControlKind::ComboBox, c); s.failed()) return s;
    c->list->showText(text);
    return kOk;
}

Status WebForm::setSwatchColour(Swatch swatch, ColourValue colour) {
    Control* c = nullptr;
    if (const Status s = admit(controlName(swatch), Operation::SetBackColour, ControlKind::PictureBox, c); s.failed()) {
        return s;
    }
    c->fill = colour;
    paintPicture();
    nameSwatch(swatch);
    return kOk;
}

Status WebForm::setCaption(Label label, std::string_view caption) {
    Control* c = nullptr;
    if (const Status s = admit(controlName(label), Operation::SetCaption, ControlKind::Label, c); s.failed()) return s;
    c->element.set("textContent", std::string(caption));
    return kOk;
}

Status WebForm::setFontSize(Label label, float size) {
    Control* c = nullptr;
    if (const Status s = admit(controlName(label), Operation::SetFontSize, ControlKind::Label, c); s.failed()) return s;
    if (!fontSizeInRange(size)) return kInvalidValue;
    styleOf(c->element, "font-size", points(static_cast<double>(size)));
    return kOk;
}

Status WebForm::setTop(Label label, float twips) {
    Control* c = nullptr;
    if (const Status s = admit(controlName(label), Operation::SetTop, ControlKind::Label, c); s.failed()) return s;
    if (!topInRange(twips)) return kInvalidValue;
    styleOf(c->element, "top", px(twipsToPixels(static_cast<double>(twips))));
    return kOk;
}

void WebForm::nameSwatch(Swatch swatch) {
    const Control* box = find(controlName(swatch));
    if (box == nullptr || !box->fill || box->element.isUndefined()) return;
    const ComboBox* list = combo(controlName(bandListOf(swatch)));
    const std::string bandText = list != nullptr ? list->text() : std::string(kUnchosen);
    val e = box->element;
    attribute(e, "aria-label", swatchName(description_, swatch, *box->fill, bandText));
}

}  // namespace vaskelo::web

// The window's own part of the control operations, on a control the gate has found
// present and of its kind.
#include "platform/web/web_form.h"

#include "platform/web/dom.h"
#include "ui/spoken_names.h"

namespace vaskelo::web {

bool WebForm::present(std::string_view name, ControlKind kind) const {
    const Control* c = find(name);
    return c != nullptr && c->described != nullptr && c->described->kind == kind && c->element["isConnected"].as<bool>();
}

Status WebForm::readBandText(BandList list, std::string& text) {
    text = controls_.find(controlName(list))->second.list->text();
    return kOk;
}

Status WebForm::writeBandText(BandList list, std::string_view text) {
    controls_.find(controlName(list))->second.list->showText(text);
    return kOk;
}

Status WebForm::fillSwatch(Swatch swatch, ColourValue colour) {
    controls_.find(controlName(swatch))->second.fill = colour;
    paintPicture();
    nameSwatch(swatch);
    return kOk;
}

Status WebForm::writeCaption(Label label, std::string_view caption) {
    controls_.find(controlName(label))->second.element.set("textContent", std::string(caption));
    return kOk;
}

Status WebForm::applyFontSize(Label label, float size) {
    styleOf(controls_.find(controlName(label))->second.element, "font-size", points(static_cast<double>(size)));
    return kOk;
}

Status WebForm::moveTop(Label label, float twips) {
    styleOf(controls_.find(controlName(label))->second.element, "top", px(twipsToPixels(static_cast<double>(twips))));
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

// The control operations as the commands call them, carried out the same way on every
// toolkit: the control is looked up, the operation gate may fail the operation, the
// value is checked against its range, and only then does the toolkit's own hook act.
// So a missing control, an injected failure or a value out of range behaves alike
// everywhere, whatever draws the window.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "core/form_ops.h"
#include "ui/form_binder.h"
#include "ui/window_description.h"

namespace vaskelo {

class GatedForm : public FormOps {
public:
    void setOperationGate(OperationGate gate) { gate_ = std::move(gate); }

    Status bandText(BandList list, std::string& text) final;
    Status setBandText(BandList list, std::string_view text) final;
    Status setSwatchColour(Swatch swatch, ColourValue colour) final;
    Status setCaption(Label label, std::string_view caption) final;
    Status setFontSize(Label label, float points) final;
    Status setTop(Label label, float twips) final;

protected:
    // Whether the control of that name is in the window now, and of that kind.
    virtual bool present(std::string_view name, ControlKind kind) const = 0;
    // The toolkit's own part of each operation, on a control known to be present, with
    // a value in range; a toolkit whose calls can fail says so in the status.
    virtual Status readBandText(BandList list, std::string& text) = 0;
    virtual Status writeBandText(BandList list, std::string_view text) = 0;
    virtual Status fillSwatch(Swatch swatch, ColourValue colour) = 0;
    virtual Status writeCaption(Label label, std::string_view caption) = 0;
    virtual Status applyFontSize(Label label, float points) = 0;
    virtual Status moveTop(Label label, float twips) = 0;

private:
    Status admit(std::string_view name, ControlKind kind, Operation operation) const;

    OperationGate gate_;
};

}  // namespace vaskelo

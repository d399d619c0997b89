#include "runtime_error.h"

#include <charconv>

namespace vaskelo {

std::string_view controlName(Swatch swatch) {
    switch (swatch) {
        case Swatch::pr1: return "pr1";
        case Swatch::pr2: return "pr2";
        case Swatch::pr3: return "pr3";
        case Swatch::pr4: return "pr4";
    }
    return {};
}

std::string_view controlName(Label label) {
    switch (label) {
        case Label::Ls1: return "Ls1";
        case Label::Les2: return "Les2";
    }
    return {};
}

Swatch swatchOf(BandList list) {
    switch (list) {
        case BandList::Cr1: return Swatch::pr1;
        case BandList::Cr2: return Swatch::pr2;
        case BandList::Cr3: return Swatch::pr3;
        case BandList::Cr4: return Swatch::pr4;
    }
    return Swatch::pr1;
}

std::string_view describe(Operation operation) {
    switch (operation) {
        case Operation::ReadText: return texts::kReadTextFailed;
        case Operation::SetText: return texts::kSetTextFailed;
        case Operation::SetBackColour: return texts::kSetBackColourFailed;
        case Operation::SetCaption: return texts::kSetCaptionFailed;
        case Operation::SetFontSize: return texts::kSetFontSizeFailed;
        case Operation::SetTop: return texts::kSetTopFailed;
    }
    return {};
}

std::string runtimeErrorMessage(std::string_view control, Operation operation, std::int32_t code) {
    char hex[16] = {};
    const auto end = std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(code), 16).ptr;
    std::string upper(hex, end);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    std::string message(texts::kRuntimeError);
    message += control;
    message += texts::kInControl;
    message += describe(operation);
    message += texts::kErrorCode;
    message += upper;
    message += ").";
    return message;
}

std::string unexpectedErrorMessage(std::string_view procedure, bool outOfMemory) {
    std::string message(texts::kRuntimeError);
    message += procedure;
    message += outOfMemory ? texts::kCommandOutOfMemory : texts::kCommandFailed;
    return message;
}

RuntimeError::RuntimeError(std::string_view control, Operation operation, std::int32_t code)
    : std::runtime_error(runtimeErrorMessage(control, operation, code)),
      control_(control),
      operation_(operation),
      code_(code) {}

void check(Status status, std::string_view control, Operation operation) {
    if (status.failed()) throw RuntimeError(control, operation, status.code);
}

}  // namespace vaskelo

// A failed control operation. Commands do not catch it: it leaves the command at
// the failing step, and whatever the command did before that stays done.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "form_ops.h"
#include "texts.h"

namespace vaskelo {

enum class Operation { ReadText, SetText, SetBackColour, SetCaption, SetFontSize, SetTop };

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::string_view control, Operation operation, std::int32_t code);

    const std::string& control() const { return control_; }
    Operation operation() const { return operation_; }
    std::int32_t code() const { return code_; }

private:
    std::string control_;
    Operation operation_;
    std::int32_t code_;
};

// Turkish wording, shared by every toolkit layer's error report.
std::string_view describe(Operation operation);
std::string runtimeErrorMessage(std::string_view control, Operation operation, std::int32_t code);
inline constexpr std::string_view kRuntimeErrorTitle = texts::kRuntimeErrorTitle;
// A command stopped by anything but a failed control operation: which command, and
// whether it ran out of memory.
std::string unexpectedErrorMessage(std::string_view procedure, bool outOfMemory);
// The window could not be opened, for a reason other than a missing control.
inline constexpr std::string_view kStartFailure = texts::kStartFailure;

// Raises the run-time error for a failed status; does nothing on success.
void check(Status status, std::string_view control, Operation operation);

}  // namespace vaskelo

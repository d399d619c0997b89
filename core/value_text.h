// Writes a resistance in the program's notation (4,7K, 470 Ohm, 1M) by joining the
// two digit texts with a suffix chosen by the band 3 colour; no number is computed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vaskelo {

// Nothing when band 3 is "?" or any text that selects no suffix.
std::optional<std::string> valueText(std::string_view firstDigit, std::string_view secondDigit,
                                     bool band2IsBlack, std::string_view band3);

}  // namespace vaskelo

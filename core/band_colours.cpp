#include "band_colours.h"

#include <algorithm>

namespace vaskelo {

namespace {

using texts::kAltin, texts::kBeyaz, texts::kGri, texts::kGumus, texts::kKahverengi, texts::kKirmizi, texts::kMavi,
    texts::kMor, texts::kSari, texts::kSiyah, texts::kTuruncu, texts::kYesil;

constexpr std::array<std::string_view, 9> kBand1Entries{kKahverengi, kKirmizi, kTuruncu, kSari, kYesil,
                                                        kMavi,       kMor,     kGri,     kBeyaz};
constexpr std::array<std::string_view, 10> kBand2Entries{kSiyah, kKahverengi, kKirmizi, kTuruncu, kSari,
                                                         kYesil, kMavi,       kMor,     kGri,     kBeyaz};
constexpr std::array<std::string_view, 11> kBand3Entries{kSiyah, kKahverengi, kKirmizi, kTuruncu, kSari, kYesil,
                                                         kMavi,  kMor,        kGri,     kBeyaz,   kNoMultiplier};
constexpr std::array<std::string_view, 2> kBand4Entries{kAltin, kGumus};

}  // namespace

const BandColour* findBandColour(std::string_view text) {
    const auto it = std::find_if(kBandColours.begin(), kBandColours.end(),
                                 [text](const BandColour& row) { return row.name == text; });
    return it == kBandColours.end() ? nullptr : &*it;
}

std::span<const std::string_view> bandEntries(BandList list) {
    switch (list) {
        case BandList::Cr1: return kBand1Entries;
        case BandList::Cr2: return kBand2Entries;
        case BandList::Cr3: return kBand3Entries;
        case BandList::Cr4: return kBand4Entries;
    }
    return {};
}

bool isEntryOf(BandList list, std::string_view text) {
    const auto entries = bandEntries(list);
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

std::string_view controlName(BandList list) {
    switch (list) {
        case BandList::Cr1: return "Cr1";
        case BandList::Cr2: return "Cr2";
        case BandList::Cr3: return "Cr3";
        case BandList::Cr4: return "Cr4";
    }
    return {};
}

}  // namespace vaskelo

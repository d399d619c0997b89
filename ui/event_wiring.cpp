#include "ui/event_wiring.h"

#include <array>

namespace vaskelo {

std::span<const EventBinding> eventBindings() {
    using E = ControlEvent;
    static constexpr std::array<EventBinding, 9> table{{
        {"CommDH", E::Click, "CommDH_Click", [](MainForm& f, int) { f.CommDH_Click(); }},
        {"Cr1", E::Click, "Cr1_Click", [](MainForm& f, int) { f.Cr1_Click(); }},
        {"Cr2", E::Click, "Cr2_Click", [](MainForm& f, int) { f.Cr2_Click(); }},
        {"Cr3", E::Click, "Cr3_Click", [](MainForm& f, int) { f.Cr3_Click(); }},
        {"Cr4", E::Click, "Cr4_Click", [](MainForm& f, int) { f.Cr4_Click(); }},
        {"Çıkış", E::Click, "Çıkış_Click", [](MainForm& f, int index) { f.Çıkış_Click(index); }},
        {"DYeni", E::Click, "DYeni_Click", [](MainForm& f, int) { f.DYeni_Click(); }},
        {"Hakkında", E::Click, "Hakkında_Click", [](MainForm& f, int index) { f.Hakkında_Click(index); }},
        {"Yeni", E::Click, "Yeni_Click", [](MainForm& f, int index) { f.Yeni_Click(index); }},
    }};
    return table;
}

}  // namespace vaskelo

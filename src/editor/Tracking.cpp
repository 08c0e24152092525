// Sliders and spins: the number beside the moved control follows it at once.
#include <algorithm>

#include "common/TextOps.h"
#include "editor/ControlIds.h"
#include "editor/ValueEditor.h"

namespace morvane {

void ValueEditor::OnHScroll(int controlId) {
    if (controlId != control::kPercentSlider) return;
    ExchangeFromControls();
    m_strPercent = std::to_string(static_cast<unsigned>(m_percentSlider.position)) + "%";
    ExchangeToControls();
}

void ValueEditor::OnVScroll(int controlId, int position) {
    ExchangeFromControls();
    for (std::size_t column = 0; column < 5; ++column) {
        if (controlId == control::kVersesColumns[column].slider)
            *VersesMember(column) = std::to_string(m_versesSliders[column].position) + "%";
    }
    if (controlId == control::kValueSpin) {
        m_valueSpin.position = static_cast<std::int16_t>(position);
        m_strValue = std::to_string(position);
    } else if (controlId == control::kChanceSpin) {
        m_chanceSpin.position = static_cast<std::int16_t>(position);
        m_strChance = std::to_string(position);
    }
    ExchangeToControls();
}

void ValueEditor::StepSpin(int controlId, int delta) {
    ExchangeFromControls();
    const bool value = controlId == control::kValueSpin;
    if (!value && controlId != control::kChanceSpin) return;
    const SpinControl& spin = value ? m_valueSpin : m_chanceSpin;
    // The spin steps from the number its edit holds, within its range.
    const std::int64_t current = ReadDecimal(value ? m_strValue : m_strChance);
    const int low = std::min<int>(spin.lower, spin.upper);
    const int high = std::max<int>(spin.lower, spin.upper);
    const auto next = static_cast<int>(std::clamp<std::int64_t>(current + delta, low, high));
    OnVScroll(controlId, next);
}

}  // namespace morvane

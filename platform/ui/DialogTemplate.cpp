#include "platform/ui/DialogTemplate.h"

#include <cmath>

const ControlTemplate *DialogTemplate::Find(int controlId) const {
    for (const ControlTemplate &control : controls) {
        if (control.id == controlId) {
            return &control;
        }
    }
    return nullptr;
}

std::vector<int> DialogTemplate::RadioGroup(int firstId) const {
    std::vector<int> radios;
    bool inside = false;
    for (const ControlTemplate &control : controls) {
        if (inside && control.group) {
            break;
        }
        if (control.id == firstId) {
            inside = true;
        }
        if (inside && control.kind == ControlKind::RadioButton) {
            radios.push_back(control.id);
        }
    }
    return radios;
}

UiRect DialogUnitsToPixels(const UiRect &rect, double scale) {
    auto x = [&](int units) { return static_cast<int>(std::lround(units * kDialogUnitX * scale)); };
    auto y = [&](int units) { return static_cast<int>(std::lround(units * kDialogUnitY * scale)); };
    return {x(rect.left), y(rect.top), x(rect.right), y(rect.bottom)};
}

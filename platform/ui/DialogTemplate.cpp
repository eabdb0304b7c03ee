#include "platform/ui/DialogTemplate.h"

#include <cmath>
#include <utility>

ControlTemplate Control(int id, ControlKind kind, std::string caption, int x, int y, int cx,
                        int cy) {
    ControlTemplate control;
    control.id = id;
    control.kind = kind;
    control.caption = std::move(caption);
    control.rect = UiRect{x, y, x + cx, y + cy};
    return control;
}

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

UiRect GrowRect(const UiRect &placed, const ControlGrowth &growth, int extraWidth,
                int extraHeight) {
    auto share = [](double part, int extra) { return static_cast<int>(std::lround(part * extra)); };
    const int left = placed.left + share(growth.left, extraWidth);
    const int top = placed.top + share(growth.top, extraHeight);
    return {left, top, left + placed.Width() + share(growth.width, extraWidth),
            top + placed.Height() + share(growth.height, extraHeight)};
}

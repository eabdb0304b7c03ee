#pragma once

#include <string>
#include <vector>

#include "platform/ui/UiDefs.h"

// A dialog described as data: its caption, size and controls in tab order, positioned in dialog
// units. Both the headless and the toolkit implementations build their windows from it, so the
// controls, captions, groups and start states are the same in tests and on screen.

enum class ControlKind {
    ListView, // report-view list control
    PushButton,
    DefPushButton,
    RadioButton, // auto radio button
    CheckBox,    // auto check box: a click turns it on or off
    GroupBox,
    Edit,
    ComboBox, // drop-down list: the user picks one of its items and types nothing
    StaticText,
    StaticFrame, // plain rectangle filled with the window colour
    Picture,     // bitmap resource
    Icon,        // icon resource
};

// How a control follows a window that the user made larger than its template: the share of the
// extra width its left edge moves and its width grows by, and of the extra height its top edge
// moves and its height grows by. All 0: it stays as placed.
struct ControlGrowth {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct ControlTemplate {
    int id = -1; // -1 for controls nobody addresses
    ControlKind kind = ControlKind::StaticText;
    std::string caption;
    UiRect rect;        // dialog units
    bool group = false; // starts a group of controls
    bool disabled = false;
    bool readOnly = false; // an edit whose text the user can read and copy but not change
    bool password = false; // an edit the user types a password into, its characters hidden
    int resourceId = 0;    // bitmap or icon of Picture and Icon controls
    std::string toolTip;   // shown when the pointer rests on the control; "" for none
    ControlGrowth growth;
};

// A control at (x, y) of size cx by cy, in dialog units; its other fields keep their defaults.
ControlTemplate Control(int id, ControlKind kind, std::string caption, int x, int y, int cx,
                        int cy);

// A key that sends a command to the dialog while it is active, wherever the focus is.
struct Accelerator {
    unsigned key = 0;       // virtual key: VK_... or an upper-case letter
    unsigned modifiers = 0; // FCONTROL, FSHIFT, both or 0
    int command = 0;        // sent as WM_COMMAND with this id, as a click on that button would
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int width = 0; // dialog units
    int height = 0;
    // The user can make the window larger than width x height (and maximise it); the controls
    // follow as their growth says. A window is never smaller than its template.
    bool resizable = false;
    std::string fontName;
    int fontPoints = 9;
    std::vector<ControlTemplate> controls;
    std::vector<Accelerator> accelerators;

    const ControlTemplate *Find(int controlId) const;
    // Radio buttons of the group that begins at control firstId, in tab order: it runs up to the
    // next control that starts a group; controls of other kinds inside it do not count.
    std::vector<int> RadioGroup(int firstId) const;
};

// Pixels of one horizontal and one vertical dialog unit for the dialog font at 96 dots per inch:
// a 9-point face averages 6 by 12 pixels, four and eight units respectively.
constexpr double kDialogUnitX = 1.5;
constexpr double kDialogUnitY = 1.5;

UiRect DialogUnitsToPixels(const UiRect &rect, double scale = 1.0);

// Where a control placed at `placed` (pixels) goes in a window extraWidth x extraHeight pixels
// larger than its template.
UiRect GrowRect(const UiRect &placed, const ControlGrowth &growth, int extraWidth, int extraHeight);

#pragma once

#include <cstdint>

#include "platform/ui/UiDefs.h"

// One message to a dialog: a command (WM_COMMAND: id of the control or menu item, code the
// notification such as BN_CLICKED), a list notification (WM_NOTIFY: id of the control, code such
// as NM_CLICK, with the rows it concerns in item and target), a window command (WM_SYSCOMMAND:
// id the command), files dropped on a control (WM_DROPFILES: id the control, param the HDROP),
// WM_SIZE or WM_CLOSE.
struct UiMessage {
    UINT message = 0;
    int id = 0;
    int code = 0;
    std::intptr_t param = 0;
    int item = -1;
    int target = -1;
};

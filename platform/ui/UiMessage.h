#pragma once

#include <cstdint>

#include "platform/ui/UiDefs.h"

// One message to a dialog: a command (WM_COMMAND: id of the control or menu item, code the
// notification such as BN_CLICKED), a list notification (WM_NOTIFY: id of the control, code such
// as NM_CLICK), a window command (WM_SYSCOMMAND: id the command) or WM_CLOSE.
struct UiMessage {
    UINT message = 0;
    int id = 0;
    int code = 0;
    std::intptr_t param = 0;
};

#pragma once

#include "platform/ui/DialogTemplate.h"

// The scan dialog's template: scanner, source, mode, resolution and page size as drop-down
// lists in that tab order, where the pages go, then "扫描" (IDOK, disabled until the chosen
// scanner's offer is known) and "取消".
const DialogTemplate &ScanDialogTemplate();

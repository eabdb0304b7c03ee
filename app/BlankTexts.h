// The window's texts about blank pages: the mark of a blank row, its tool tip's line, and the
// success box's count of the pages "跳过空白页" left out.
#pragma once

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

inline constexpr const char *kBlankRow = TR_NOOP("Window", "【空白页】%1");
inline constexpr const char *kBlankTip =
    TR_NOOP("Window", "空白页: 上面没有任何内容; 勾选“跳过空白页”时不放入 PDF");
inline constexpr const char *kBlankLeftOut = TR_N_NOOP("Window", "跳过了 %n 个空白页");

} // namespace folvane::app::texts

// The window's texts about open books: the two check boxes that split a photo of an open book
// into its two pages and choose which comes first, and the row of such a photo.
#pragma once

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

inline constexpr const char *kSpreads = TR_NOOP("Dialog", "书本分两页");
inline constexpr const char *kSpreadsTip =
    TR_NOOP("Dialog", "照片拍的是打开的书时, 在书脊处分开, 左右两页各成一页 (随“文档校正”)");
inline constexpr const char *kRightToLeft = TR_NOOP("Dialog", "从右到左");
inline constexpr const char *kRightToLeftTip =
    TR_NOOP("Dialog", "从右往左读的书: 右页在前, 左页在后");

// A row whose photo is an open book that will be split: its label, and a line of its tool tip.
inline constexpr const char *kSpreadRow = TR_NOOP("Window", "【2 页】%1");
inline constexpr const char *kSpreadTip = TR_NOOP("Window", "打开的书: 在书脊处分成两页");

} // namespace folvane::app::texts

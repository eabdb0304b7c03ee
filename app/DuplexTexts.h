// The texts of two-sided stacks fed through a one-sided feeder: the list's "双面合并" and the scan
// dialog's way of scanning both sides, fronts first, then the stack turned over for the backs.
#pragma once

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

// The list's right-click menu item, and why it refuses a list whose pages cannot pair (%1: how
// many pages the list holds).
inline constexpr const char *kMenuInterleave = TR_NOOP("Window", "双面合并");
inline constexpr const char *kInterleaveOddCount =
    TR_NOOP("Window", "双面合并需要偶数页: 先是各页的正面, 再是倒序的背面。列表中有 %1 页, "
                      "正面和背面的页数对不上, 列表没有改变。");

// The scan dialog's check box, and its tip.
inline constexpr const char *kScanTwoSided = TR_NOOP("Scan", "单面进纸器扫描双面");
inline constexpr const char *kScanTwoSidedTip =
    TR_NOOP("Scan", "先扫描所有正面, 再把整叠纸翻过来扫描背面, 然后按正面、背面的顺序排好");
// Between the sides (%1: the fronts scanned), with its answers.
inline constexpr const char *kTurnStackOver = TR_NOOP(
    "Scan", "正面已扫描完, 共 %1 页。\n请把整叠纸翻过来, 原样放回进纸器, 然后选\"扫描背面\"。");
inline constexpr const char *kAnswerScanBacks = TR_NOOP("Scan", "扫描背面");
inline constexpr const char *kAnswerStopTwoSided = TR_NOOP("Scan", "不扫描背面");
// The backs do not pair with the fronts (%1 fronts, %2 backs).
inline constexpr const char *kSidesDiffer =
    TR_NOOP("Scan", "正面扫描了 %1 页, 背面扫描了 %2 页, 页数不同, 所以没有合并。\n"
                    "扫描的页面都按扫描的顺序留在列表中, 可以手动调整。");

} // namespace folvane::app::texts

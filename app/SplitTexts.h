// The window's texts about "在空白页处分成多个文件": the check box and its tool tip, the success
// box's list of the documents written, and the failure box's word on the files left as they were.
#pragma once

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

inline constexpr const char *kSplitBlank = TR_NOOP("Dialog", "在空白页处分成多个文件");
inline constexpr const char *kSplitBlankTip = TR_NOOP(
    "Dialog", "空白页作为分隔页, 不放入文件; 其间的页面各存为“名称-001.pdf”、“名称-002.pdf”……");

// The success box: how many pages in how many documents, then one line per document.
// %1 and %2 are kSetPages and kSetFiles, each counting in its own plural.
inline constexpr const char *kWrittenSet = TR_NOOP("Window", "共 %1, 分成 %2保存:");
inline constexpr const char *kSetPages = TR_N_NOOP("Window", "%n 页");
inline constexpr const char *kSetFiles = TR_N_NOOP("Window", "%n 个文件");
inline constexpr const char *kWrittenMember = TR_N_NOOP("Window", "%1（%n 页）");
inline constexpr const char *kSeparatorsLeftOut =
    TR_N_NOOP("Window", "%n 个空白页作为分隔页, 未放入文件");

// The question before files of the same names are replaced: how many, their names, the ask.
inline constexpr const char *kReplaceSetQuestion =
    TR_N_NOOP("Window", "以下 %n 个文件已经存在, 生成后将被替换:");
inline constexpr const char *kReplaceSetAsk = TR_NOOP("Window", "要替换它们吗?");
inline constexpr const char *kAnswerReplace = TR_NOOP("Window", "替换");

// The failure box's last line when a set was not written.
inline constexpr const char *kSetNothingChanged =
    TR_NOOP("Window", "没有保存任何文件, 原有的同名文件保持不变。");

} // namespace folvane::app::texts

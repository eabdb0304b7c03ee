// The texts of "文档属性" and of the paper choice, in the window's source language, marked for
// its catalogue under "Window" (shown through folvane::app::texts::Window) or, for captions,
// "Dialog".
#pragma once

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

// The paper choice beside the classes: its group box and its items, in the order of
// folvane::AllPapers.
inline constexpr const char *kPaperGroup = TR_NOOP("Dialog", "纸张");
inline constexpr const char *kPaperNames[] = {
    TR_NOOP("Dialog", "A4"),        TR_NOOP("Dialog", "A3"),
    TR_NOOP("Dialog", "A5"),        TR_NOOP("Dialog", "B5"),
    TR_NOOP("Dialog", "美国信纸"),  TR_NOOP("Dialog", "美国法律用纸"),
    TR_NOOP("Dialog", "与图片相同")};

// The menu item and the dialog.
inline constexpr const char *kPropertiesItem = TR_NOOP("Dialog", "文档属性...");
inline constexpr const char *kPropertiesCaption = TR_NOOP("Dialog", "文档属性");
inline constexpr const char *kPropertyTitle = TR_NOOP("Dialog", "标题:");
inline constexpr const char *kPropertyAuthor = TR_NOOP("Dialog", "作者:");
inline constexpr const char *kPropertySubject = TR_NOOP("Dialog", "主题:");
inline constexpr const char *kPropertyKeywords = TR_NOOP("Dialog", "关键词:");
inline constexpr const char *kPropertiesNote =
    TR_NOOP("Dialog", "这些属性写入保存到上面路径的 PDF; 换了存放路径就要重新填写。");

// Why a property is refused; %1 names it (the label without its colon).
inline constexpr const char *kPropertyTooLong = TR_NOOP("Window", "%1太长: 最多 %2 个字。");
inline constexpr const char *kPropertyControl =
    TR_NOOP("Window", "%1含有控制字符(换行、制表符等), PDF 阅读器会显示成乱码。");
inline constexpr const char *kPropertyNotUtf8 =
    TR_NOOP("Window", "%1不是有效的 UTF-8 文字, PDF 阅读器会显示成乱码。");
inline constexpr const char *kPropertyNames[] = {
    TR_NOOP("Window", "标题"), TR_NOOP("Window", "作者"), TR_NOOP("Window", "主题"),
    TR_NOOP("Window", "关键词")};

} // namespace folvane::app::texts

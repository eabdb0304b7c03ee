// The window's texts that came after its first version: the questions, lines and tips added to
// it, each as one pattern whose %1, %2, ... stand for the numbers and paths filled in, so that a
// translation keeps its own word order; in a text that counts something, %n is the count, so that
// a translation can say "1 page" and "3 pages". The original texts stay where they were (the
// captions in Resources.cpp, the messages at the end of CFolvaneDlg.h). All are written in the
// window's source language and marked for its catalogue under the context "Window" (the tip of a
// control under "Dialog", with the captions); folvane::app::texts::Window shows them in the
// window's language.
#pragma once

#include <string>
#include <vector>

#include "pdf/TextPattern.h"
#include "platform/ui/Translation.h"

namespace folvane::app::texts {

// How many pages the chosen resolution class cuts at the page edge, and the largest share cut off.
inline constexpr const char *kPagesCut = TR_N_NOOP("Window", "%n 页图片超出页面(最多 %1%)");
// Asked before "生成PDF" writes such pages; %1 is kPagesCut.
inline constexpr const char *kCutQuestion = TR_NOOP(
    "Window", "%1\n超出页面的部分不会出现在PDF中。\n选\"适应页面\"可把每张图片整张缩放到页面上。");
inline constexpr const char *kAnswerFit = TR_NOOP("Window", "适应页面");
inline constexpr const char *kAnswerContinue = TR_NOOP("Window", "继续");

// The line under "操作成功!": the pages written and where; with cut pages, %2 is kPagesCut.
inline constexpr const char *kWritten = TR_N_NOOP("Window", "共 %n 页, 已保存到 %1");
inline constexpr const char *kWrittenCut = TR_N_NOOP("Window", "共 %n 页, 已保存到 %1; 其中 %2");
// The desktop has no program for a file handed to it (the finished PDF, an image).
inline constexpr const char *kCannotOpen =
    TR_NOOP("Window", "无法打开 %1\n桌面上没有能打开这种文件的程序。");
// Asked before a list that changed since the last PDF is thrown away.
inline constexpr const char *kExitQuestion = TR_N_NOOP("Window", "列表中有 %n 张图片, 确定退出吗?");

// "生成PDF" with rows that cannot be used: the question's head, one line per file (name and
// reason), "……" when more follow, and its end.
inline constexpr const char *kUnusableRows = TR_N_NOOP("Window", "列表中有 %n 张图片无法使用:");
inline constexpr const char *kUnusableRow = TR_NOOP("Window", "%1: %2");
inline constexpr const char *kMoreRows = TR_NOOP("Window", "……");
inline constexpr const char *kSkipQuestion =
    TR_N_NOOP("Window", "跳过它们, 用其余 %n 张图片生成PDF吗?");

// The progress window: its caption, the pages begun of all, and the file on its way (with
// "文字识别" checked, the file being recognised).
inline constexpr const char *kProgressCaption = TR_NOOP("Window", "生成PDF");
inline constexpr const char *kProgressPages = TR_NOOP("Window", "第 %1 / %2 页");
inline constexpr const char *kRecognising = TR_NOOP("Window", "文字识别: %1");
// The failure box's second line for a page of a file of several.
inline constexpr const char *kFileAndPage = TR_NOOP("Window", "%1 第 %2 页");

// The add dialog: its title and its filter, which names every kind of file it takes.
inline constexpr const char *kAddTitle = TR_NOOP("Window", "选择一个或者多个JPG文件");
inline constexpr const char *kAddFilter =
    TR_NOOP("Window", "JPG,TIF,PNG,PDF文件(*.jpg;*.jpeg;*.tif;*.tiff;*.png;*.pdf)");
// The save dialog's filter names.
inline constexpr const char *kPdfFiles = TR_NOOP("Window", "PDF文件 (*.PDF)");
inline constexpr const char *kAllFiles = TR_NOOP("Window", "All Files (*.*)");
// The list's column headings.
inline constexpr const char *kNumberColumn = TR_NOOP("Window", "序号");
inline constexpr const char *kFileColumn = TR_NOOP("Window", "图片文件");

// "调整边角": the corner editor's title, what it asks, what it says instead while the corners give
// no page, its button back to the sheet found by the program; what the window says when the
// photo cannot be opened for it, and when the corners placed give no page.
inline constexpr const char *kCornersTitle = TR_NOOP("Window", "调整边角");
inline constexpr const char *kCornersHint =
    TR_NOOP("Window", "把四个圆点拖到纸张的四个角上; 右边是校正后的页面。");
inline constexpr const char *kCornersRefused =
    TR_NOOP("Window", "这四个角围不成一页纸: 请把圆点分别拖到纸张的四个角上, 边线不要交叉。");
inline constexpr const char *kAnswerAutomatic = TR_NOOP("Window", "自动");
inline constexpr const char *kCornersUnreadable = TR_NOOP("Window", "无法打开 %1 来调整边角。");
inline constexpr const char *kCornersUnusable =
    TR_NOOP("Window", "这四个角围不成一页纸, 边角没有改变。");

// "裁剪": the crop editor's title, what it asks, its button back to the whole page, why it keeps a
// rectangle from being kept, and what the window says when the page cannot be opened for it.
inline constexpr const char *kCropTitle = TR_NOOP("Window", "裁剪");
inline constexpr const char *kCropHint = TR_NOOP(
    "Window",
    "拖动方框的边和角, 框出要保留的部分; 方框里按住可整体移动。方向键微调, 按住 Shift 移得更多。");
inline constexpr const char *kAnswerWholePage = TR_NOOP("Window", "整页");
inline constexpr const char *kCropTooSmall =
    TR_NOOP("Window", "裁剪后的页面太小: 宽和高都至少要 %1 像素。");
inline constexpr const char *kCropOutside = TR_NOOP("Window", "裁剪的方框要在图片之内。");
inline constexpr const char *kCropUnreadable = TR_NOOP("Window", "无法打开 %1 来裁剪。");

// The list's right-click menu: the row commands after "资料修改", "关于" and "退出", then undo and
// redo, with the name of the command they would take back or make again (pageCommandName).
inline constexpr const char *kMenuDelete = TR_NOOP("Window", "删除");
inline constexpr const char *kMenuMoveUp = TR_NOOP("Window", "上移");
inline constexpr const char *kMenuMoveDown = TR_NOOP("Window", "下移");
inline constexpr const char *kMenuRotateLeft = TR_NOOP("Window", "向左旋转");
inline constexpr const char *kMenuRotateRight = TR_NOOP("Window", "向右旋转");
inline constexpr const char *kMenuCrop = TR_NOOP("Window", "裁剪");
inline constexpr const char *kMenuUndo = TR_NOOP("Window", "撤销");
inline constexpr const char *kMenuRedo = TR_NOOP("Window", "重做");
inline constexpr const char *kMenuUndoCommand = TR_NOOP("Window", "撤销%1");
inline constexpr const char *kMenuRedoCommand = TR_NOOP("Window", "重做%1");

// The tip of "清空列表": the list it empties comes back with Ctrl+Z.
inline constexpr const char *kClearListTip = TR_NOOP("Dialog", "清空列表 (Ctrl+Z 恢复)");

// The pattern with %1, %2, ... replaced by the values in order (pdf/TextPattern.h).
using folvane::fill;

// A text marked under "Window", in the window's language, with %1, %2, ... filled.
std::string window(const char *pattern, const std::vector<std::string> &values = {});
// A text marked under "Window" that counts n things, in the form for n, with %n and %1, ... filled.
std::string windowCount(const char *pattern, int n, const std::vector<std::string> &values = {});

} // namespace folvane::app::texts

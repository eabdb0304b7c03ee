// The window's texts that came after its first version: the questions, lines and tips added to
// it, each as one pattern whose %1, %2, ... stand for the numbers and paths filled in, so that a
// translation keeps its own word order. The original texts stay where they were (the captions in
// Resources.cpp, the messages at the end of CFolvaneDlg.h).
#pragma once

#include <string>
#include <vector>

namespace texts {

// How many pages the chosen resolution class cuts at the page edge, and the largest share cut off.
inline constexpr const char *kPagesCut = "%1 页图片超出页面(最多 %2%)";
// Asked before "生成PDF" writes such pages; %1 is kPagesCut.
inline constexpr const char *kCutQuestion =
    "%1\n超出页面的部分不会出现在PDF中。\n选\"适应页面\"可把每张图片整张缩放到页面上。";
inline constexpr const char *kAnswerFit = "适应页面";
inline constexpr const char *kAnswerContinue = "继续";

// The line under "操作成功!": the pages written and where; with cut pages, %3 is kPagesCut.
inline constexpr const char *kWritten = "共 %1 页, 已保存到 %2";
inline constexpr const char *kWrittenCut = "共 %1 页, 已保存到 %2; 其中 %3";
// The desktop has no program for a file handed to it (the finished PDF, an image).
inline constexpr const char *kCannotOpen = "无法打开 %1\n桌面上没有能打开这种文件的程序。";

// The add dialog's filter: every kind of file it takes.
inline constexpr const char *kAddFilter = "JPG,TIF,PNG文件(*.jpg;*.jpeg;*.tif;*.tiff;*.png)";
// The tip of "清空列表": the list it empties comes back with Ctrl+Z.
inline constexpr const char *kClearListTip = "清空列表 (Ctrl+Z 恢复)";

// The pattern with %1, %2, ... replaced by the values in order; a % before anything else stays.
std::string Fill(const std::string &pattern, const std::vector<std::string> &values);

} // namespace texts

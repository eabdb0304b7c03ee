// The texts of scanning in the window: the scan dialog, its progress window, the question when
// a feeder has run empty and every way a scan can fail. Each is one pattern whose %1, %2, ...
// stand for the values filled in (folvane::app::texts::Scan), so that a translation keeps its own
// word order.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

// The main window's button, and the scan dialog's caption, labels and button.
inline constexpr const char *kScanButton = TR_NOOP("Scan", "扫描");
inline constexpr const char *kScanCaption = TR_NOOP("Scan", "扫描");
inline constexpr const char *kScanDeviceLabel = TR_NOOP("Scan", "扫描仪:");
inline constexpr const char *kScanSourceLabel = TR_NOOP("Scan", "来源:");
inline constexpr const char *kScanModeLabel = TR_NOOP("Scan", "模式:");
inline constexpr const char *kScanResolutionLabel = TR_NOOP("Scan", "分辨率:");
inline constexpr const char *kScanPageSizeLabel = TR_NOOP("Scan", "纸张大小:");
inline constexpr const char *kScanStart = TR_NOOP("Scan", "扫描");
inline constexpr const char *kScanCancel = TR_NOOP("Scan", "取消");
// Under the page size when the paper is larger than the scanner's bed: %1 x %2 the paper's
// size, %3 x %4 the bed's, in millimetres.
inline constexpr const char *kScanPaperBeyondBed = TR_NOOP(
    "Scan", "纸张（%1 x %2 毫米）比扫描仪的扫描区域（%3 x %4 毫米）大, 只扫描扫描仪上的部分");
// Where the pages go: %1 is the folder in which each scan gets a folder of its own.
inline constexpr const char *kScanFolder = TR_NOOP("Scan", "扫描的页面保存在 %1 中");
// The word each scan's own folder is named with, before its date and time ("扫描 2026-12-10 0930").
inline constexpr const char *kScanFolderWord = TR_NOOP("Scan", "扫描");

// The scanner list while scanners are looked for, and when none was found.
inline constexpr const char *kScanLooking = TR_NOOP("Scan", "正在查找扫描仪...");
inline constexpr const char *kScanNoneFound = TR_NOOP("Scan", "未找到扫描仪");
// A scanner in the list: %1 its maker, %2 its model, %3 its name for the system.
inline constexpr const char *kScanDevice = TR_NOOP("Scan", "%1 %2 (%3)");

// The choices: sources, modes, resolutions, page sizes. A scanner that offers no choice of
// something scans it its own way.
inline constexpr const char *kSourceFlatbed = TR_NOOP("Scan", "平板");
inline constexpr const char *kSourceFeeder = TR_NOOP("Scan", "自动进纸器");
inline constexpr const char *kSourceDuplex = TR_NOOP("Scan", "自动进纸器(双面)");
inline constexpr const char *kModeColor = TR_NOOP("Scan", "彩色");
inline constexpr const char *kModeGray = TR_NOOP("Scan", "灰度");
inline constexpr const char *kModeLineart = TR_NOOP("Scan", "黑白");
inline constexpr const char *kResolution = TR_NOOP("Scan", "%1 dpi");
inline constexpr const char *kPageA4 = TR_NOOP("Scan", "A4");
inline constexpr const char *kPageLetter = TR_NOOP("Scan", "Letter");
inline constexpr const char *kPageMaximum = TR_NOOP("Scan", "整个扫描区域");
inline constexpr const char *kScannerOwn = TR_NOOP("Scan", "扫描仪默认");

// The progress window: its caption, its first line before the first page and while a page is
// read, its second line.
inline constexpr const char *kScanProgressCaption = TR_NOOP("Scan", "扫描");
inline constexpr const char *kScanOpening = TR_NOOP("Scan", "正在打开扫描仪...");
inline constexpr const char *kScanPage = TR_NOOP("Scan", "正在扫描第 %1 页");
inline constexpr const char *kScanInto = TR_NOOP("Scan", "保存到 %1");

// The feeder ran empty after %1 pages of this scan: refill it and go on, or stop.
inline constexpr const char *kFeederDone = TR_NOOP(
    "Scan", "进纸器已空, 已扫描 %1 页。\n放入更多页面后选\"继续扫描\"; 没有了就选\"完成\"。");
inline constexpr const char *kAnswerScanMore = TR_NOOP("Scan", "继续扫描");
inline constexpr const char *kAnswerScanDone = TR_NOOP("Scan", "完成");
// The no-scanner box's answer that looks for scanners again.
inline constexpr const char *kAnswerRetry = TR_NOOP("Scan", "重试");

// The box of a failed scan: where it stopped, why (one of the sentences below), and the pages
// kept from it (%1 pages, in folder %2).
inline constexpr const char *kScanFailed = TR_NOOP("Scan", "扫描失败");
inline constexpr const char *kScanFailedAtPage = TR_NOOP("Scan", "扫描第 %1 页时失败");
inline constexpr const char *kScanPagesKept =
    TR_NOOP("Scan", "已扫描的 %1 页已加入列表, 文件在 %2");

// Why a scan failed, one sentence for each kind of failure. A driver's or the system's own
// words follow in parentheses.
inline constexpr const char *kScanNoDevice = TR_NOOP("Scan", "没有找到扫描仪。");
inline constexpr const char *kScanNoDeviceNamed = TR_NOOP("Scan", "没有找到扫描仪“%1”。");
inline constexpr const char *kScanNoDeviceHint = TR_NOOP(
    "Scan", "请检查: 扫描仪已连好并打开了电源; 您有权使用它(在 Debian 上要属于 scanner 组: sudo "
            "adduser $USER scanner, 然后重新登录); 网络扫描仪要在 /etc/sane.d/net.conf 中写上运行 "
            "saned 的计算机, 并且那里的 saned 允许本机使用。");
inline constexpr const char *kScanBusy =
    TR_NOOP("Scan", "扫描仪正忙, 可能正被别的程序使用; 请等它空闲后再试。");
inline constexpr const char *kScanFeederEmpty =
    TR_NOOP("Scan", "进纸器里没有纸: 请放入页面后再扫描。");
inline constexpr const char *kScanPaperJam =
    TR_NOOP("Scan", "进纸器卡纸: 请取出卡住的纸, 再扫描其余的页面。");
inline constexpr const char *kScanCoverOpen = TR_NOOP("Scan", "扫描仪的盖子开着: 请合上后再扫描。");
inline constexpr const char *kScanIoError =
    TR_NOOP("Scan", "扫描仪没有回应(输入输出错误): 请检查它的数据线或网络连接。");
inline constexpr const char *kScanAccessDenied = TR_NOOP(
    "Scan",
    "无权使用扫描仪: 您可能没有使用这个设备的权限(在 Debian 上要属于 scanner 组), 或者它要密码。");
inline constexpr const char *kScanOutOfMemory = TR_NOOP("Scan", "扫描仪的驱动程序内存不足。");
inline constexpr const char *kScanCancelled = TR_NOOP("Scan", "扫描已取消。");
inline constexpr const char *kScanRefused = TR_NOOP("Scan", "扫描仪不接受这些设置。");
// The scanner refused value %2 of its option %1, or the option %1 itself.
inline constexpr const char *kScanRefusedValue = TR_NOOP("Scan", "扫描仪的选项“%1”不接受“%2”。");
inline constexpr const char *kScanRefusedOption = TR_NOOP("Scan", "扫描仪不接受选项“%1”的设置。");
inline constexpr const char *kScanWriteFailed = TR_NOOP("Scan", "无法写入页面文件“%1”。");
inline constexpr const char *kScanOther = TR_NOOP("Scan", "扫描失败。");
inline constexpr const char *kScanModuleCannotLoad =
    TR_NOOP("Scan", "无法扫描: 无法加载扫描模块 %1。");
inline constexpr const char *kScanModuleWrongVersion =
    TR_NOOP("Scan", "无法扫描: %1 不是这个版本的扫描模块。");

// A scanning text in the window's language, with %1, %2, ... filled.
std::string scan(const char *pattern, const std::vector<std::string> &values = {});

} // namespace folvane::app::texts

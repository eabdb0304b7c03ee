// The texts of scanning in the window: the scan dialog, its progress window, the question when
// a feeder has run empty and every way a scan can fail. Each is one pattern whose %1, %2, ...
// stand for the values filled in (texts::Fill), so that a translation keeps its own word order.
#pragma once

namespace texts {

// The main window's button, and the scan dialog's caption, labels and button.
inline constexpr const char *kScanButton = "扫描";
inline constexpr const char *kScanCaption = "扫描";
inline constexpr const char *kScanDeviceLabel = "扫描仪:";
inline constexpr const char *kScanSourceLabel = "来源:";
inline constexpr const char *kScanModeLabel = "模式:";
inline constexpr const char *kScanResolutionLabel = "分辨率:";
inline constexpr const char *kScanPageSizeLabel = "纸张大小:";
inline constexpr const char *kScanStart = "扫描";
inline constexpr const char *kScanCancel = "取消";
// Where the pages go: %1 is the folder in which each scan gets a folder of its own.
inline constexpr const char *kScanFolder = "扫描的页面保存在 %1 中";

// The scanner list while scanners are looked for, and when none was found.
inline constexpr const char *kScanLooking = "正在查找扫描仪...";
inline constexpr const char *kScanNoneFound = "未找到扫描仪";
// A scanner in the list: %1 its maker, %2 its model, %3 its name for the system.
inline constexpr const char *kScanDevice = "%1 %2 (%3)";

// The choices: sources, modes, resolutions, page sizes. A scanner that offers no choice of
// something scans it its own way.
inline constexpr const char *kSourceFlatbed = "平板";
inline constexpr const char *kSourceFeeder = "自动进纸器";
inline constexpr const char *kSourceDuplex = "自动进纸器(双面)";
inline constexpr const char *kModeColor = "彩色";
inline constexpr const char *kModeGray = "灰度";
inline constexpr const char *kModeLineart = "黑白";
inline constexpr const char *kResolution = "%1 dpi";
inline constexpr const char *kPageA4 = "A4";
inline constexpr const char *kPageLetter = "Letter";
inline constexpr const char *kPageMaximum = "整个扫描区域";
inline constexpr const char *kScannerOwn = "扫描仪默认";

// The progress window: its caption, its first line before the first page and while a page is
// read, its second line.
inline constexpr const char *kScanProgressCaption = "扫描";
inline constexpr const char *kScanOpening = "正在打开扫描仪...";
inline constexpr const char *kScanPage = "正在扫描第 %1 页";
inline constexpr const char *kScanInto = "保存到 %1";

// The feeder ran empty after %1 pages of this scan: refill it and go on, or stop.
inline constexpr const char *kFeederDone =
    "进纸器已空, 已扫描 %1 页。\n放入更多页面后选\"继续扫描\"; 没有了就选\"完成\"。";
inline constexpr const char *kAnswerScanMore = "继续扫描";
inline constexpr const char *kAnswerScanDone = "完成";

// The box of a failed scan: where it stopped, why (one of the sentences below), and the pages
// kept from it (%1 pages, in folder %2).
inline constexpr const char *kScanFailed = "扫描失败";
inline constexpr const char *kScanFailedAtPage = "扫描第 %1 页时失败";
inline constexpr const char *kScanPagesKept = "已扫描的 %1 页已加入列表, 文件在 %2";

// Why a scan failed, one sentence for each kind of failure. A driver's or the system's own
// words follow in parentheses.
inline constexpr const char *kScanNoDevice = "没有找到扫描仪。";
inline constexpr const char *kScanNoDeviceNamed = "没有找到扫描仪“%1”。";
inline constexpr const char *kScanNoDeviceHint =
    "请检查: 扫描仪已连好并打开了电源; 您有权使用它(在 Debian 上要属于 scanner 组: sudo "
    "adduser $USER scanner, 然后重新登录); 网络扫描仪要在 /etc/sane.d/net.conf 中写上运行 "
    "saned 的计算机, 并且那里的 saned 允许本机使用。";
inline constexpr const char *kScanBusy = "扫描仪正忙, 可能正被别的程序使用; 请等它空闲后再试。";
inline constexpr const char *kScanFeederEmpty = "进纸器里没有纸: 请放入页面后再扫描。";
inline constexpr const char *kScanPaperJam = "进纸器卡纸: 请取出卡住的纸, 再扫描其余的页面。";
inline constexpr const char *kScanCoverOpen = "扫描仪的盖子开着: 请合上后再扫描。";
inline constexpr const char *kScanIoError =
    "扫描仪没有回应(输入输出错误): 请检查它的数据线或网络连接。";
inline constexpr const char *kScanAccessDenied =
    "无权使用扫描仪: 您可能没有使用这个设备的权限(在 Debian 上要属于 scanner 组), 或者它要密码。";
inline constexpr const char *kScanOutOfMemory = "扫描仪的驱动程序内存不足。";
inline constexpr const char *kScanCancelled = "扫描已取消。";
inline constexpr const char *kScanRefused = "扫描仪不接受这些设置。";
// The scanner refused value %2 of its option %1, or the option %1 itself.
inline constexpr const char *kScanRefusedValue = "扫描仪的选项“%1”不接受“%2”。";
inline constexpr const char *kScanRefusedOption = "扫描仪不接受选项“%1”的设置。";
inline constexpr const char *kScanWriteFailed = "无法写入页面文件“%1”。";
inline constexpr const char *kScanOther = "扫描失败。";

} // namespace texts

#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "app/CutPages.h"
#include "app/ScannerAccess.h"
#include "app/SheetCheck.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/Translation.h"

class BackgroundQueue;
class CorrectedPreviewCache;
class ScanSession;
class UiToolkit;

// The main window: the ordered image list (the only store of its rows), the current row, the
// save path and the resolution class, and every command the window offers. Each handler runs to
// completion on the user-interface thread.
class CFolvaneDlg : public CDialog {
public:
    explicit CFolvaneDlg(UiToolkit &ui);
    ~CFolvaneDlg() override;

    int m_nSelected;        // current row, -1 = none
    CListCtrl m_listImages; // rows: sequence number, full path
    std::string m_strSavePath;
    int m_nImageType; // radio index: resolution class 0 to 5, kImageTypeFit = fit the page
    bool m_bOcr;      // "文字识别": the PDF gets a text layer recognised from its pages
    bool m_bDocument; // "文档校正": every page goes in corrected as a document
    HICON m_hIcon;
    CImageList m_imageList;
    CFont m_fontList;
    // Files the window starts with (its command line's), added in this order at start-up.
    std::vector<std::string> m_startFiles;
    // How a file's page is checked for the pre-flight (the engine's own inspection).
    std::function<folvane::ImageFacts(const std::string &)> m_fnInspect;
    // How "扫描" reaches scanners (the scanning library's own calls).
    ScannerAccess m_scanners;

    void DoDataExchange(CDataExchange *dx) override;
    bool OnInitDialog() override;
    // Enter would end the window and lose the user's list; the window has no OK button, so
    // Enter outside a push button does nothing.
    void OnOK() override;
    // Escape, the close box and 退出: a list built since the last PDF is not thrown away without
    // the user's yes. The window's size is remembered for the next start.
    void OnCancel() override;

    // Shows the page the PDF will get for one image file, for the current m_nImageType, in
    // the preview frame; the placeholder picture for a file it cannot read
    // (CFolvaneDlgPreview.cpp).
    virtual void ShowPreview(std::string path);
    // Shows the current row's page again, for the current m_nImageType (after the mode
    // changed); nothing without a current row.
    void RefreshPreview();
    // The file the preview loads for path: path itself for the picture extensions it reads
    // (.jpg, .jpeg, .tif, .tiff, .bmp, .png in any case), otherwise the placeholder picture
    // beside the executable.
    static std::string PreviewFilePath(const std::string &path);

    // Commands.
    void OnSysCommand(UINT id, std::intptr_t param);
    void OnBtnMoveUp();
    void OnBtnMoveDown();
    void OnBtnMoveTop();
    void OnBtnMoveBottom();
    void OnClickList(NMHDR *header, LRESULT *result);
    void OnDblclkList(NMHDR *header, LRESULT *result);
    void OnRclickList(NMHDR *header, LRESULT *result);
    void OnItemChangedList(NMHDR *header, LRESULT *result);
    void OnRowDraggedList(NMHDR *header, LRESULT *result);
    void OnDropFiles(HDROP drop);
    void OnBtnViewImage();
    void OnMenuAbout();
    void OnMenuExit();
    void OnBtnAddImages();
    // "扫描": the scan dialog, then pages from the scanner added to the list as each arrives,
    // in scan order, a feeder refilled as often as the user likes (CFolvaneDlgScan.cpp).
    void OnBtnScan();
    void OnBtnDelete();
    void OnBtnGenerate();
    void OnBtnClearList();
    void OnBtnBrowse();
    void OnBtnSortByName();
    // Ctrl+Z: the rows "清空列表" took away come back, in their order, with the row that was
    // current; only while the list is still empty (nothing else has happened to it since).
    void OnEditUndo();
    // The window has a new size: the preview is drawn again at the frame's new size.
    void OnSize();
    template <int Index> void OnRadioImageType() { SetImageType(Index); }
    // The radio index the user chose: kept, remembered for the next start.
    void SetImageType(int index);
    // "文字识别" was clicked: its state is kept, remembered for the next start.
    void OnCheckOcr();
    // "文档校正" was clicked: its state is kept, remembered for the next start.
    void OnCheckDocument();

    // Shared steps of the commands.
    void Renumber();
    void SortInsert(int row);
    // Orders two paths by their file names (without folder and extension) as the desktop's file
    // manager does: numbers by value, letters without regard to case; names it holds equal by
    // their bytes.
    int CompareFileNames(const std::string &a, const std::string &b) const;
    void MarkRow(int row);
    void ClearPreviewFrame();
    int HighlightedRow() const;
    // The row every row command acts on: the highlighted row, the one the preview shows (or the
    // current row while nothing is highlighted); m_nSelected is brought to it. -1 for none.
    int CurrentRow();
    // Adds files as the add dialog does: each sorted in by file name, then the first row made
    // current when nothing is highlighted, and the current row previewed.
    void SortInFiles(const std::vector<std::string> &paths);
    // Adds files at the end in the given order; the first row becomes current when nothing is.
    void AppendFiles(const std::vector<std::string> &paths);
    // The path of every row, in list order.
    std::vector<std::string> ListPaths() const;

    // Pre-flight (CFolvaneDlgPreflight.cpp): each file is checked in the background once added;
    // its row shows the result (red with the reason for a file that cannot be used).
    void CheckFiles(const std::vector<std::string> &paths);
    void ShowRowChecks();
    void ShowRowCheck(int row);
    // The check of a row's file, or null while it is not known.
    const folvane::ImageFacts *RowFacts(int row) const;
    bool ChecksPending() const {
        return !m_checking.empty() || !m_checkedUnshown.empty() || !m_sheetSearching.empty();
    }

    // Document correction (CFolvaneDlgDocument.cpp): while "文档校正" is checked every row's
    // photo is searched for its sheet in the background, and its tool tip says whether the
    // sheet was found; corners the user placed for a row's file replace the search.
    void SearchSheets(const std::vector<std::string> &paths);
    // The search of a row's file, or null while it is not known.
    const SheetCheck *RowSheet(int row) const;
    // The corners placed by hand for a file, if any.
    std::optional<folvane::SheetCorners> HandCorners(const std::string &path) const;
    // "调整边角": the corner editor for the current row's photo. Its corners are kept for the
    // file ("确定"), given up for the sheet the program finds ("自动"), or left as they were.
    void OnBtnCorners();
    // A double click on the preview: the corner editor, while "文档校正" is checked.
    void OnDblclkPreview(NMHDR *header, LRESULT *result);
    // "调整边角" can be used while "文档校正" is checked.
    void EnableCornersButton();

protected:
    bool OnWndMsg(const UiMessage &msg, LRESULT *result) override;

private:
    static std::span<const MessageMapEntry<CFolvaneDlg>> MessageMap();
    // The guards of the four moves: focus to the list, then a refusal for an empty list, for no
    // current row and for a current row at boundary.
    bool CurrentRowMayMove(int boundary, const char *boundaryMessage);
    // Moves the current row to target (the four move commands after their guards).
    void MoveCurrentRow(int target);
    void Inform(const std::string &text);
    // Hands path to the desktop to open; says so when no program there opens it.
    bool OpenWithShell(const std::string &path);
    void OnRowChecked(const std::string &path, const folvane::ImageFacts &facts);
    void OnSheetSearched(const std::string &path, const SheetCheck &check);
    void ShowCheckedRows();
    // The rows "生成PDF" writes: all of them, or the usable ones once the user chose to skip the
    // rest. False when nothing is to be written (the user cancelled, or no row is usable).
    bool RowsToWrite(std::vector<int> &rows);
    // When the chosen resolution class cuts pages of rows at the page edge, asks whether to
    // switch to fit ("适应页面", remembered like a click on its radio button), to go on as chosen,
    // or to stop. False when the user stopped.
    bool CutPagesAgreed(const std::vector<int> &rows);
    // What a run wrote: its pages, those of them the page edge cut, and the notes of those
    // "文档校正" could not correct (they went in as they are).
    struct WrittenPdf {
        int pages = 0;
        CutPages cut;
        std::vector<folvane::PageNote> uncorrected;
    };
    // Runs the page loop for paths on a worker thread behind the progress window; pagesPerRow
    // is what is known of each file's page count. True when the PDF was written; otherwise the
    // failure was shown (a cancel shows nothing).
    bool WritePdf(const std::vector<std::string> &paths, std::vector<int> pagesPerRow,
                  WrittenPdf &written);
    // One load of a scan behind the progress window; the error that ended it, if any.
    std::optional<folvane::scan::ScanError> ScanLoad(ScanSession &session);
    // Adds the pages the session wrote since the last call at the end of the list.
    void AddScannedPages(ScanSession &session);

    // The rows of the last PDF written (none at start): a list that still reads the same needs
    // no question on exit.
    std::vector<std::string> m_writtenPaths;
    // The rows the last "清空列表" took away and the row that was current then, for Ctrl+Z.
    struct ClearedList {
        std::vector<std::string> paths;
        int current = -1;
    };
    ClearedList m_cleared;
    std::map<std::string, folvane::ImageFacts> m_rowFacts; // checked files, by path
    std::set<std::string> m_checking;                      // files on their way through a check
    std::map<std::string, SheetCheck> m_sheetChecks;       // searched files, by path
    std::set<std::string> m_sheetSearching;                // files on their way through a search
    // Corners placed by hand, by path: they stay with the file's rows wherever they move.
    std::map<std::string, folvane::SheetCorners> m_handCorners;
    std::unique_ptr<CorrectedPreviewCache> m_correctedPreview;
    std::set<std::string> m_checkedUnshown; // checked files whose rows do not show it yet
    // Last, so that they go first: no job hands a result to a dialog being taken apart. The
    // scanner thread looks for scanners and asks them what they offer.
    std::unique_ptr<BackgroundQueue> m_scannerJobs;
    std::unique_ptr<BackgroundQueue> m_checks;
};

// Texts of the window's messages, as the original wrote them; marked for the catalogue under
// "Window" and shown through texts::Window.
inline constexpr const char *kCaptionNotice = TR_NOOP("Window", "系统提示");
inline constexpr const char *kMsgNoImages = TR_NOOP("Window", "您还没有图片！\n请先添加图片文件!");
inline constexpr const char *kMsgSelectFirst = TR_NOOP("Window", "请先选择一张再操作!");
inline constexpr const char *kMsgAtFirstRow = TR_NOOP("Window", "已经位于第一行!");
inline constexpr const char *kMsgAtLastRow = TR_NOOP("Window", "已经位于最末行!");
inline constexpr const char *kMsgNoSavePath = TR_NOOP("Window", "请先设置存放路径!");
inline constexpr const char *kMsgSuccess = TR_NOOP("Window", "操作成功!");
inline constexpr const char *kMsgFailure = TR_NOOP("Window", "操作失败!请重启后再试!");
inline constexpr const char *kAnswerOk = TR_NOOP("Window", "确定");
inline constexpr const char *kAnswerCancel = TR_NOOP("Window", "取消");
inline constexpr const char *kAnswerSkip = TR_NOOP("Window", "跳过");
// The radio index of "适应页面": each page fits its image.
inline constexpr int kImageTypeFit = 6;
// The languages "文字识别" recognises: simplified Chinese and English.
inline constexpr const char *kOcrLanguages = "chi_sim+eng";

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
#include "app/PageHistory.h"
#include "app/PageList.h"
#include "app/ScannerAccess.h"
#include "app/SheetCheck.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/Translation.h"

class BackgroundQueue;
class CMenu;
class CorrectedPreviewCache;
class ScanSession;
class UiToolkit;
struct WholePicture;

// The main window: the page list behind the image list control (which only mirrors it), the
// save path and the resolution class, and every command the window offers. Each handler runs to
// completion on the user-interface thread.
class CFolvaneDlg : public CDialog {
public:
    explicit CFolvaneDlg(UiToolkit &ui);
    ~CFolvaneDlg() override;

    // What the window holds, for its owner and its tests.
    const PageList &Pages() const { return m_pages; }
    const CListCtrl &ImageList() const { return m_listImages; }
    const std::string &SavePath() const { return m_strSavePath; }
    void SetSavePath(std::string path) { m_strSavePath = std::move(path); }
    int ImageType() const { return m_nImageType; }
    // The paper's index in folvane::AllPapers (CFolvaneDlgPaper.cpp).
    int PaperIndex() const { return m_nPaper; }
    // The layout the chosen class (or fit) and paper make.
    folvane::PageLayout ChosenLayout() const;
    // The properties the next PDF gets: those given in "文档属性" for the output path shown,
    // none for another path.
    folvane::DocumentProperties PropertiesForSavePath() const;
    void SetProperties(folvane::DocumentProperties properties);
    bool Ocr() const { return m_bOcr; }
    bool Document() const { return m_bDocument; }
    bool SkipBlank() const { return m_bSkipBlank; }
    bool SplitAtBlank() const { return m_bSplitAtBlank; }
    bool Spreads() const { return m_bSpreads; }
    bool RightToLeft() const { return m_bRightToLeft; }
    // Files the window starts with (its command line's), added in this order at start-up.
    void SetStartFiles(std::vector<std::string> paths) { m_startFiles = std::move(paths); }
    // How a file's page is checked for the pre-flight (the engine's own inspection).
    void SetInspect(std::function<folvane::ImageFacts(const std::string &)> inspect) {
        m_fnInspect = std::move(inspect);
    }
    // How "扫描" reaches scanners (the scanning library's own calls).
    ScannerAccess &Scanners() { return m_scanners; }

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
    // Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y): the last list command taken back, or the last one
    // taken back made again, with the rows, their order, their edits and the current row as
    // they were. The history lasts until the window closes.
    void OnEditUndo();
    void OnEditRedo();
    // Ctrl+L and Ctrl+R, "向左旋转" and "向右旋转": the current page turned a quarter, in the
    // preview, its tool tip and the PDF; a file that cannot be used is named with its reason and
    // its page stays as it was (CFolvaneDlgTurns.cpp).
    void OnRotateLeft() { TurnCurrentPage(-1); }
    void OnRotateRight() { TurnCurrentPage(1); }
    // "裁剪": the crop editor over the current page, turned as it is; the rectangle kept becomes
    // the page's crop (the whole page: no crop), in the preview, its tool tip and the PDF
    // (CFolvaneDlgCrop.cpp).
    void OnCrop();
    // Ctrl+D, "双面合并": the list holds a two-sided stack fed twice through a one-sided feeder,
    // fronts 1..n then backs n..1, and becomes front 1, back 1, front 2, ...; a list of an odd
    // count is refused with a box (CFolvaneDlgDuplex.cpp).
    void OnInterleave();
    // The window has a new size: the preview is drawn again at the frame's new size.
    void OnSize();
    template <int Index> void OnRadioImageType() { SetImageType(Index); }
    // The radio index the user chose: kept, remembered for the next start.
    void SetImageType(int index);
    // Another paper was chosen in "纸张": kept, remembered for the next start.
    void OnPaperChosen();
    void SetPaper(int index);
    // "纸张" lists every paper, the chosen one selected.
    void FillPaperChoice();
    // "文档属性...": the properties dialog for the PDF at the output path shown.
    void OnMenuProperties();
    // "文字识别" was clicked: its state is kept, remembered for the next start.
    void OnCheckOcr();
    // "文档校正" was clicked: its state is kept, remembered for the next start.
    void OnCheckDocument();
    void OnCheckSkipBlank();
    // "在空白页处分成多个文件" was clicked: kept, remembered for the next start. While it is
    // checked, every blank page separates two documents and goes into none, whatever
    // "跳过空白页" says; that box keeps its own state for the runs without a split.
    void OnCheckSplitAtBlank();
    // "书本分两页" and "从右到左" were clicked (CFolvaneDlgBooks.cpp): kept, remembered for the
    // next start; the rows and the preview show the books' pages as they will go in.
    void OnCheckSpreads();
    void OnCheckRightToLeft();

    // Orders two paths by their file names (without folder and extension) as the desktop's file
    // manager does: numbers by value, letters without regard to case; names it holds equal by
    // their bytes.
    int CompareFileNames(const std::string &a, const std::string &b) const;
    // The row every row command acts on: the highlighted row, the one the preview shows (or the
    // current row while nothing is highlighted); the page list's current row is brought to it.
    // -1 for none.
    int CurrentRow();
    // The row the list control highlights, -1 for none.
    int HighlightedRow() const;
    // Adds files as the add dialog does: each sorted in by file name, then the first row made
    // current when nothing is, and the current row previewed.
    void SortInFiles(const std::vector<std::string> &paths);
    // Adds files at the end in the given order; the first row becomes current when none is.
    void AppendFiles(const std::vector<std::string> &paths);
    // The path of every row, in list order.
    std::vector<std::string> ListPaths() const { return m_pages.paths(); }

    // Whether checks of rows are still on their way or not yet shown.
    bool ChecksPending() const {
        return m_checksRunning > 0 || !m_checkedUnshown.empty() || !m_sheetSearching.empty();
    }
    // Whether the blank-page rule is still reading rows' pages.
    bool BlankChecksPending() const { return m_blankRunning > 0; }

    // "调整边角": the corner editor for the current row's photo. Its corners are kept for the
    // row ("确定"), given up for the sheet the program finds ("自动"), or left as they were.
    void OnBtnCorners();
    // A double click on the preview: the corner editor, while "文档校正" is checked.
    void OnDblclkPreview(NMHDR *header, LRESULT *result);

protected:
    bool OnWndMsg(const UiMessage &msg, LRESULT *result) override;

private:
    static std::span<const MessageMapEntry<CFolvaneDlg>> MessageMap();
    NameOrder FileNameOrder() const;
    // Keeps a command for undo, shows the rows as the page list has them and previews the
    // current row when previewCurrent; nothing for no command.
    void Done(std::optional<PageCommand> command, bool previewCurrent);
    // The list control made to show the page list: its rows, numbers, marks and highlight.
    void ShowPages();
    void MarkRow(int row);
    void ClearPreviewFrame();
    // The path of row's file ("" for no such row).
    std::string RowPath(int row) const;
    // Previews the current row, or empties the frame when there is none.
    void PreviewCurrentRow();
    // The guards of the four moves: focus to the list, then a refusal for an empty list, for no
    // current row and for a current row at boundary.
    bool CurrentRowMayMove(int boundary, const char *boundaryMessage);
    void Inform(const std::string &text);
    // Hands path to the desktop to open; says so when no program there opens it.
    bool OpenWithShell(const std::string &path);
    // The right-click menu's row commands after the fixed ones, with the undo and redo names.
    void AddRowCommands(CMenu &popup);
    void TurnCurrentPage(int quarterTurns);
    // Looks at row's file again before a command changes its page: one damaged or gone since the
    // pre-flight turns its row red and is named with its reason (false).
    bool RowFileUsable(int row);

    // Rows of PDFs (CFolvaneDlgPdf.cpp). The rows a list of files adds: a PDF one for each of its
    // pages, its open password asked first when it has one; a PDF that cannot be opened one row,
    // whose check says why.
    std::vector<PageSource> SourcesOfFiles(const std::vector<std::string> &paths);
    // The password the user gave for a PDF ("" for none).
    std::string PdfPassword(const std::string &path) const;
    // What the list's file column shows for a page: its path, and for a page of a PDF which page
    // of how many.
    std::string RowText(const Page &page) const;
    // The pre-flight's facts of a row's page: a PDF's page read with its password, any other
    // file told by inspect.
    static folvane::ImageFacts
    InspectSource(const std::function<folvane::ImageFacts(const std::string &)> &inspect,
                  const PageSource &source, const std::string &password);
    // Says that document correction does not apply to a PDF row's page (true), for the commands
    // that would correct it.
    bool RefusePdfCorrection(int row);

    // Pre-flight (CFolvaneDlgPreflight.cpp): each new row's file is checked in the background;
    // its row shows the result (red with the reason for a file that cannot be used).
    void CheckPages(const std::vector<PageId> &ids);
    void OnPageChecked(PageId id, const folvane::ImageFacts &facts, const FileStamp &file);
    // Checks again, at once, the rows whose files have gone or changed since their check, so
    // that "生成PDF" sees them red with their reason rather than failing on them midway.
    void RecheckChangedFiles();
    void ShowCheckedRows();
    void ShowRowChecks();
    void ShowRowCheck(int row);
    // Whether "生成PDF" will correct the page: a sheet of known size, placed whole.
    bool WillBeCorrected(const Page &page) const;
    // Document correction (CFolvaneDlgDocument.cpp): while "文档校正" is checked every row's
    // photo is searched for its sheet in the background, and its tool tip says whether the
    // sheet was found; corners the user placed for a row replace the search.
    void SearchSheets(const std::vector<PageId> &ids);
    void OnSheetSearched(PageId id, const SheetCheck &check);
    // The blank-page rule on the pages of rows that stand for one page, in a queue of its own
    // (it decodes, and may correct, each page): rows found blank say so. Answers of an earlier
    // round (before "文档校正" changed) are dropped.
    void JudgeBlankPages(const std::vector<PageId> &ids);
    void OnBlankJudged(PageId id, int round, bool blank);
    void JudgeBlankPagesAgain();
    // What the list's file column shows for a row: its path, marked when the page is blank or
    // an open book that goes in as two pages.
    std::string RowLabel(const Page &page) const;
    // Open books (CFolvaneDlgBooks.cpp): whether a row's photo will go in as a book's two pages,
    // the choices enabled while they apply, and the run's option.
    bool SplitsBook(const Page &page) const;
    void EnableBookChoices();
    folvane::GenerateOptions::Spreads SpreadsOfRun() const;
    // "调整边角" can be used while "文档校正" is checked.
    void EnableCornersButton();
    // The ids of the rows added by a command: those in its after that were not in its before.
    static std::vector<PageId> AddedPages(const PageCommand &command);

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
        int blank = 0; // pages left out as blank
        // Split at blank pages: the documents written, the pages of each, and the blank pages
        // that separated them.
        std::vector<std::string> files;
        std::vector<int> filePages;
        int separators = 0;
    };
    // Runs the page loop for rows on a worker thread behind the progress window (for the set of
    // PDFs, when "在空白页处分成多个文件" is checked). True when the PDF or the whole set was
    // written; otherwise the failure was shown (a cancel, or a no to replacing files, shows
    // nothing).
    bool WritePdf(const std::vector<int> &rows, WrittenPdf &written);
    // The options of a run of rows (asking for the passwords when "加密" is checked), its files
    // in order and the pages each row gives. False when the user cancelled.
    bool OptionsOfRun(const std::vector<int> &rows, folvane::GenerateOptions &options,
                      std::vector<std::string> &paths, std::vector<int> &pagesPerRow);
    // The success box's text for what a run wrote.
    std::string SuccessText(const WrittenPdf &written) const;
    // The failure box's last line while "在空白页处分成多个文件" is checked: nothing was saved,
    // older files of the same names are as they were.
    std::string SetUnchangedLine() const;
    // Asks before a set replaces files of the same names that are there (the save dialog asked
    // only about the output path itself); true when none is there or the user agreed.
    bool SetReplacementAgreed(const std::vector<std::string> &targets);
    // One load of a scan behind the progress window; the error that ended it, if any.
    std::optional<folvane::scan::ScanError> ScanLoad(ScanSession &session);
    // Adds the pages the session wrote since the last call at the end of the list.
    void AddScannedPages(ScanSession &session);
    // "单面进纸器扫描双面": one load of fronts, the stack turned over, one load of backs, then the
    // new rows paired; counts that differ are named and the rows stay in scan order
    // (CFolvaneDlgDuplex.cpp).
    void ScanBothSides(ScanSession &session);

    CListCtrl m_listImages; // mirrors m_pages: sequence number, full path
    std::string m_strSavePath;
    int m_nImageType;     // radio index: resolution class 0 to 5, kImageTypeFit = fit the page
    bool m_bOcr;          // "文字识别": the PDF gets a text layer recognised from its pages
    bool m_bDocument;     // "文档校正": every page goes in corrected as a document
    bool m_bSkipBlank;    // "跳过空白页": pages the blank-page rule finds blank are left out
    bool m_bSplitAtBlank; // "在空白页处分成多个文件": a set of PDFs, split at blank pages
    bool m_bSpreads;      // "书本分两页": a photo of an open book gives its two pages
    bool m_bRightToLeft;  // "从右到左": of those, the right page first
    int m_nPaper = 0;     // "纸张": index in folvane::AllPapers, 0 A4
    CComboBox m_paperChoice;
    // "文档属性", kept for the output path they were given for, for as long as the window is
    // open: never stored, since they belong to one document.
    folvane::DocumentProperties m_properties;
    std::string m_propertiesPath;
    HICON m_hIcon;
    CImageList m_imageList;
    CFont m_fontList;
    std::vector<std::string> m_startFiles;
    std::function<folvane::ImageFacts(const std::string &)> m_fnInspect;
    ScannerAccess m_scanners;

    PageList m_pages;
    PageHistory m_history;
    // Passwords of PDFs, by path, as the user typed them: for this window's life only, never
    // kept in the settings. The page counts of the PDFs added, by path.
    std::map<std::string, std::string> m_pdfPasswords;
    std::map<std::string, int> m_pdfPageCounts;
    // The rows of the last PDF written (none at start): a list that still reads the same needs
    // no question on exit.
    std::vector<std::string> m_writtenPaths;
    int m_checksRunning = 0;           // pre-flight checks on their way
    std::set<PageId> m_checkedUnshown; // checked pages whose rows do not show it yet
    std::set<PageId> m_sheetSearching; // pages on their way through a sheet search
    // Whether corners placed by hand make a row's photo an open book, judged as they were
    // accepted; kept with those corners, so that corners given back by undo fall back to the
    // sheet search's verdict.
    struct PlacedBook {
        folvane::SheetCorners corners;
        bool spread = false;
    };
    std::map<PageId, PlacedBook> m_placedBooks;
    int m_blankRound = 0;   // the blank-page rule's answers of this round count
    int m_blankRunning = 0; // pages on their way through the blank-page rule
    std::unique_ptr<CorrectedPreviewCache> m_correctedPreview;
    // The crop editor's picture of the page it has just cropped, for the one preview that follows.
    std::unique_ptr<WholePicture> m_croppedPicture;
    // Last, so that they go first: no job hands a result to a dialog being taken apart. The
    // scanner thread looks for scanners and asks them what they offer.
    std::unique_ptr<BackgroundQueue> m_scannerJobs;
    std::unique_ptr<BackgroundQueue> m_checks;
    std::unique_ptr<BackgroundQueue> m_blankChecks;
};

// Texts of the window's messages, as the original wrote them; marked for the catalogue under
// "Window" and shown through folvane::app::texts::Window.
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

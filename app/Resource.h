#pragma once

// Resource and control identifiers of the program.

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_FOLVANE_DIALOG = 102;
constexpr int IDD_SCAN_DIALOG = 103; // "扫描": a scanner and how it scans
constexpr int IDR_MAINFRAME = 128;   // application icon
constexpr int IDI_LIST_ITEM = 130;   // list row icon: not part of the resources
constexpr int IDR_MENU_LIST = 132;
constexpr int IDB_CORNER = 135; // picture in the top left corner, 175 x 58 pixels

constexpr int IDC_LIST_IMAGES = 1000;
constexpr int IDC_BTN_MOVE_UP = 1001;
constexpr int IDC_BTN_MOVE_DOWN = 1002;
constexpr int IDC_BTN_VIEW_IMAGE = 1004;
constexpr int IDC_BTN_ADD_IMAGES = 1005;
constexpr int IDC_BTN_DELETE = 1006;
constexpr int IDC_BTN_GENERATE = 1007;
constexpr int IDC_BTN_MOVE_TOP = 1008;
constexpr int IDC_BTN_MOVE_BOTTOM = 1009;
constexpr int IDC_BTN_CLEAR_LIST = 1010;
constexpr int IDC_PREVIEW_FRAME = 1011;
constexpr int IDC_EDIT_SAVE_PATH = 1012;
constexpr int IDC_BTN_BROWSE = 1013;
constexpr int IDC_BTN_SORT_BY_NAME = 1014;
constexpr int IDC_RADIO_200 = 1015;
constexpr int IDC_RADIO_300 = 1016;
constexpr int IDC_RADIO_500 = 1017;
constexpr int IDC_GROUP_IMAGE_TYPE = 1018;
constexpr int IDC_RADIO_800 = 1019;
constexpr int IDC_RADIO_1000 = 1020;
constexpr int IDC_RADIO_1600 = 1021;
constexpr int IDC_RADIO_FIT = 1022;      // "适应页面": each page fits its image
constexpr int IDC_CHECK_OCR = 1023;      // "文字识别": a text layer over every page
constexpr int IDC_BTN_SCAN = 1024;       // "扫描": pages from a scanner into the list
constexpr int IDC_CHECK_DOCUMENT = 1025; // "文档校正": every page corrected as a document
constexpr int IDC_BTN_CORNERS = 1026;    // "调整边角": the sheet's corners placed by hand
constexpr int IDC_GROUP_PAPER = 1040;    // "纸张": the pages' paper, beside the classes
constexpr int IDC_COMBO_PAPER = 1041;

// "跳过空白页": pages the blank-page rule finds blank are left out of the PDF.
constexpr int IDC_CHECK_SKIP_BLANK = 1027;
// "在空白页处分成多个文件": blank pages separate the documents of a set, OUT-001.pdf, ...
constexpr int IDC_CHECK_SPLIT_BLANK = 1028;
// "书本分两页": a photo of an open book goes in as its two pages; "从右到左": right page first.
constexpr int IDC_CHECK_SPREADS = 1029;
constexpr int IDC_CHECK_RIGHT_TO_LEFT = 1030;

// The scan dialog's controls; its "扫描" and "取消" are IDOK and IDCANCEL.
constexpr int IDC_SCAN_DEVICE = 1100;
constexpr int IDC_SCAN_SOURCE = 1101;
constexpr int IDC_SCAN_MODE = 1102;
constexpr int IDC_SCAN_RESOLUTION = 1103;
constexpr int IDC_SCAN_PAGE_SIZE = 1104;
constexpr int IDC_SCAN_FOLDER = 1105;    // where the pages go
constexpr int IDC_SCAN_PAGE_HINT = 1106; // that the paper is larger than the scanner
constexpr int IDC_SCAN_TWO_SIDED = 1107; // "单面进纸器扫描双面": fronts, then backs, paired

// "加密" in the main window, and the password dialog it opens; its "确定" and "取消" are IDOK
// and IDCANCEL.
constexpr int IDD_PASSWORD_DIALOG = 1200;
constexpr int IDC_CHECK_ENCRYPT = 1201; // "加密": the PDF is locked with passwords
constexpr int IDC_PASSWORD_USER = 1202;
constexpr int IDC_PASSWORD_CONFIRM = 1203;
constexpr int IDC_PASSWORD_OWNER = 1204;
constexpr int IDC_PASSWORD_PRINT = 1205;
constexpr int IDC_PASSWORD_COPY = 1206;

constexpr int ID_MENU_EDIT_ITEM = 32771; // "资料修改"
constexpr int ID_MENU_ABOUT = 32772;
constexpr int ID_MENU_EXIT = 32773;
constexpr int ID_ROTATE_LEFT =
    32774; // Ctrl+L, "向左旋转": the current page a quarter anticlockwise
constexpr int ID_ROTATE_RIGHT = 32775;    // Ctrl+R, "向右旋转": a quarter clockwise
constexpr int ID_CROP = 32776;            // "裁剪": the crop editor over the current page
constexpr int ID_INTERLEAVE = 32777;      // Ctrl+D, "双面合并": fronts then backs paired
constexpr int ID_MENU_PROPERTIES = 32790; // "文档属性...": the PDF's title, author, ...

// "文档属性": the document's properties; its "确定" and "取消" are IDOK and IDCANCEL.
constexpr int IDD_PROPERTIES_DIALOG = 110;
constexpr int IDC_PROPERTY_TITLE = 1200;
constexpr int IDC_PROPERTY_AUTHOR = 1201;
constexpr int IDC_PROPERTY_SUBJECT = 1202;
constexpr int IDC_PROPERTY_KEYWORDS = 1203;

constexpr int ID_EDIT_UNDO = 57643; // Ctrl+Z, "撤销": the last list command taken back
constexpr int ID_EDIT_REDO = 57644; // Ctrl+Shift+Z, Ctrl+Y, "重做": made again

constexpr int IDM_ABOUTBOX = 0x0010; // window-menu command of the About item
constexpr int ID_HELP = 57670;

#pragma once

#include <cstdint>

// Message, style and state values of the user-interface layer. The numbers are those of the
// platform the dialog logic was first written for, so message maps and styles read the same.
// The names here, and across the platform layer, keep that platform's shape for the same
// reason; docs/CONVENTIONS.md says where that shape holds and which names the rest follows.

using UINT = unsigned int;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;
using HICON = int; // icon resource id; 0 = none

namespace ui {
constexpr COLORREF RGB(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
constexpr unsigned GetRValue(COLORREF c) {
    return c & 0xFF;
}
constexpr unsigned GetGValue(COLORREF c) {
    return c >> 8 & 0xFF;
}
constexpr unsigned GetBValue(COLORREF c) {
    return c >> 16 & 0xFF;
}
} // namespace ui

// Window messages routed through a dialog's message map.
constexpr UINT WM_SIZE = 0x0005; // the window's size changed; its controls have their new places
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_DROPFILES = 0x0233;

// Notification codes.
constexpr int BN_CLICKED = 0;
// The user chose another item of a drop-down list (WM_COMMAND); never sent for a choice the
// program makes.
constexpr int CBN_SELCHANGE = 1;
constexpr int NM_CLICK = -2;
constexpr int NM_DBLCLK = -3;
constexpr int NM_RCLICK = -5;
// The user moved the list's highlight to another row without the mouse (the keyboard).
constexpr int LVN_ITEMCHANGED = -101;
// The user dragged row iItem within the list and dropped it so that it becomes row iTarget.
constexpr int LVN_ROWDRAGGED = -1000;

// Dialog results and standard commands.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Message box styles.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONINFORMATION = 0x0040;

// List-view item states, column formats, extended styles, image lists.
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr int LVCFMT_LEFT = 0;
constexpr unsigned LVS_EX_GRIDLINES = 0x0001;
constexpr unsigned LVS_EX_FULLROWSELECT = 0x0020;
constexpr int LVSIL_SMALL = 1;
constexpr COLORREF CLR_DEFAULT = 0xFF000000; // a row drawn in the list's own text colour
constexpr UINT ILC_MASK = 0x0001;

// Menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_GRAYED = 0x0001; // shown, but cannot be chosen
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;

// Common dialog flags.
constexpr unsigned OFN_OVERWRITEPROMPT = 0x0002;
constexpr unsigned OFN_HIDEREADONLY = 0x0004;
constexpr unsigned OFN_ALLOWMULTISELECT = 0x0200;
constexpr unsigned OFN_PATHMUSTEXIST = 0x0800;
constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;
constexpr unsigned OFN_EXPLORER = 0x80000;

// Show command of the shell's "open".
constexpr int SW_SHOWNORMAL = 1;

// Font values.
constexpr int FW_NORMAL = 400;
constexpr unsigned DEFAULT_CHARSET = 1;
constexpr unsigned OUT_CHARACTER_PRECIS = 2;
constexpr unsigned CLIP_CHARACTER_PRECIS = 1;
constexpr unsigned DEFAULT_QUALITY = 0;
constexpr unsigned DEFAULT_PITCH = 0;
constexpr unsigned FF_DONTCARE = 0;

// Position of a selected list row as returned by CListCtrl::GetFirstSelectedItemPosition:
// the row index plus one, or 0 when there is none.
using POSITION = std::intptr_t;

// Virtual keys and modifier flags of keyboard accelerators.
constexpr unsigned VK_END = 0x23;
constexpr unsigned VK_HOME = 0x24;
constexpr unsigned VK_UP = 0x26;
constexpr unsigned VK_DOWN = 0x28;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned FCONTROL = 0x08;
constexpr unsigned FSHIFT = 0x04;

// Header of a list-control notification; iItem and iTarget as the notification code says.
struct NMHDR {
    int idFrom = 0;
    int code = 0;
    int iItem = -1;
    int iTarget = -1;
};

// A rectangle in pixels; right and bottom lie just outside it.
struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct UiPoint {
    int x = 0;
    int y = 0;
};

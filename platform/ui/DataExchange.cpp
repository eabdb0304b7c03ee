#include "platform/ui/DataExchange.h"

#include <vector>

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/ComboBoxPeer.h"
#include "platform/ui/DialogPeer.h"
#include "platform/ui/ListCtrlPeer.h"
#include "platform/ui/WndPeer.h"

void DDX_Control(CDataExchange *dx, int id, CListCtrl &list) {
    if (list.IsAttached() || !dx->m_pDlgWnd->Peer()) {
        return;
    }
    ListCtrlPeer *peer = dx->m_pDlgWnd->Peer()->ListControl(id);
    if (!peer) {
        return;
    }
    list.Attach(peer);
    dx->m_pDlgWnd->DetachOnDestroy(list);
}

void DDX_Control(CDataExchange *dx, int id, CComboBox &combo) {
    if (combo.IsAttached() || !dx->m_pDlgWnd->Peer()) {
        return;
    }
    WndPeer *window = dx->m_pDlgWnd->Peer()->Control(id);
    auto *items = dynamic_cast<ComboBoxPeer *>(window);
    if (!items) {
        return;
    }
    combo.Attach(window, items);
    dx->m_pDlgWnd->DetachOnDestroy(combo);
}

void DDX_Text(CDataExchange *dx, int id, std::string &value) {
    CWnd *control = dx->m_pDlgWnd->GetDlgItem(id);
    if (!control) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = control->GetWindowText();
    } else {
        control->SetWindowText(value);
    }
}

void DDX_Check(CDataExchange *dx, int id, bool &value) {
    CWnd *control = dx->m_pDlgWnd->GetDlgItem(id);
    if (!control) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = control->GetCheck();
    } else {
        control->SetCheck(value);
    }
}

void DDX_Radio(CDataExchange *dx, int firstId, int &value) {
    const std::vector<int> group = dx->m_pDlgWnd->Template().RadioGroup(firstId);
    if (dx->m_bSaveAndValidate) {
        value = -1;
    }
    for (int index = 0; index < static_cast<int>(group.size()); ++index) {
        CWnd *radio = dx->m_pDlgWnd->GetDlgItem(group[index]);
        if (!radio) {
            continue;
        }
        if (!dx->m_bSaveAndValidate) {
            radio->SetCheck(index == value);
        } else if (radio->GetCheck()) {
            value = index;
        }
    }
}

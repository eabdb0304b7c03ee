#pragma once

#include <string>

class CComboBox;
class CDialog;
class CListCtrl;

// One exchange between a dialog's fields and its controls; m_bSaveAndValidate = true copies
// control contents into fields, false shows the fields in the controls.
class CDataExchange {
public:
    CDataExchange(CDialog *dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog *m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// Attaches list to control id (once; later exchanges leave it attached).
void DDX_Control(CDataExchange *dx, int id, CListCtrl &list);
// Attaches combo to drop-down list id, the same way.
void DDX_Control(CDataExchange *dx, int id, CComboBox &combo);
// The text of control id and a string field.
void DDX_Text(CDataExchange *dx, int id, std::string &value);
// Whether check box id is checked, and a bool field.
void DDX_Check(CDataExchange *dx, int id, bool &value);
// The radio group that begins at control firstId and the index of its checked button (-1: none).
void DDX_Radio(CDataExchange *dx, int firstId, int &value);

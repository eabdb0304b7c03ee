#include "app/CPropertiesDlg.h"

#include <utility>

#include "app/PropertiesResources.h"
#include "app/PropertiesTexts.h"
#include "app/Resource.h"
#include "app/WindowTexts.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kPropertyIds[] = {IDC_PROPERTY_TITLE, IDC_PROPERTY_AUTHOR, IDC_PROPERTY_SUBJECT,
                                IDC_PROPERTY_KEYWORDS};

} // namespace

CPropertiesDlg::CPropertiesDlg(UiToolkit &ui, folvane::DocumentProperties properties)
    : CDialog(PropertiesDialogTemplate(), ui), m_properties(std::move(properties)) {}

void CPropertiesDlg::DoDataExchange(CDataExchange *dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_PROPERTY_TITLE, m_properties.title);
    DDX_Text(dx, IDC_PROPERTY_AUTHOR, m_properties.author);
    DDX_Text(dx, IDC_PROPERTY_SUBJECT, m_properties.subject);
    DDX_Text(dx, IDC_PROPERTY_KEYWORDS, m_properties.keywords);
}

std::string CPropertiesDlg::Refusal(const folvane::DocumentProperties &properties, int &id) {
    const std::string *values[] = {&properties.title, &properties.author, &properties.subject,
                                   &properties.keywords};
    for (int i = 0; i < 4; ++i) {
        const std::string name = texts::Window(texts::kPropertyNames[i]);
        id = kPropertyIds[i];
        switch (folvane::documentTextFaultOf(*values[i])) {
        case folvane::DocumentTextFault::InvalidUtf8:
            return texts::Window(texts::kPropertyNotUtf8, {name});
        case folvane::DocumentTextFault::ControlCharacter:
            return texts::Window(texts::kPropertyControl, {name});
        case folvane::DocumentTextFault::TooLong:
            return texts::Window(texts::kPropertyTooLong,
                                 {name, std::to_string(folvane::kMaxDocumentTextCharacters)});
        case folvane::DocumentTextFault::None:
            break;
        }
    }
    id = 0;
    return "";
}

void CPropertiesDlg::OnOK() {
    folvane::DocumentProperties before = m_properties;
    if (!UpdateData(true)) {
        return;
    }
    int id = 0;
    const std::string refusal = Refusal(m_properties, id);
    if (refusal.empty()) {
        EndDialog(IDOK);
        return;
    }
    MessageBox(refusal, Tr("Window", "系统提示"), MB_OK | MB_ICONINFORMATION);
    m_properties = std::move(before); // nothing refused is taken; the fields keep what was typed
    if (CWnd *field = GetDlgItem(id)) {
        field->SetFocus();
    }
}

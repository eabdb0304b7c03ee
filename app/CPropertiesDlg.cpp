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
    : CDialog(propertiesDialogTemplate(), ui), properties_(std::move(properties)) {}

void CPropertiesDlg::DoDataExchange(CDataExchange *dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_PROPERTY_TITLE, properties_.title);
    DDX_Text(dx, IDC_PROPERTY_AUTHOR, properties_.author);
    DDX_Text(dx, IDC_PROPERTY_SUBJECT, properties_.subject);
    DDX_Text(dx, IDC_PROPERTY_KEYWORDS, properties_.keywords);
}

std::string CPropertiesDlg::refusal(const folvane::DocumentProperties &properties, int &id) {
    const std::string *values[] = {&properties.title, &properties.author, &properties.subject,
                                   &properties.keywords};
    for (int i = 0; i < 4; ++i) {
        const std::string name =
            folvane::app::texts::window(folvane::app::texts::kPropertyNames[i]);
        id = kPropertyIds[i];
        switch (folvane::documentTextFaultOf(*values[i])) {
        case folvane::DocumentTextFault::InvalidUtf8:
            return folvane::app::texts::window(folvane::app::texts::kPropertyNotUtf8, {name});
        case folvane::DocumentTextFault::ControlCharacter:
            return folvane::app::texts::window(folvane::app::texts::kPropertyControl, {name});
        case folvane::DocumentTextFault::TooLong:
            return folvane::app::texts::window(
                folvane::app::texts::kPropertyTooLong,
                {name, std::to_string(folvane::kMaxDocumentTextCharacters)});
        case folvane::DocumentTextFault::None:
            break;
        }
    }
    id = 0;
    return "";
}

void CPropertiesDlg::OnOK() {
    folvane::DocumentProperties before = properties_;
    if (!UpdateData(true)) {
        return;
    }
    int id = 0;
    const std::string refused = refusal(properties_, id);
    if (refused.empty()) {
        EndDialog(IDOK);
        return;
    }
    MessageBox(refused, Tr("Window", "系统提示"), MB_OK | MB_ICONINFORMATION);
    properties_ = std::move(before); // nothing refused is taken; the fields keep what was typed
    if (CWnd *field = GetDlgItem(id)) {
        field->SetFocus();
    }
}

// The main window's paper choice ("纸张") and document properties ("文档属性").
#include "app/CFolvaneDlg.h"

#include <utility>

#include "app/CPropertiesDlg.h"
#include "app/PropertiesTexts.h"
#include "app/WindowSettings.h"
#include "pdf/Paper.h"
#include "platform/ui/UiToolkit.h"

folvane::PageLayout CFolvaneDlg::ChosenLayout() const {
    return folvane::PageLayout::fromImageType(m_nImageType).onPaper(folvane::paperAt(m_nPaper));
}

void CFolvaneDlg::FillPaperChoice() {
    m_paperChoice.ResetContent();
    for (const char *name : folvane::app::texts::kPaperNames) {
        m_paperChoice.AddString(Tr("Dialog", name));
    }
    m_paperChoice.SetCurSel(m_nPaper);
}

void CFolvaneDlg::OnPaperChosen() {
    const int chosen = m_paperChoice.GetCurSel();
    if (chosen >= 0 && chosen != m_nPaper) {
        SetPaper(chosen);
    }
}

void CFolvaneDlg::SetPaper(int index) {
    m_nPaper = static_cast<int>(folvane::paperAt(index)); // an index out of range: A4
    WindowSettings(Toolkit().Settings()).setPaper(m_nPaper);
    if (m_paperChoice.GetCurSel() != m_nPaper) {
        m_paperChoice.SetCurSel(m_nPaper);
    }
    RefreshPreview();
    ShowRowChecks(); // how much a class cuts off depends on the paper
}

folvane::DocumentProperties CFolvaneDlg::PropertiesForSavePath() const {
    return m_propertiesPath == m_strSavePath ? m_properties : folvane::DocumentProperties{};
}

void CFolvaneDlg::SetProperties(folvane::DocumentProperties properties) {
    m_properties = std::move(properties);
    m_propertiesPath = m_strSavePath;
}

void CFolvaneDlg::OnMenuProperties() {
    CPropertiesDlg dialog(Toolkit(), PropertiesForSavePath());
    if (dialog.DoModal() == IDOK) {
        SetProperties(dialog.properties());
    }
}

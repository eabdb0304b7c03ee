// The generate command: one A4 page per list row, then the finished PDF opened with the shell.

#include "app/CFolvaneDlg.h"

#include <vector>

#include "pdf/PageGeneration.h"

void CFolvaneDlg::OnBtnGenerate() {
    if (m_listImages.GetItemCount() == 0) {
        Inform(kMsgNoImages);
        return;
    }
    if (m_strSavePath.empty()) {
        Inform(kMsgNoSavePath);
        return;
    }

    std::vector<std::string> imagePaths;
    const int count = m_listImages.GetItemCount();
    imagePaths.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        imagePaths.push_back(m_listImages.GetItemText(row, 1));
    }

    // The success box shows while the binding still holds the finished document; the PDF opens
    // only once the box is dismissed.
    bool written = false;
    BeginWaitCursor();
    try {
        folvane::GenerateEvents events;
        events.afterClose = [this, &written] {
            EndWaitCursor();
            written = true;
            Inform(kMsgSuccess);
        };
        folvane::GenerateOptions options;
        options.layout = folvane::PageLayout::FromImageType(m_nImageType);
        folvane::GeneratePdf(m_strSavePath, imagePaths, options, events);
    } catch (...) {
        // GenerateError (the engine's reason, the output that cannot be created), anything
        // else: the user gets one message and the PDF is not opened.
    }
    if (!written) {
        EndWaitCursor();
        Inform(kMsgFailure);
        return;
    }
    OpenWithShell(m_strSavePath);
}

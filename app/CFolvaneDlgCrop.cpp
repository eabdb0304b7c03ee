// "裁剪": the crop editor over the current page. The page list keeps the rectangle as an edit of
// the row that undo takes back; the PDF gets only the part inside it.

#include "app/CFolvaneDlg.h"

#include "app/CropRequest.h"
#include "app/Messages.h"
#include "app/PdfRows.h"
#include "app/PreviewPicture.h"
#include "app/WindowTexts.h"

void CFolvaneDlg::OnCrop() {
    const int row = CurrentRow();
    if (row < 0) {
        Inform(folvane::app::texts::window(kMsgSelectFirst));
        return;
    }
    if (!RowFileUsable(row)) {
        return;
    }
    const Page &page = m_pages.at(row);
    const PageId id = page.id;
    const std::string path = page.source.path;
    const std::optional<folvane::CropRect> before = page.shape.edits.crop;
    const int turns = page.shape.edits.quarterTurns;
    CropPicture picture;
    // A PDF's page is cropped in points of the page as it shows, turned as its row has it.
    const bool loaded = isPdfName(path) ? loadPdfCropPicture(path, page.source.page.value_or(1),
                                                             PdfPassword(path), turns, picture)
                                        : loadCropPicture(path, turns, picture);
    if (!loaded) {
        Inform(folvane::app::texts::window(folvane::app::texts::kCropUnreadable, {path}));
        return;
    }
    const CropEditRequest request = makeCropRequest(picture, before);
    const CropEditAnswer answer = EditCrop(request);
    if (answer.choice != CropEditAnswer::Choice::Accept || answer.crop == request.crop) {
        return; // cancelled, or the rectangle left where it was
    }
    // The editor refuses what cannot be kept; this holds for any peer that answers.
    const folvane::CropRect crop = fullSizeCrop(answer.crop, picture);
    if (const std::string refusal = cropRefusal(crop, picture); !refusal.empty()) {
        Inform(refusal);
        return;
    }
    const bool whole = crop == folvane::CropRect{0, 0, picture.fullWidth, picture.fullHeight};
    if (row >= m_pages.count() || m_pages.at(row).id != id) {
        return; // the list changed under the editor
    }
    m_croppedPicture = std::make_unique<WholePicture>();
    m_croppedPicture->path = path;
    m_croppedPicture->quarterTurns = turns;
    m_croppedPicture->fullWidth = picture.fullWidth;
    m_croppedPicture->fullHeight = picture.fullHeight;
    m_croppedPicture->image.Transfer(picture.turned);
    Done(m_pages.crop(row, whole ? std::nullopt : std::optional(crop)), true);
    m_croppedPicture.reset();
}

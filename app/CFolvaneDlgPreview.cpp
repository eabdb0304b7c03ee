// The preview pane: the page the PDF will get for one image file, drawn into frame
// IDC_PREVIEW_FRAME, or the placeholder picture for a file the preview cannot read.

#include "app/CFolvaneDlg.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/CorrectedPreview.h"
#include "app/PdfRows.h"
#include "app/PreviewFit.h"
#include "app/PreviewPicture.h"
#include "app/Resource.h"
#include "image/CfImage.h"
#include "pdf/ImageFileRules.h"
#include "pdf/PageLayout.h"
#include "platform/crt/ModulePath.h"
#include "platform/crt/SplitPath.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/Translation.h"

namespace {

// The placeholder picture's file, whose words are in the window's language.
constexpr const char *kPlaceholderName = TR_NOOP("Window", "无法显示.bmp");
constexpr uint32_t kSheetColour = RgbColor(255, 255, 255);
constexpr uint32_t kOutlineColour = RgbColor(150, 150, 150);

std::string PlaceholderPath() {
    const SplitPathParts exe = _splitpath(GetModuleFileNameA());
    const std::string name = Tr("Window", kPlaceholderName);
    const std::string beside = exe.drive + exe.dir + name;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) {
        return beside;
    }
    // An installed program keeps its data in <prefix>/share/folvane beside <prefix>/bin.
    const std::string installed = exe.drive + exe.dir + "../share/folvane/" + name;
    if (std::filesystem::exists(installed, error)) {
        return installed;
    }
    return beside;
}

// Fills rect with one colour: a one-pixel picture stretched over it.
void FillDeviceRect(HDC dc, const UiRect &rect, uint32_t rgb) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const uint8_t pixel[4] = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0};
    StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, 1, 1, pixel, &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

// The white sheet inside a thin outline, and the picture on it, cut at the sheet's edge (and at
// a crop's) and shrunk by area averaging (or already decoded at that size, only the visible part).
void DrawPage(HDC dc, const PreviewPage &page, PreviewPicture &picture) {
    const UiRect &s = page.sheet;
    FillDeviceRect(dc, UiRect{s.left - 1, s.top - 1, s.right + 1, s.bottom + 1}, kOutlineColour);
    FillDeviceRect(dc, s, kSheetColour);
    const UiRect &kept = page.picture;
    const RECT clip{std::max(s.left, kept.left), std::max(s.top, kept.top),
                    std::min(s.right, kept.right), std::min(s.bottom, kept.bottom)};
    const UiRect &p = picture.part ? *picture.part : page.picture;
    picture.image.Draw(dc, RECT{p.left, p.top, p.right, p.bottom}, &clip, true, false);
}

// The placeholder, fitted into the frame as any picture used to be.
void DrawPlaceholder(HDC dc, const UiRect &client) {
    CfImage placeholder(FormatUnknown);
    if (!placeholder.Load(PlaceholderPath().c_str(), FormatUnknown) || !placeholder.IsValid()) {
        return;
    }
    const UiRect fitted = fitPreview(client, placeholder.GetWidth(), placeholder.GetHeight());
    placeholder.Draw(dc, RECT{fitted.left, fitted.top, fitted.right, fitted.bottom}, nullptr, false,
                     false);
}

} // namespace

std::string CFolvaneDlg::PreviewFilePath(const std::string &path) {
    return folvane::isPreviewName(path) ? path : PlaceholderPath();
}

void CFolvaneDlg::ShowPreview(std::string path) {
    CWnd *frame = GetDlgItem(IDC_PREVIEW_FRAME);
    if (!frame) {
        return;
    }
    const UiRect client = frame->GetClientRect();
    // A page of a PDF keeps its own size: it fills its page whatever the class.
    const bool pdf = isPdfName(path);
    const folvane::PageLayout layout = pdf ? folvane::PageLayout::fitted() : ChosenLayout();
    PreviewPicture picture;
    // A corrected page is what the PDF gets; where the page goes in as it is, so does the
    // preview.
    const int current = m_pages.current();
    const bool currentRow = current >= 0 && RowPath(current) == path;
    const std::optional<folvane::SheetCorners> corners =
        currentRow ? m_pages.at(current).shape.handCorners : std::nullopt;
    const int turns = currentRow ? m_pages.at(current).shape.edits.quarterTurns : 0;
    const std::optional<folvane::CropRect> crop =
        currentRow ? m_pages.at(current).shape.edits.crop : std::nullopt;
    // A cropped page goes in as the part kept, never corrected: the crop says what the page is.
    const int pdfPage = currentRow ? m_pages.at(current).source.page.value_or(1) : 1;
    // A book the row splits is shown as its two pages; turned, they turn together.
    const BookChoice book{currentRow && SplitsBook(m_pages.at(current)), m_bRightToLeft};
    const bool corrected = !pdf && m_bDocument && !crop &&
                           m_correctedPreview->load(path, corners, book, client, picture) &&
                           turnPreviewPicture(picture, turns);
    // Right after a crop, the editor's picture of the page serves when it is fine enough.
    const bool reused = !pdf && !corrected && m_croppedPicture && currentRow &&
                        m_croppedPicture->path == path && m_croppedPicture->quarterTurns == turns &&
                        previewFromWhole(*m_croppedPicture, layout, client, crop, picture);
    m_croppedPicture.reset();
    const bool readable =
        corrected || reused ||
        (pdf ? loadPdfPreviewPicture(path, pdfPage, PdfPassword(path), client, picture, turns, crop)
             : folvane::isPreviewName(path) &&
                   loadPreviewPicture(path, layout, client, picture, turns, crop));

    frame->Invalidate(true);
    frame->UpdateWindow();
    HDC dc = frame->GetWindowDC();
    if (readable) {
        // A book's two pages are shown together, each filling its page side by side, whatever
        // paper or class each gets on its own.
        const folvane::PagePlacement placement =
            folvane::placeOnPage(corrected && book.split ? folvane::PageLayout::fitted() : layout,
                                 picture.uprightWidth, picture.uprightHeight);
        DrawPage(dc,
                 layOutPreviewPage(client, placement, picture.uprightWidth, picture.uprightHeight),
                 picture);
    } else {
        DrawPlaceholder(dc, client);
    }
    frame->ReleaseDC(dc);
}

void CFolvaneDlg::RefreshPreview() {
    if (m_pages.current() >= 0) {
        ShowPreview(RowPath(m_pages.current()));
    }
}

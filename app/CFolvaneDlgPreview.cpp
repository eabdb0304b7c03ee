// The preview pane: one image file fitted into frame IDC_PREVIEW_FRAME.

#include "app/CFolvaneDlg.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/PreviewFit.h"
#include "app/Resource.h"
#include "image/CfImage.h"
#include "platform/crt/ModulePath.h"
#include "platform/crt/SplitPath.h"

namespace {

constexpr const char *kPlaceholderName = "无法显示.bmp";

bool HasPreviewableExtension(const std::string &path) {
    // The first four bytes of the extension, compared as raw bytes: ".tiff" passes as ".tif",
    // ".jpeg" and mixed case such as ".Jpg" do not.
    static constexpr std::array<const char *, 6> kAccepted = {".tif", ".TIF", ".jpg",
                                                              ".JPG", ".bmp", ".BMP"};
    const std::string ext = _splitpath(path).ext;
    if (ext.size() < 4) {
        return false;
    }
    for (const char *accepted : kAccepted) {
        if (std::memcmp(ext.data(), accepted, 4) == 0) {
            return true;
        }
    }
    return false;
}

std::string PlaceholderPath() {
    const SplitPathParts exe = _splitpath(GetModuleFileNameA());
    const std::string beside = exe.drive + exe.dir + kPlaceholderName;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) {
        return beside;
    }
    // An installed program keeps its data in <prefix>/share/folvane beside <prefix>/bin.
    const std::string installed = exe.drive + exe.dir + "../share/folvane/" + kPlaceholderName;
    if (std::filesystem::exists(installed, error)) {
        return installed;
    }
    return beside;
}

} // namespace

std::string CFolvaneDlg::PreviewFilePath(const std::string &path) {
    return HasPreviewableExtension(path) ? path : PlaceholderPath();
}

void CFolvaneDlg::ShowPreview(std::string path) {
    path = PreviewFilePath(path);
    CWnd *frame = GetDlgItem(IDC_PREVIEW_FRAME);
    if (!frame) {
        return;
    }
    CfImage image(FormatUnknown);
    const UiRect client = frame->GetClientRect();
    // A file that does not load leaves the image empty: the frame is then only erased.
    image.Load(path.c_str(), FormatUnknown);
    const uint32_t width = image.GetWidth();
    const uint32_t height = image.GetHeight();

    frame->Invalidate(true);
    frame->UpdateWindow();

    UiRect fitted = client;
    if (width != 0 && height != 0) {
        fitted = FitPreview(client, width, height);
    }
    HDC dc = frame->GetWindowDC();
    image.Draw(dc, RECT{fitted.left, fitted.top, fitted.right, fitted.bottom}, nullptr, false,
               false);
    frame->ReleaseDC(dc);
}

void CFolvaneDlg::RefreshPreview() {
    if (m_nSelected >= 0 && m_nSelected < m_listImages.GetItemCount()) {
        ShowPreview(m_listImages.GetItemText(m_nSelected, 1));
    }
}

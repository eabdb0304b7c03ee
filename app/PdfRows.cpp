#include "app/PdfRows.h"

#include <cmath>
#include <cstring>

#include "pdf/PageLayout.h"
#include "pdf/TextPattern.h"
#include "pdfdoc/PageDrawing.h"
#include "pdfdoc/PdfFacts.h"
#include "platform/crt/SplitPath.h"
#include "platform/ui/Translation.h"

namespace {

using folvane::pdfdoc::PdfFailure;

// A failure told in the words the window uses for any file.
folvane::Problem problemOf(const std::string &path, const folvane::pdfdoc::PdfFacts &facts,
                           int page) {
    folvane::Problem problem;
    problem.file = path;
    problem.format = kPdfKind;
    switch (facts.failure) {
    case PdfFailure::CannotOpen:
        problem.kind = folvane::Problem::Kind::CannotOpen;
        problem.detail = facts.detail;
        break;
    case PdfFailure::NeedsPassword:
        problem.kind = folvane::Problem::Kind::CannotOpen;
        problem.detail = Tr("Messages", "需要密码");
        break;
    case PdfFailure::WrongPassword:
        problem.kind = folvane::Problem::Kind::CannotOpen;
        problem.detail = Tr("Messages", "密码错误");
        break;
    case PdfFailure::NoSuchPage:
        problem.kind = folvane::Problem::Kind::NoSuchPage;
        problem.numbers[0] = page;
        problem.numbers[1] = facts.pages;
        break;
    case PdfFailure::TooManyPages:
        problem.kind = folvane::Problem::Kind::CannotOpen;
        problem.detail = folvane::fill(Tr("Messages", "超过 %1 页"),
                                       {std::to_string(folvane::pdfdoc::kMaxPdfPages)});
        break;
    case PdfFailure::TooLarge:
        problem.kind = folvane::Problem::Kind::Memory;
        break;
    case PdfFailure::Damaged:
    case PdfFailure::None:
        problem.kind = folvane::Problem::Kind::Damaged;
        break;
    }
    return problem;
}

// The image as a 24-bit picture of raster's pixels (its rows are kept bottom up, blue first).
bool imageOf(const folvane::pdfdoc::PageRaster &raster, CfImage &image) {
    if (!image.Create(raster.width, raster.height, 24)) {
        return false;
    }
    for (int y = 0; y < raster.height; ++y) {
        const uint8_t *from = raster.rgb.data() + std::size_t(y) * raster.width * 3;
        uint8_t *to = image.RowPointer(uint32_t(raster.height - 1 - y));
        for (int x = 0; x < raster.width; ++x) {
            to[x * 3] = from[x * 3 + 2];
            to[x * 3 + 1] = from[x * 3 + 1];
            to[x * 3 + 2] = from[x * 3];
        }
    }
    return true;
}

} // namespace

bool isPdfName(const std::string &path) {
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".pdf") == 0;
}

folvane::ImageFacts inspectPdfPage(const std::string &path, int page, const std::string &password) {
    const folvane::pdfdoc::PdfFacts read = folvane::pdfdoc::readPdfFacts(path, password, page);
    folvane::ImageFacts facts;
    facts.kind = kPdfKind;
    facts.pages = read.pages;
    if (read.failure != PdfFailure::None) {
        facts.problem = problemOf(path, read, page);
        return facts;
    }
    facts.ok = true;
    facts.width = std::max(1, int(std::lround(read.page.width)));
    facts.height = std::max(1, int(std::lround(read.page.height)));
    facts.intake = folvane::ImageFacts::Intake::Copied;
    return facts;
}

std::string pdfRowText(const std::string &path, int page, int pages) {
    return folvane::fill(Tr("Window", "%1 第 %2/%3 页"),
                         {path, std::to_string(page), std::to_string(pages)});
}

bool loadPdfPreviewPicture(const std::string &path, int page, const std::string &password,
                           const UiRect &client, PreviewPicture &picture, int quarterTurns,
                           const std::optional<folvane::CropRect> &crop) {
    const folvane::ImageFacts facts = inspectPdfPage(path, page, password);
    if (!facts.ok) {
        return false;
    }
    // Drawn at the frame's size, or larger by as much as the crop leaves out, so that the part
    // kept is as sharp as a whole page.
    const bool turned = quarterTurns % 2 != 0;
    const int width = turned ? facts.height : facts.width;
    const int height = turned ? facts.width : facts.height;
    double enlarge = 1;
    if (crop && crop->right > crop->left && crop->bottom > crop->top) {
        enlarge = std::min({double(width) / (crop->right - crop->left),
                            double(height) / (crop->bottom - crop->top), 8.0});
    }
    folvane::pdfdoc::PageRaster raster;
    const folvane::pdfdoc::PageDrawRequest request{path,
                                                   password,
                                                   page,
                                                   quarterTurns,
                                                   int(client.Width() * enlarge),
                                                   int(client.Height() * enlarge)};
    if (folvane::pdfdoc::drawPdfPage(request, raster) != PdfFailure::None ||
        !imageOf(raster, picture.image)) {
        return false;
    }
    picture.uprightWidth = width;
    picture.uprightHeight = height;
    keepCropPart(picture, folvane::PageLayout::fitted(), client, crop);
    return true;
}

bool loadPdfCropPicture(const std::string &path, int page, const std::string &password,
                        int quarterTurns, CropPicture &picture) {
    const folvane::ImageFacts facts = inspectPdfPage(path, page, password);
    folvane::pdfdoc::PageRaster raster;
    if (!facts.ok || folvane::pdfdoc::drawPdfPage(
                         {path, password, page, quarterTurns, kCropEditorSide, kCropEditorSide},
                         raster) != PdfFailure::None) {
        return false;
    }
    picture.page.width = raster.width;
    picture.page.height = raster.height;
    picture.page.rgb = std::move(raster.rgb);
    const bool turned = quarterTurns % 2 != 0;
    picture.fullWidth = turned ? facts.height : facts.width;
    picture.fullHeight = turned ? facts.width : facts.height;
    return !picture.page.Empty();
}

#include "app/RowCheck.h"

#include "app/CutPages.h"
#include "app/Messages.h"
#include "app/PdfRows.h"
#include "app/WindowTexts.h"
#include "pdf/CropCheck.h"

namespace {

std::string intakeText(folvane::ImageFacts::Intake intake) {
    switch (intake) {
    case folvane::ImageFacts::Intake::Copied:
        return Tr("Messages", "原样嵌入");
    case folvane::ImageFacts::Intake::Repaired:
        return Tr("Messages", "修复后嵌入");
    case folvane::ImageFacts::Intake::Recompressed:
        return Tr("Messages", "无损重新压缩");
    case folvane::ImageFacts::Intake::Unusable:
        break;
    }
    return "";
}

const char *turnText(int clockwiseTurns) {
    switch (clockwiseTurns) {
    case 1:
        return TR_NOOP("Messages", "已向右旋转");
    case 2:
        return TR_NOOP("Messages", "已旋转 180°");
    case 3:
        return TR_NOOP("Messages", "已向左旋转");
    default:
        return nullptr;
    }
}

// A page of a PDF goes in as the page it is, at its own size: no class places or cuts it, and
// no correction applies to it.
std::string pdfCheckText(const folvane::ImageFacts &facts, int turns,
                         const std::optional<folvane::CropRect> &crop) {
    std::string text = Tr("Messages", "PDF, %n 页, 原样复制", nullptr, facts.pages);
    if (const char *turned = turnText(turns)) {
        text += ", " + Tr("Messages", turned);
    }
    const int width = turns % 2 ? facts.height : facts.width;
    const int height = turns % 2 ? facts.width : facts.height;
    if (crop && folvane::cropFitOf(*crop, width, height) == folvane::CropFit::Fits) {
        text += ", " + Tr("Messages", "已裁剪");
    }
    return text;
}

} // namespace

std::string rowCheckText(const folvane::ImageFacts &facts, const folvane::PageLayout &layout,
                         int quarterTurns, bool corrected,
                         const std::optional<folvane::CropRect> &crop) {
    if (!facts.ok) {
        return problemText(facts.problem);
    }
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (facts.kind == kPdfKind) {
        return pdfCheckText(facts, turns, crop);
    }
    int width = turns % 2 ? facts.height : facts.width;
    int height = turns % 2 ? facts.width : facts.height;
    const bool cropped = crop && folvane::cropFitOf(*crop, width, height) == folvane::CropFit::Fits;
    if (cropped) {
        width = crop->right - crop->left;
        height = crop->bottom - crop->top;
    }
    std::string text = folvane::app::texts::fill(
        Tr("Messages", "%1 %2x%3, %4, %n 页", nullptr, facts.pages),
        {facts.kind, std::to_string(width), std::to_string(height),
         corrected ? Tr("Messages", "校正后放入(黑白为 G4, 有颜色为混合光栅, 或整页 JPEG)")
                   : intakeText(facts.intake)});
    if (const char *turned = turnText(turns)) {
        text += ", " + Tr("Messages", turned);
    }
    if (cropped) {
        text += ", " + Tr("Messages", "已裁剪");
    }
    const double outside = corrected ? 0 : folvane::placeOnPage(layout, width, height).outside;
    if (outside > 0) {
        text += ", " + folvane::app::texts::fill(Tr("Messages", "%1% 超出页面"),
                                                 {std::to_string(outsidePercent(outside))});
    }
    return text;
}

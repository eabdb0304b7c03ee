#include "app/SheetCheck.h"

#include "app/CorrectionPixels.h"
#include "platform/ui/Translation.h"

namespace {
// The long side the sheet is searched at: the sheet's edges stay sharp at this size, and the
// decode stays a few megabytes whatever the file's size.
constexpr uint32_t kSearchSide = 1024;
} // namespace

SheetCheck findSheetInFile(const std::string &path) {
    SheetCheck check;
    CorrectionPixels pixels;
    if (!decodeForCorrection(path, kSearchSide, pixels)) {
        return check;
    }
    const folvane::correction::SheetSearch search =
        folvane::correction::findSheet(pixels.picture());
    if (search.failure && search.failure.kind != folvane::correction::Failure::Kind::TwoSheets) {
        return check;
    }
    check.twoSheets = search.failure.kind == folvane::correction::Failure::Kind::TwoSheets;
    check.searched = true;
    check.found = search.found;
    check.corners = toFullSize(search.corners, pixels);
    if (check.found && !check.twoSheets) {
        check.spread = isSpreadWithin(pixels, check.corners);
    }
    return check;
}

bool isSpreadWithin(const CorrectionPixels &pixels, const folvane::SheetCorners &corners) {
    folvane::correction::Picture sheet = pixels.picture();
    sheet.corners = toPixels(corners, pixels);
    sheet.splitSpreads = true;
    return folvane::correction::isSpread(sheet);
}

std::string sheetCheckText(const SheetCheck &check, bool placedByHand) {
    if (placedByHand) {
        return Tr("Messages", "边角已手动调整");
    }
    if (!check.searched) {
        return "";
    }
    if (check.twoSheets) {
        return Tr("Messages", "照片中有两张纸，将按原样放入");
    }
    return check.found ? Tr("Messages", "已找到纸张") : Tr("Messages", "未找到纸张，将按原样放入");
}

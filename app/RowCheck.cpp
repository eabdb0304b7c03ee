#include "app/RowCheck.h"

#include <algorithm>
#include <cmath>

namespace {

const char *IntakeText(folvane::ImageFacts::Intake intake) {
    switch (intake) {
    case folvane::ImageFacts::Intake::Copied:
        return "原样嵌入";
    case folvane::ImageFacts::Intake::Repaired:
        return "修复后嵌入";
    case folvane::ImageFacts::Intake::Recompressed:
        return "无损重新压缩";
    case folvane::ImageFacts::Intake::Unusable:
        break;
    }
    return "";
}

} // namespace

std::string RowCheckText(const folvane::ImageFacts &facts, const folvane::PageLayout &layout) {
    if (!facts.ok) {
        return facts.reason;
    }
    std::string text = facts.kind + " " + std::to_string(facts.width) + "x" +
                       std::to_string(facts.height) + ", " + IntakeText(facts.intake) + ", " +
                       std::to_string(facts.pages) + " 页";
    const double outside = folvane::PlaceOnPage(layout, facts.width, facts.height).outside;
    if (outside > 0) {
        // A sliver still counts: "0%" would read as nothing cut off.
        const int percent = std::max(1, static_cast<int>(std::lround(outside * 100)));
        text += ", " + std::to_string(percent) + "% 超出页面";
    }
    return text;
}

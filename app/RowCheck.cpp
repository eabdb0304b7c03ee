#include "app/RowCheck.h"

#include "app/CutPages.h"
#include "app/Messages.h"

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
        return ProblemText(facts.problem);
    }
    std::string text = facts.kind + " " + std::to_string(facts.width) + "x" +
                       std::to_string(facts.height) + ", " + IntakeText(facts.intake) + ", " +
                       std::to_string(facts.pages) + " 页";
    const double outside = folvane::PlaceOnPage(layout, facts.width, facts.height).outside;
    if (outside > 0) {
        text += ", " + std::to_string(OutsidePercent(outside)) + "% 超出页面";
    }
    return text;
}

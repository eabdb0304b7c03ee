#include "app/RowCheck.h"

#include "app/CutPages.h"
#include "app/Messages.h"
#include "app/WindowTexts.h"

namespace {

std::string IntakeText(folvane::ImageFacts::Intake intake) {
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

} // namespace

std::string RowCheckText(const folvane::ImageFacts &facts, const folvane::PageLayout &layout) {
    if (!facts.ok) {
        return ProblemText(facts.problem);
    }
    std::string text = texts::Fill(Tr("Messages", "%1 %2x%3, %4, %n 页", nullptr, facts.pages),
                                   {facts.kind, std::to_string(facts.width),
                                    std::to_string(facts.height), IntakeText(facts.intake)});
    const double outside = folvane::PlaceOnPage(layout, facts.width, facts.height).outside;
    if (outside > 0) {
        text += ", " + texts::Fill(Tr("Messages", "%1% 超出页面"),
                                   {std::to_string(OutsidePercent(outside))});
    }
    return text;
}

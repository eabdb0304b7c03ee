#include "app/PropertiesResources.h"

#include <string>
#include <utility>

#include "app/PropertiesTexts.h"
#include "app/Resource.h"

namespace {

constexpr int kMargin = 7;
constexpr int kRowStep = 20;
constexpr int kButtonWidth = 50;

DialogTemplate buildPropertiesDialog(bool original) {
    const int labelWidth = original ? 36 : 50;
    const int editLeft = kMargin + labelWidth + 4;
    const int editWidth = 220;
    DialogTemplate dialog;
    dialog.id = IDD_PROPERTIES_DIALOG;
    dialog.caption = Tr("Dialog", folvane::app::texts::kPropertiesCaption);
    dialog.width = editLeft + editWidth + kMargin;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;
    const std::pair<int, const char *> rows[] = {
        {IDC_PROPERTY_TITLE, folvane::app::texts::kPropertyTitle},
        {IDC_PROPERTY_AUTHOR, folvane::app::texts::kPropertyAuthor},
        {IDC_PROPERTY_SUBJECT, folvane::app::texts::kPropertySubject},
        {IDC_PROPERTY_KEYWORDS, folvane::app::texts::kPropertyKeywords},
    };
    int y = kMargin;
    for (const auto &[id, label] : rows) {
        dialog.controls.push_back(Control(-1, ControlKind::StaticText, Tr("Dialog", label), kMargin,
                                          y + 2, labelWidth, 12));
        dialog.controls.push_back(Control(id, ControlKind::Edit, "", editLeft, y, editWidth, 14));
        y += kRowStep;
    }
    dialog.controls.push_back(Control(-1, ControlKind::StaticText,
                                      Tr("Dialog", folvane::app::texts::kPropertiesNote), kMargin,
                                      y, dialog.width - 2 * kMargin, 20));
    y += 24;
    ControlTemplate ok =
        Control(IDOK, ControlKind::DefPushButton, Tr("Dialog", "确定"),
                dialog.width - kMargin - 2 * kButtonWidth - 4, y, kButtonWidth, 16);
    ok.group = true;
    dialog.controls.push_back(ok);
    dialog.controls.push_back(Control(IDCANCEL, ControlKind::PushButton, Tr("Window", "取消"),
                                      dialog.width - kMargin - kButtonWidth, y, kButtonWidth, 16));
    dialog.height = y + 16 + kMargin;
    return dialog;
}

} // namespace

DialogTemplate propertiesDialogTemplate() {
    return buildPropertiesDialog(SpeaksSourceLanguage());
}

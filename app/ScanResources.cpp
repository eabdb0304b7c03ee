#include "app/ScanResources.h"

#include "app/DuplexTexts.h"
#include "app/Resource.h"
#include "app/ScanTexts.h"

namespace {

constexpr int kMargin = 7;
constexpr int kLabelWidth = 44;
constexpr int kListLeft = kMargin + kLabelWidth + 4;
constexpr int kDialogWidth = 260;
constexpr int kRowStep = 22;
constexpr int kListHeight = 16;
constexpr int kChoiceWidth = 110;
constexpr int kButtonWidth = 50;

// The label and drop-down list of row `row`.
std::vector<ControlTemplate> ChoiceRow(int row, int id, const std::string &label, int width) {
    const int y = kMargin + row * kRowStep;
    return {Control(-1, ControlKind::StaticText, label, kMargin, y + 2, kLabelWidth, 12),
            Control(id, ControlKind::ComboBox, "", kListLeft, y, width, kListHeight)};
}

DialogTemplate BuildScanDialog() {
    DialogTemplate dialog;
    dialog.id = IDD_SCAN_DIALOG;
    dialog.caption = folvane::app::texts::scan(folvane::app::texts::kScanCaption);
    dialog.width = kDialogWidth;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;
    const std::pair<int, std::string> rows[] = {
        {IDC_SCAN_DEVICE, folvane::app::texts::scan(folvane::app::texts::kScanDeviceLabel)},
        {IDC_SCAN_SOURCE, folvane::app::texts::scan(folvane::app::texts::kScanSourceLabel)},
        {IDC_SCAN_MODE, folvane::app::texts::scan(folvane::app::texts::kScanModeLabel)},
        {IDC_SCAN_RESOLUTION, folvane::app::texts::scan(folvane::app::texts::kScanResolutionLabel)},
        {IDC_SCAN_PAGE_SIZE, folvane::app::texts::scan(folvane::app::texts::kScanPageSizeLabel)},
    };
    int row = 0;
    for (const auto &[id, label] : rows) {
        const int width = id == IDC_SCAN_DEVICE ? kDialogWidth - kMargin - kListLeft : kChoiceWidth;
        for (ControlTemplate &control : ChoiceRow(row++, id, label, width)) {
            dialog.controls.push_back(std::move(control));
        }
    }
    const int hintTop = kMargin + row * kRowStep - 4;
    dialog.controls.push_back(Control(IDC_SCAN_PAGE_HINT, ControlKind::StaticText, "", kListLeft,
                                      hintTop, kDialogWidth - kMargin - kListLeft, 20));
    ControlTemplate twoSided =
        Control(IDC_SCAN_TWO_SIDED, ControlKind::CheckBox,
                folvane::app::texts::scan(folvane::app::texts::kScanTwoSided), kListLeft,
                hintTop + 22, kDialogWidth - kMargin - kListLeft, 12);
    twoSided.toolTip = folvane::app::texts::scan(folvane::app::texts::kScanTwoSidedTip);
    dialog.controls.push_back(twoSided);
    const int folderTop = hintTop + 40;
    dialog.controls.push_back(Control(IDC_SCAN_FOLDER, ControlKind::StaticText, "", kMargin,
                                      folderTop, kDialogWidth - 2 * kMargin, 20));
    const int buttonTop = folderTop + 26;
    ControlTemplate scan =
        Control(IDOK, ControlKind::DefPushButton,
                folvane::app::texts::scan(folvane::app::texts::kScanStart),
                kDialogWidth - kMargin - 2 * kButtonWidth - 4, buttonTop, kButtonWidth, 16);
    scan.disabled = true;
    scan.group = true;
    dialog.controls.push_back(scan);
    dialog.controls.push_back(Control(IDCANCEL, ControlKind::PushButton,
                                      folvane::app::texts::scan(folvane::app::texts::kScanCancel),
                                      kDialogWidth - kMargin - kButtonWidth, buttonTop,
                                      kButtonWidth, 16));
    dialog.height = buttonTop + 16 + kMargin;
    return dialog;
}

} // namespace

const DialogTemplate &ScanDialogTemplate() {
    static const DialogTemplate dialog = BuildScanDialog();
    return dialog;
}

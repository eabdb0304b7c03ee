#pragma once

#include <string>

#include "pdf/DocumentProperties.h"
#include "platform/ui/CDialog.h"

class UiToolkit;

// "文档属性": the title, author, subject and keywords of the PDF about to be written. "确定"
// takes them only when each is text PDF readers show as typed (base/DocumentText.h's rule);
// otherwise a box names the property and why, and the dialog stays open on it.
class CPropertiesDlg : public CDialog {
public:
    CPropertiesDlg(UiToolkit &ui, folvane::DocumentProperties properties);

    const folvane::DocumentProperties &properties() const { return properties_; }

    void DoDataExchange(CDataExchange *dx) override;
    void OnOK() override;

    // Why `properties` cannot be taken, in the window's language; "" when they can. `id` is
    // then the control of the first property refused.
    static std::string refusal(const folvane::DocumentProperties &properties, int &id);

private:
    folvane::DocumentProperties properties_;
};

#pragma once

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/ScanChoiceLists.h"
#include "app/ScannerAccess.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/MessageMap.h"

class BackgroundQueue;
class UiToolkit;

// The scan dialog: the scanners found, what the chosen one offers (source, mode, resolution,
// page size) with the last scan's choices preselected, and where the pages go. Scanners are
// looked for and asked what they offer on the scanner thread (`jobs`), since either can take
// seconds; the list says "正在查找扫描仪..." meanwhile. "扫描" ends the dialog with IDOK once the
// chosen scanner's offer is known, remembering the choices; Request() then says what to scan.
// When no scanner is found, or looking fails, a box says why and offers "重试", which looks
// again; the dialog stays open either way.
class CScanDlg : public CDialog {
public:
    CScanDlg(UiToolkit &ui, const ScannerAccess &scanners, BackgroundQueue &jobs);

    const ScanRequest &Request() const { return m_request; }

    void DoDataExchange(CDataExchange *dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    // Another scanner was chosen: its offer is shown once known.
    void OnDeviceChosen();
    // Another page size was chosen: says under it when the paper is larger than the scanner.
    void ShowPaperHint();

protected:
    bool OnWndMsg(const UiMessage &msg, LRESULT *result) override;

private:
    static std::span<const MessageMapEntry<CScanDlg>> MessageMap();
    // Runs job on the scanner thread; what it hands back runs only while this dialog lives.
    void RunJob(std::function<std::function<void()>()> job);
    // Looks for the scanners on the scanner thread, the list saying so meanwhile.
    void LookForScanners();
    void OnScannersFound(const std::vector<folvane::scan::DeviceInfo> &devices);
    void OnScannerOffer(const std::string &device, const folvane::scan::DeviceChoices &offer);
    void OnScannerFailed(const std::string &device, const folvane::scan::ScanError &error);
    void AskOffer(const std::string &device);
    // Shows the offer of the chosen scanner (none while it is not known) and allows "扫描" with it.
    void ShowOffer();
    std::string ChosenDevice() const;
    const ScanChoiceLists *ChosenOffer() const;

    const ScannerAccess m_scanners;
    BackgroundQueue &m_jobs;
    CComboBox m_device;
    CComboBox m_source;
    CComboBox m_mode;
    CComboBox m_resolution;
    CComboBox m_pageSize;
    bool m_twoSided = false;                         // "单面进纸器扫描双面"
    std::vector<std::string> m_deviceNames;          // behind the scanner list's items
    std::map<std::string, ScanChoiceLists> m_offers; // by scanner name, once known
    ScanRequest m_request;
    // Alive as long as the dialog: what a job hands back runs only while it is.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

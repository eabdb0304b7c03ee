#include "app/CScanDlg.h"

#include <array>

#include "app/BackgroundQueue.h"
#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "app/ScanDialogSettings.h"
#include "app/ScanMessages.h"
#include "app/ScanResources.h"
#include "app/ScanTexts.h"
#include "app/WindowTexts.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/UiToolkit.h"

namespace {

using folvane::scan::DeviceChoices;
using folvane::scan::DeviceInfo;
using folvane::scan::ScanError;
using folvane::scan::ScanFailure;

void Fill(CComboBox &combo, const std::vector<std::string> &items, int chosen) {
    combo.ResetContent();
    for (const std::string &item : items) {
        combo.AddString(item);
    }
    combo.SetCurSel(items.empty() ? -1 : chosen);
    // One item is no choice.
    combo.EnableWindow(items.size() > 1);
}

} // namespace

CScanDlg::CScanDlg(UiToolkit &ui, const ScannerAccess &scanners, BackgroundQueue &jobs)
    : CDialog(ScanDialogTemplate(), ui), m_scanners(scanners), m_jobs(jobs) {}

void CScanDlg::DoDataExchange(CDataExchange *dx) {
    DDX_Control(dx, IDC_SCAN_DEVICE, m_device);
    DDX_Control(dx, IDC_SCAN_SOURCE, m_source);
    DDX_Control(dx, IDC_SCAN_MODE, m_mode);
    DDX_Control(dx, IDC_SCAN_RESOLUTION, m_resolution);
    DDX_Control(dx, IDC_SCAN_PAGE_SIZE, m_pageSize);
    DDX_Check(dx, IDC_SCAN_TWO_SIDED, m_twoSided);
}

std::span<const MessageMapEntry<CScanDlg>> CScanDlg::MessageMap() {
    static const std::array<MessageMapEntry<CScanDlg>, 2> map = {
        OnSelChange<CScanDlg>(IDC_SCAN_DEVICE, &CScanDlg::OnDeviceChosen),
        OnSelChange<CScanDlg>(IDC_SCAN_PAGE_SIZE, &CScanDlg::ShowPaperHint),
    };
    return map;
}

bool CScanDlg::OnWndMsg(const UiMessage &msg, LRESULT *result) {
    return DispatchMessageMap<CScanDlg>(*this, MessageMap(), msg, result);
}

bool CScanDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (CWnd *folder = GetDlgItem(IDC_SCAN_FOLDER)) {
        folder->SetWindowText(folvane::app::texts::scan(folvane::app::texts::kScanFolder,
                                                        {folvane::scan::defaultSessionParent()}));
    }
    LookForScanners();
    return true;
}

void CScanDlg::LookForScanners() {
    m_deviceNames.clear();
    Fill(m_device, {folvane::app::texts::scan(folvane::app::texts::kScanLooking)}, 0);
    ShowOffer();
    RunJob([list = m_scanners.list, this]() -> std::function<void()> {
        try {
            std::vector<DeviceInfo> devices = list();
            return [this, devices] { OnScannersFound(devices); };
        } catch (const ScanFailure &failure) {
            return [this, error = failure.error()] { OnScannerFailed("", error); };
        }
    });
}

void CScanDlg::RunJob(std::function<std::function<void()>()> job) {
    m_jobs.run([job = std::move(job), alive = std::weak_ptr<int>(m_alive)] {
        std::function<void()> done = job();
        return [alive, done] {
            if (alive.lock()) {
                done();
            }
        };
    });
}

void CScanDlg::OnScannersFound(const std::vector<DeviceInfo> &devices) {
    if (devices.empty()) {
        ScanError none;
        none.kind = folvane::scan::ScanErrorKind::NoDevice;
        OnScannerFailed("", none);
        return;
    }
    const std::string last = ScanDialogSettings(Toolkit().Settings()).device();
    std::vector<std::string> items;
    int chosen = 0;
    m_deviceNames.clear();
    for (const DeviceInfo &device : devices) {
        if (device.name == last) {
            chosen = static_cast<int>(items.size());
        }
        items.push_back(folvane::app::texts::scan(folvane::app::texts::kScanDevice,
                                                  {device.vendor, device.model, device.name}));
        m_deviceNames.push_back(device.name);
    }
    Fill(m_device, items, chosen);
    OnDeviceChosen();
}

void CScanDlg::OnDeviceChosen() {
    const std::string device = ChosenDevice();
    ShowOffer();
    if (!device.empty() && m_offers.count(device) == 0) {
        AskOffer(device);
    }
}

void CScanDlg::AskOffer(const std::string &device) {
    RunJob([open = m_scanners.open, device, this]() -> std::function<void()> {
        try {
            // The scanner is closed again before the answer is handed back, so that the scan
            // can open it.
            const DeviceChoices offer = open(device)->choices();
            return [this, device, offer] { OnScannerOffer(device, offer); };
        } catch (const ScanFailure &failure) {
            return [this, device, error = failure.error()] { OnScannerFailed(device, error); };
        }
    });
}

void CScanDlg::OnScannerOffer(const std::string &device, const DeviceChoices &offer) {
    m_offers[device] = choiceListsFor(offer, ScanDialogSettings(Toolkit().Settings()));
    ShowOffer();
}

void CScanDlg::OnScannerFailed(const std::string &device, const ScanError &error) {
    if (!device.empty()) {
        // Another scanner of the list may still do.
        MessageBox(scanErrorText(error), folvane::app::texts::window(kCaptionNotice),
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    // No scanner at all: the dialog stays, so that a scanner switched on or plugged in after
    // reading the box can be looked for again without leaving it.
    Fill(m_device, {folvane::app::texts::scan(folvane::app::texts::kScanNoneFound)}, 0);
    const int answer =
        AskQuestion(scanErrorText(error), folvane::app::texts::window(kCaptionNotice),
                    {folvane::app::texts::scan(folvane::app::texts::kAnswerRetry),
                     folvane::app::texts::window(kAnswerOk)});
    if (answer == 0) {
        LookForScanners();
    }
}

std::string CScanDlg::ChosenDevice() const {
    const int chosen = m_device.GetCurSel();
    return chosen >= 0 && chosen < static_cast<int>(m_deviceNames.size())
               ? m_deviceNames[static_cast<std::size_t>(chosen)]
               : std::string();
}

void CScanDlg::ShowOffer() {
    const auto offer = m_offers.find(ChosenDevice());
    const ScanChoiceLists none;
    const ScanChoiceLists &lists = offer == m_offers.end() ? none : offer->second;
    Fill(m_source, lists.sources.items, lists.sources.chosen);
    Fill(m_mode, lists.modes.items, lists.modes.chosen);
    Fill(m_resolution, lists.resolutions.items, lists.resolutions.chosen);
    Fill(m_pageSize, lists.pageSizes.items, lists.pageSizes.chosen);
    if (CWnd *scan = GetDlgItem(IDOK)) {
        scan->EnableWindow(offer != m_offers.end());
    }
    ShowPaperHint();
}

const ScanChoiceLists *CScanDlg::ChosenOffer() const {
    const auto offer = m_offers.find(ChosenDevice());
    return offer == m_offers.end() ? nullptr : &offer->second;
}

void CScanDlg::ShowPaperHint() {
    if (CWnd *hint = GetDlgItem(IDC_SCAN_PAGE_HINT)) {
        const ScanChoiceLists *lists = ChosenOffer();
        hint->SetWindowText(lists ? paperHint(*lists, m_pageSize.GetCurSel()) : std::string());
    }
}

void CScanDlg::OnOK() {
    const auto offer = m_offers.find(ChosenDevice());
    if (offer == m_offers.end()) {
        return; // "扫描" waits for the scanner's offer
    }
    UpdateData(true);
    m_request.device = offer->first;
    m_request.twoSided = m_twoSided;
    m_request.settings =
        settingsOf(offer->second, ChosenItems{m_source.GetCurSel(), m_mode.GetCurSel(),
                                              m_resolution.GetCurSel(), m_pageSize.GetCurSel()});
    ScanDialogSettings(Toolkit().Settings()).remember(m_request.device, m_request.settings);
    EndDialog(IDOK);
}

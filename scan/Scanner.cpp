#include "scan/Scanner.h"

#include "scan/DeviceSetup.h"
#include "scan/ScannerState.h"

namespace folvane::scan {

namespace {

std::string Text(SANE_String_Const text) {
    return text != nullptr ? text : "";
}

[[noreturn]] void NoDevice(const std::string &name) {
    ScanError error;
    error.kind = ScanErrorKind::NoDevice;
    error.device = name;
    throw ScanFailure(error);
}

} // namespace

std::vector<DeviceInfo> ListDevices() {
    EnsureSane();
    std::lock_guard<std::mutex> lock(SaneGlobalLock());
    const SANE_Device **devices = nullptr;
    SANE_Status status = Sane().getDevices(&devices, SANE_FALSE);
    if (status != SANE_STATUS_GOOD) {
        throw ScanFailure(StatusError(status, "", 0));
    }
    std::vector<DeviceInfo> list;
    for (int i = 0; devices != nullptr && devices[i] != nullptr; ++i) {
        const SANE_Device &d = *devices[i];
        list.push_back({Text(d.name), Text(d.vendor), Text(d.model), Text(d.type)});
    }
    return list;
}

std::unique_ptr<Scanner> Scanner::Open(const std::string &name) {
    EnsureSane();
    std::string device = name;
    if (device.empty()) {
        std::vector<DeviceInfo> devices = ListDevices();
        if (devices.empty()) {
            NoDevice("");
        }
        device = devices.front().name;
    }
    SANE_Handle handle = nullptr;
    SANE_Status status;
    {
        std::lock_guard<std::mutex> lock(SaneGlobalLock());
        status = Sane().open(device.c_str(), &handle);
    }
    // SANE answers an unknown name with "invalid argument".
    if (status == SANE_STATUS_INVAL) {
        NoDevice(device);
    }
    if (status != SANE_STATUS_GOOD) {
        throw ScanFailure(StatusError(status, device, 0));
    }
    auto state = std::make_unique<ScannerState>(handle, device);
    return std::unique_ptr<Scanner>(new Scanner(device, std::move(state)));
}

Scanner::Scanner(std::string name, std::unique_ptr<ScannerState> state)
    : name_(std::move(name)), state_(std::move(state)) {}

Scanner::~Scanner() {
    std::lock_guard<std::mutex> lock(SaneGlobalLock());
    Sane().close(state_->handle);
}

DeviceChoices Scanner::Choices() {
    return ReadChoices(state_->options);
}

void Scanner::Apply(const ScanSettings &settings) {
    ApplySettings(state_->options, settings);
}

void Scanner::SetOption(const std::string &option, const std::string &value) {
    state_->options.SetFromText(option, value);
}

void Scanner::Cancel() {
    state_->cancelled = true;
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->scanning) {
        // SANE lets sane_cancel run while another thread waits in sane_read.
        Sane().cancel(state_->handle);
    }
}

} // namespace folvane::scan

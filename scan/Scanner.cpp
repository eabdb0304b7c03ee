#include "scan/Scanner.h"

#include "scan/DeviceSetup.h"
#include "scan/ScannerState.h"

namespace folvane::scan {

namespace {

std::string text(SANE_String_Const text) {
    return text != nullptr ? text : "";
}

[[noreturn]] void noDevice(const std::string &name) {
    ScanError error;
    error.kind = ScanErrorKind::NoDevice;
    error.device = name;
    throw ScanFailure(error);
}

} // namespace

std::vector<DeviceInfo> listDevices() {
    ensureSane();
    std::lock_guard<std::mutex> lock(saneGlobalLock());
    const SANE_Device **devices = nullptr;
    SANE_Status status = sane().getDevices(&devices, SANE_FALSE);
    if (status != SANE_STATUS_GOOD) {
        throw ScanFailure(statusError(status, "", 0));
    }
    std::vector<DeviceInfo> list;
    for (int i = 0; devices != nullptr && devices[i] != nullptr; ++i) {
        const SANE_Device &d = *devices[i];
        list.push_back({text(d.name), text(d.vendor), text(d.model), text(d.type)});
    }
    return list;
}

std::unique_ptr<Scanner> Scanner::open(const std::string &name) {
    ensureSane();
    std::string device = name;
    if (device.empty()) {
        std::vector<DeviceInfo> devices = listDevices();
        if (devices.empty()) {
            noDevice("");
        }
        device = devices.front().name;
    }
    SANE_Handle handle = nullptr;
    SANE_Status status;
    {
        std::lock_guard<std::mutex> lock(saneGlobalLock());
        status = sane().open(device.c_str(), &handle);
    }
    // SANE answers an unknown name with "invalid argument".
    if (status == SANE_STATUS_INVAL) {
        noDevice(device);
    }
    if (status != SANE_STATUS_GOOD) {
        throw ScanFailure(statusError(status, device, 0));
    }
    auto state = std::make_unique<ScannerState>(handle, device);
    return std::unique_ptr<Scanner>(new Scanner(device, std::move(state)));
}

Scanner::Scanner(std::string name, std::unique_ptr<ScannerState> state)
    : name_(std::move(name)), state_(std::move(state)) {}

Scanner::~Scanner() {
    std::lock_guard<std::mutex> lock(saneGlobalLock());
    sane().close(state_->handle);
}

DeviceChoices Scanner::choices() {
    return readChoices(state_->options);
}

void Scanner::apply(const ScanSettings &settings) {
    applySettings(state_->options, settings);
}

void Scanner::setOption(const std::string &option, const std::string &value) {
    state_->options.setFromText(option, value);
}

void Scanner::cancel() {
    state_->cancelled = true;
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->scanning) {
        // SANE lets sane_cancel run while another thread waits in sane_read.
        sane().cancel(state_->handle);
    }
}

} // namespace folvane::scan

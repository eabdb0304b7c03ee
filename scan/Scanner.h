// Scanners over SANE: listing them, opening one, setting it up and scanning pages into files.
//
// Threads: everything here blocks (listing can take seconds, a page many), so a window calls it
// from one worker thread, one call at a time; only Scanner::cancel() may be called from any
// other thread while a scan runs. The events of scan() run on the thread that called it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/PageFolder.h"
#include "scan/ScanError.h"
#include "scan/ScanSettings.h"

namespace folvane::scan {

struct DeviceInfo {
    std::string name; // what Scanner::open takes, e.g. "genesys:libusb:001:004"
    std::string vendor;
    std::string model;
    std::string type; // "flatbed scanner", "sheetfed scanner", ...
};

// Every scanner SANE finds, local and on the network. Throws ScanFailure when SANE itself fails;
// an empty list is not an error here.
std::vector<DeviceInfo> listDevices();

// A page written and complete on disk.
struct ScannedPage {
    int number = 0;      // within the scan call, from 1
    std::string path;    // page-NNN.png (grey, colour) or page-NNN.tif (black and white, G4)
    uint32_t width = 0;  // pixels
    uint32_t height = 0; // pixels
    double xDpi = 0;     // as recorded in the file; 0 when the scanner did not say
    double yDpi = 0;
};

// Bytes of the page read so far, of `bytesExpected` (-1 while the page's length is unknown).
struct PageProgress {
    int page = 0;
    int64_t bytesRead = 0;
    int64_t bytesExpected = -1;
};

struct ScanEvents {
    std::function<void(int page)> onPageStarted;
    std::function<void(const PageProgress &)> onProgress;
    std::function<void(const ScannedPage &)> onPageWritten; // after the file is flushed
};

// What a scan call gave: the pages written, in order, and why it stopped early, if it did.
// Pages written before an error stay on disk and in `pages`.
struct ScanOutcome {
    std::vector<ScannedPage> pages;
    std::optional<ScanError> error;
};

struct ScannerState;

class Scanner {
public:
    // Opens the scanner of that name, or the first one found when `name` is empty. Throws
    // ScanFailure (NoDevice, DeviceBusy, AccessDenied, ...).
    static std::unique_ptr<Scanner> open(const std::string &name);
    ~Scanner();
    Scanner(const Scanner &) = delete;
    Scanner &operator=(const Scanner &) = delete;

    const std::string &name() const { return name_; }

    // What the scanner offers and how it is set now.
    DeviceChoices choices();
    // Sets the scanner up; throws ScanFailure (InvalidOption) naming the first setting the
    // scanner refuses or does not offer.
    void apply(const ScanSettings &settings);
    // Sets one of the scanner's own options by its SANE name; the value as text: a number in
    // the option's unit, yes/no for a switch, or one of its words. Throws ScanFailure.
    void setOption(const std::string &option, const std::string &value);

    // Scans into `folder`: on a feeder or duplex source until it is empty, on a flatbed one
    // page. Each page is written as it arrives and reported once complete on disk; a page cut
    // short by an error or cancel() leaves no file.
    ScanOutcome scan(PageFolder &folder, const ScanEvents &events = {});

    // Stops a running scan() (or the next one, when none runs): the page being read is dropped
    // and scan() returns with a Cancelled error. Safe from any thread.
    void cancel();

private:
    Scanner(std::string name, std::unique_ptr<ScannerState> state);

    std::string name_;
    std::unique_ptr<ScannerState> state_;
};

} // namespace folvane::scan

// Scanner::scan: pages one after another, each started with sane_start and read to its end,
// until the feeder is empty, a flatbed's one page is done, or something stops the scan.
#include "scan/OptionMatching.h"
#include "scan/ScannerState.h"

namespace folvane::scan {

namespace {

Resolution currentResolution(const SaneOptions &options) {
    std::optional<double> x = options.getNumber("resolution");
    if (!x) {
        x = options.getNumber("x-resolution");
    }
    std::optional<double> y = options.getNumber("y-resolution");
    return Resolution{x.value_or(0), y.value_or(x.value_or(0))};
}

// Whether pages come from a feeder, which goes on until it is empty; a flatbed gives one page.
bool feederSelected(const SaneOptions &options) {
    std::optional<std::string> source = options.getString("source");
    std::optional<ScanSource> kind = source ? classifySource(*source) : std::nullopt;
    return kind == ScanSource::Feeder || kind == ScanSource::Duplex;
}

// Marks the scan as running for cancel() and, however the scan ends, ends SANE's batch and
// takes back a cancel request.
class RunningScan {
public:
    explicit RunningScan(ScannerState &state) : state_(state) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.scanning = true;
    }
    ~RunningScan() {
        {
            std::lock_guard<std::mutex> lock(state_.mutex);
            state_.scanning = false;
        }
        sane().cancel(state_.handle);
        state_.cancelled = false;
    }
    RunningScan(const RunningScan &) = delete;
    RunningScan &operator=(const RunningScan &) = delete;

private:
    ScannerState &state_;
};

// The next page; nullopt when the feeder is empty before it. Throws ScanFailure.
std::optional<ScannedPage> nextPage(ScannerState &state, const PageRequest &request) {
    const SANE_Status status = state.cancelled ? SANE_STATUS_CANCELLED : sane().start(state.handle);
    if (status == SANE_STATUS_NO_DOCS) {
        return std::nullopt;
    }
    if (status != SANE_STATUS_GOOD) {
        throw ScanFailure(statusError(status, request.device, request.page));
    }
    return readPage(request);
}

} // namespace

ScanOutcome Scanner::scan(PageFolder &folder, const ScanEvents &events) {
    ScannerState &state = *state_;
    RunningScan running(state);
    const bool feeder = feederSelected(state.options);
    PageRequest request{state.handle,     name_,   0,       currentResolution(state.options),
                        &state.cancelled, &events, &folder, &state.buffers};
    ScanOutcome outcome;
    for (int page = 1;; ++page) {
        request.page = page;
        std::optional<ScannedPage> written;
        try {
            written = nextPage(state, request);
            // An empty feeder after at least one page is the normal end of a batch.
            if (!written && !(feeder && page > 1)) {
                throw ScanFailure(statusError(SANE_STATUS_NO_DOCS, name_, page));
            }
        } catch (const ScanFailure &failure) {
            outcome.error = failure.error();
            // Whatever a cancelled driver answers, the user asked to stop.
            if (state.cancelled) {
                outcome.error->kind = ScanErrorKind::Cancelled;
            }
            break;
        }
        if (!written) {
            break;
        }
        outcome.pages.push_back(*written);
        if (events.onPageWritten) {
            events.onPageWritten(outcome.pages.back());
        }
        if (!feeder) {
            break;
        }
    }
    return outcome;
}

} // namespace folvane::scan

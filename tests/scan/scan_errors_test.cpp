// Every way a scan can stop: each error the driver can report gives its kind, the device and
// the page, and an English message, and leaves the pages written before it (and nothing of the
// page it broke off); cancelling from another thread does the same; settings the scanner
// refuses, a missing or busy scanner fail before anything is scanned.

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "tests/scan/ScanRun.h"

namespace {

using namespace folvane::scan;
using namespace scan_test;

ScanSettings FeederSettings() {
    ScanSettings settings;
    settings.source = ScanSource::Feeder;
    settings.mode = ScanMode::Gray;
    settings.resolution = 50;
    return settings;
}

struct StatusCase {
    const char *status; // the test driver's word for what sane_read answers
    ScanErrorKind kind;
    const char *phrase; // in the English message
};

void PrintTo(const StatusCase &c, std::ostream *out) {
    *out << c.status;
}

const StatusCase kStatuses[] = {
    {"SANE_STATUS_JAMMED", ScanErrorKind::PaperJam, "paper jam"},
    {"SANE_STATUS_COVER_OPEN", ScanErrorKind::CoverOpen, "cover is open"},
    {"SANE_STATUS_IO_ERROR", ScanErrorKind::IoError, "input/output error"},
    {"SANE_STATUS_NO_MEM", ScanErrorKind::OutOfMemory, "ran out of memory"},
    {"SANE_STATUS_ACCESS_DENIED", ScanErrorKind::AccessDenied, "access to the scanner was denied"},
    {"SANE_STATUS_DEVICE_BUSY", ScanErrorKind::DeviceBusy, "the scanner is busy"},
    {"SANE_STATUS_INVAL", ScanErrorKind::InvalidOption, "refused its settings"},
    {"SANE_STATUS_CANCELLED", ScanErrorKind::Cancelled, "scanning was cancelled"},
    {"SANE_STATUS_UNSUPPORTED", ScanErrorKind::Other, "Operation not supported"},
};

class ScanStatusTest : public ::testing::TestWithParam<StatusCase> {
protected:
    support::TempDir dir;
};

TEST_P(ScanStatusTest, ThirdPageFailsWithItsKindAndTheFirstTwoStay) {
    const StatusCase &c = GetParam();
    std::unique_ptr<Scanner> scanner = OpenTestScanner(FeederSettings());
    PageFolder folder(dir.Path());
    ScanEvents events;
    events.onPageWritten = [&](const ScannedPage &page) {
        if (page.number == 2) {
            scanner->setOption("read-return-value", c.status);
        }
    };
    events.onPageStarted = [](int page) {
        if (page == 3) {
            LetTheDriverStart();
        }
    };
    ScanOutcome outcome = scanner->scan(folder, events);
    EXPECT_EQ(outcome.pages.size(), 2u);
    EXPECT_EQ(support::Listing(dir.Path()), PageNames(2, ".png"));
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, c.kind);
    EXPECT_EQ(outcome.error->device, "test:0");
    EXPECT_EQ(outcome.error->page, 3);
    const std::string message = englishMessage(*outcome.error);
    EXPECT_EQ(message.rfind("scanner test:0, page 3: ", 0), 0u) << message;
    EXPECT_NE(message.find(c.phrase), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Statuses, ScanStatusTest, ::testing::ValuesIn(kStatuses),
                         [](const auto &test) { return std::string(test.param.status + 12); });

class ScanStopTest : public ::testing::Test {
protected:
    support::TempDir dir;
};

TEST_F(ScanStopTest, AnEmptyFeederIsAnErrorOnlyBeforeTheFirstPage) {
    std::unique_ptr<Scanner> scanner = OpenTestScanner(FeederSettings());
    PageFolder folder(dir.Path());
    // The feeder's own end: the driver's ten sheets, then "no documents" at the next start.
    ScanOutcome all = scanner->scan(folder);
    EXPECT_FALSE(all.error);
    EXPECT_EQ(all.pages.size(), 10u);

    scanner->setOption("read-return-value", "SANE_STATUS_NO_DOCS");
    ScanEvents waiting;
    waiting.onPageStarted = [](int) { LetTheDriverStart(); };
    ScanOutcome empty = scanner->scan(folder, waiting);
    EXPECT_TRUE(empty.pages.empty());
    ASSERT_TRUE(empty.error);
    EXPECT_EQ(empty.error->kind, ScanErrorKind::FeederEmpty);
    EXPECT_EQ(empty.error->page, 1);
    EXPECT_NE(englishMessage(*empty.error).find("feeder is empty"), std::string::npos);

    // "No documents" at a page's first read, after pages: the end of the stack, no error.
    scanner->setOption("read-return-value", "Default");
    ScanOutcome stack = ScanStack(*scanner, folder, 3);
    EXPECT_FALSE(stack.error);
    EXPECT_EQ(stack.pages.size(), 3u);
    EXPECT_EQ(support::Listing(dir.Path()), PageNames(13, ".png"));
}

TEST_F(ScanStopTest, CancelFromAnotherThreadKeepsTheWrittenPagesAndDropsTheOneBeingRead) {
    std::unique_ptr<Scanner> scanner = OpenTestScanner(FeederSettings());
    // Small reads, so that the third page is read in many steps.
    scanner->setOption("read-limit", "yes");
    scanner->setOption("read-limit-size", "64");
    PageFolder folder(dir.Path());
    std::atomic<bool> thirdPageReading{false};
    std::atomic<bool> cancelSent{false};
    ScanEvents events;
    // The third page waits, part read, until the other thread has cancelled.
    events.onProgress = [&](const PageProgress &progress) {
        if (progress.page == 3 && progress.bytesRead > 0 && !thirdPageReading) {
            thirdPageReading = true;
            while (!cancelSent) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    };
    std::thread canceller([&] {
        while (!thirdPageReading) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        scanner->cancel();
        cancelSent = true;
    });
    ScanOutcome outcome = scanner->scan(folder, events);
    canceller.join();
    EXPECT_EQ(outcome.pages.size(), 2u);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, ScanErrorKind::Cancelled);
    EXPECT_EQ(outcome.error->page, 3);
    EXPECT_EQ(support::Listing(dir.Path()), PageNames(2, ".png"));
    // The next scan starts afresh.
    scanner->setOption("read-limit", "no");
    EXPECT_EQ(ScanStack(*scanner, folder, 1).pages.size(), 1u);
}

TEST_F(ScanStopTest, SettingsTheScannerDoesNotOfferAreRefusedByName) {
    std::unique_ptr<Scanner> scanner = OpenTestScanner({});
    auto refusal = [&](const ScanSettings &settings) {
        try {
            scanner->apply(settings);
        } catch (const ScanFailure &failure) {
            return failure.error();
        }
        return ScanError{};
    };
    ScanSettings resolution;
    resolution.resolution = 5000;
    ScanError error = refusal(resolution);
    EXPECT_EQ(error.kind, ScanErrorKind::InvalidOption);
    EXPECT_EQ(error.option, "resolution");
    EXPECT_EQ(error.value, "5000");
    EXPECT_EQ(englishMessage(error), "scanner test:0: the scanner does not accept \"5000\" for "
                                     "its option 'resolution' (it offers 1..1200)");
    ScanSettings duplex;
    duplex.source = ScanSource::Duplex;
    error = refusal(duplex);
    EXPECT_EQ(error.option, "source");
    EXPECT_NE(error.detail.find("Flatbed, Automatic Document Feeder"), std::string::npos);
    ScanSettings deep;
    deep.bitDepth = 12;
    EXPECT_EQ(refusal(deep).option, "depth");
    try {
        scanner->setOption("no-such-option", "1");
        ADD_FAILURE() << "an unknown option was accepted";
    } catch (const ScanFailure &failure) {
        EXPECT_EQ(failure.error().kind, ScanErrorKind::InvalidOption);
        EXPECT_EQ(failure.error().detail, "the scanner has no such option");
    }
}

TEST_F(ScanStopTest, AMissingOrBusyScannerFailsToOpenWithAHint) {
    UseTestDriver();
    try {
        Scanner::open("test:9");
        ADD_FAILURE() << "a scanner that does not exist was opened";
    } catch (const ScanFailure &failure) {
        EXPECT_EQ(failure.error().kind, ScanErrorKind::NoDevice);
        const std::string message = failure.what();
        EXPECT_NE(message.find("no scanner named \"test:9\""), std::string::npos);
        for (const char *hint : {"switched on", "'scanner' group", "net.conf", "saned"}) {
            EXPECT_NE(message.find(hint), std::string::npos) << hint;
        }
    }
    std::unique_ptr<Scanner> first = Scanner::open("test:0");
    try {
        Scanner::open("test:0");
        ADD_FAILURE() << "a scanner in use was opened twice";
    } catch (const ScanFailure &failure) {
        EXPECT_EQ(failure.error().kind, ScanErrorKind::DeviceBusy);
        EXPECT_EQ(failure.error().device, "test:0");
    }
}

} // namespace

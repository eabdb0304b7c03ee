#include "correction/Correction.h"

#include <cmath>
#include <exception>
#include <mutex>
#include <new>

#include <opencv2/core.hpp>

#include "correction/PageMaker.h"
#include "correction/SheetFinder.h"
#include "correction/SourceGuess.h"
#include "correction/UprightImage.h"

namespace folvane::correction {

namespace {

// OpenCV's own worker threads would make results depend on how many there are, and would
// compete with the caller's workers: every call runs on its caller's thread alone.
void runOnCallingThreadOnly() {
    static std::once_flag once;
    std::call_once(once, [] { cv::setNumThreads(1); });
}

// Runs `work`, turning whatever it throws into the result's failure.
template <class Result, class Work> Result guarded(Work work) {
    Result result;
    try {
        runOnCallingThreadOnly();
        result = work();
    } catch (const std::bad_alloc &) {
        result = Result();
        result.failure.kind = Failure::Kind::OutOfMemory;
    } catch (const std::exception &e) {
        result = Result();
        result.failure = {Failure::Kind::ProcessingFailed, "", e.what()};
    }
    return result;
}

// None when the picture, and the corners placed by hand if any, can be used.
Failure checkInput(const Picture &picture) {
    if (std::string broken = checkPicture(picture); !broken.empty()) {
        return {Failure::Kind::BadPicture, "", broken};
    }
    if (!picture.corners) {
        return {};
    }
    for (const Point &p : *picture.corners) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::abs(p.x) > 1e6 ||
            std::abs(p.y) > 1e6) {
            return {Failure::Kind::BadCorners, "",
                    "a corner placed by hand is not a number within the picture's reach"};
        }
    }
    Quad q = toQuad(*picture.corners);
    if (!isConvex(q) || quadArea(q) < 4) {
        return {Failure::Kind::BadCorners, "",
                "the corners placed by hand do not make a four-sided sheet"};
    }
    return {};
}

SheetSearch searchSheet(const Picture &picture) {
    SheetSearch search;
    search.failure = checkInput(picture);
    if (search.failure.kind == Failure::Kind::BadPicture) {
        return search;
    }
    if (picture.corners) {
        search.found = !search.failure;
        search.corners = *picture.corners;
        search.confidence = search.found ? 1 : 0;
        return search;
    }
    UprightImage upright(picture);
    SheetFound sheet = findSheetIn(upright);
    // A scan is corrected as a scan, whatever sheets a photo's search sees in it: only a photo is
    // refused for holding two.
    if (sheet.twoSheets && sourceKindOf(picture, upright, sheet) != SourceKind::Scan) {
        search.failure.kind = Failure::Kind::TwoSheets;
    }
    search.found = sheet.found;
    search.corners = toCorners(sheet.corners);
    search.confidence = sheet.confidence;
    return search;
}

std::vector<CorrectedPage> correct(const Picture &picture) {
    CorrectedPage page;
    page.failure = checkInput(picture);
    if (page.failure) {
        return {page};
    }
    return makePages(UprightImage(picture), picture);
}

// A yes or no, with the failure guarded() gives it.
struct Verdict {
    bool yes = false;
    Failure failure;
};

// The failure a vector of pages is given, as guarded() gives a single result one.
struct Pages {
    std::vector<CorrectedPage> pages;
    Failure failure;
};

} // namespace

SheetSearch findSheet(const Picture &picture) {
    return guarded<SheetSearch>([&] { return searchSheet(picture); });
}

CorrectedPage correctPage(const Picture &picture) {
    Picture one = picture;
    one.splitSpreads = false;
    return guarded<CorrectedPage>([&] { return std::move(correct(one).front()); });
}

std::vector<CorrectedPage> correctPages(const Picture &picture) {
    Pages result = guarded<Pages>([&] { return Pages{correct(picture), {}}; });
    if (result.failure) {
        CorrectedPage failed;
        failed.failure = result.failure;
        return {failed};
    }
    return std::move(result.pages);
}

bool isSpread(const Picture &picture) {
    if (checkInput(picture)) {
        return false;
    }
    const Verdict verdict = guarded<Verdict>([&] {
        return Verdict{showsSpread(UprightImage(picture), picture), {}};
    });
    return !verdict.failure && verdict.yes;
}

const char *paperName(PaperSize paper) {
    switch (paper) {
    case PaperSize::A4:
        return "A4";
    case PaperSize::A5:
        return "A5";
    case PaperSize::B5:
        return "B5";
    case PaperSize::Letter:
        return "Letter";
    case PaperSize::None:
        break;
    }
    return "none";
}

} // namespace folvane::correction

#include "correction/Correction.h"

#include <cmath>
#include <exception>
#include <mutex>
#include <new>

#include <opencv2/core.hpp>

#include "correction/PageMaker.h"
#include "correction/SheetFinder.h"
#include "correction/UprightImage.h"

namespace correction {

namespace {

// OpenCV's own worker threads would make results depend on how many there are, and would
// compete with the caller's workers: every call runs on its caller's thread alone.
void runOnCallingThreadOnly() {
    static std::once_flag once;
    std::call_once(once, [] { cv::setNumThreads(1); });
}

// Runs `work`, turning whatever it throws into the result's error.
template <class Result, class Work> Result guarded(const char *what, Work work) {
    Result result;
    try {
        runOnCallingThreadOnly();
        result = work();
    } catch (const cv::Exception &e) {
        result = Result();
        result.error = std::string(what) + ": image processing failed: " + e.what();
    } catch (const std::bad_alloc &) {
        result = Result();
        result.error = std::string(what) + ": out of memory";
    } catch (const std::exception &e) {
        result = Result();
        result.error = std::string(what) + ": " + e.what();
    }
    return result;
}

// Empty when the hand-placed corners make a sheet; else why not.
std::string checkCorners(const Corners &corners) {
    for (const Point &p : corners) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::abs(p.x) > 1e6 ||
            std::abs(p.y) > 1e6) {
            return "a corner placed by hand is not a number within the picture's reach";
        }
    }
    Quad q = toQuad(corners);
    if (!isConvex(q) || quadArea(q) < 4) {
        return "the corners placed by hand do not make a four-sided sheet";
    }
    return {};
}

SheetSearch searchSheet(const Picture &picture) {
    SheetSearch search;
    search.error = checkPicture(picture);
    if (!search.error.empty()) {
        return search;
    }
    if (picture.corners) {
        search.error = checkCorners(*picture.corners);
        search.found = search.error.empty();
        search.corners = *picture.corners;
        search.confidence = search.found ? 1 : 0;
        return search;
    }
    SheetFound sheet = findSheetIn(UprightImage(picture));
    search.found = sheet.found;
    search.corners = toCorners(sheet.corners);
    search.confidence = sheet.confidence;
    return search;
}

CorrectedPage correct(const Picture &picture) {
    CorrectedPage page;
    page.error = checkPicture(picture);
    if (page.error.empty() && picture.corners) {
        page.error = checkCorners(*picture.corners);
    }
    if (!page.error.empty()) {
        return page;
    }
    return makePage(UprightImage(picture), picture);
}

} // namespace

SheetSearch findSheet(const Picture &picture) {
    return guarded<SheetSearch>("finding the sheet", [&] { return searchSheet(picture); });
}

CorrectedPage correctPage(const Picture &picture) {
    return guarded<CorrectedPage>("correcting the page", [&] { return correct(picture); });
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

} // namespace correction

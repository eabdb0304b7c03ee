#include "correction/TextLines.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

#include <leptonica/allheaders.h>

namespace folvane::correction {

namespace {

// Leptonica reports a page without enough lines on standard error; for us that is an answer.
void quietenLeptonica() {
    static std::once_flag once;
    std::call_once(once, [] { setMsgSeverity(L_SEVERITY_NONE); });
}

PIX *bilevelPix(const cv::Mat &ink) {
    PIX *pix = pixCreate(ink.cols, ink.rows, 1);
    if (!pix) {
        return nullptr;
    }
    l_uint32 *data = pixGetData(pix);
    const int wpl = pixGetWpl(pix);
    for (int y = 0; y < ink.rows; ++y) {
        const uint8_t *row = ink.ptr<uint8_t>(y);
        l_uint32 *line = data + static_cast<std::ptrdiff_t>(y) * wpl;
        for (int x = 0; x < ink.cols; ++x) {
            if (row[x]) {
                line[x >> 5] |= 0x80000000u >> (x & 31);
            }
        }
    }
    return pix;
}

cv::Mat disparityOf(FPIX *sampled) {
    l_int32 nx = 0, ny = 0;
    if (!sampled || fpixGetDimensions(sampled, &nx, &ny) != 0 || nx < 2 || ny < 2) {
        return {};
    }
    cv::Mat disparity(ny, nx, CV_32F);
    const l_float32 *data = fpixGetData(sampled);
    const int wpl = fpixGetWpl(sampled);
    for (int i = 0; i < ny; ++i) {
        std::copy(data + static_cast<std::ptrdiff_t>(i) * wpl,
                  data + static_cast<std::ptrdiff_t>(i) * wpl + nx, disparity.ptr<float>(i));
    }
    return cv::checkRange(disparity) ? disparity : cv::Mat();
}

TextLineModel modelOf(const L_DEWARP &dew) {
    TextLineModel model;
    if (!dew.vsuccess || dew.nlines < kMinTextLines || !dew.namidys) {
        return model;
    }
    l_float32 first = 0, last = 0;
    if (numaGetMin(dew.namidys, &first, nullptr) != 0 ||
        numaGetMax(dew.namidys, &last, nullptr) != 0) {
        return model;
    }
    model.disparity = disparityOf(dew.sampvdispar);
    model.firstLine = first;
    model.lastLine = last;
    return model;
}

} // namespace

TextLineModel textLineModelOf(const cv::Mat &ink) {
    quietenLeptonica();
    TextLineModel model;
    PIX *pix = bilevelPix(ink);
    L_DEWARPA *dewa = dewarpaCreate(1, kDisparityStep, 1, kMinTextLines, 0);
    if (!pix || !dewa) {
        pixDestroy(&pix);
        dewarpaDestroy(&dewa);
        return model;
    }
    dewarpaUseBothArrays(dewa, 0);
    L_DEWARP *dew = dewarpCreate(pix, 0);
    if (dew && dewarpaInsertDewarp(dewa, dew) == 0) { // the dewarpa owns it from here
        if (dewarpBuildPageModel(dew, nullptr) == 0) {
            model = modelOf(*dew);
        }
    } else {
        dewarpDestroy(&dew);
    }
    dewarpaDestroy(&dewa);
    pixDestroy(&pix);
    return model;
}

} // namespace folvane::correction

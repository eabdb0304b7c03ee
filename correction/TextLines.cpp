#include "correction/TextLines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <vector>

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

// Each text line as Leptonica finds it (the middle of its ink, column by column), followed
// closely rather than fitted with one curve: a page bent into a gutter over a third of its width
// bends its lines sharply there, which one quadratic a line cannot follow.
struct LineCourse {
    std::vector<float> y; // the line's middle at each sample column
    float middle = 0;     // at the page's middle column
    int first = 0;        // the sample columns the line's own ink reaches; beyond, extrapolated
    int last = 0;
};

// Sample columns either side of a column whose points its median takes (4 mm each way at 100 dpi).
constexpr int kReach = 1;

// The median of the line's middles within kReach columns of each sample column.
bool followLine(PTA *pta, int columns, LineCourse &course) {
    const int n = ptaGetCount(pta);
    std::vector<std::vector<float>> near(columns);
    for (int i = 0; i < n; ++i) {
        l_float32 x = 0, y = 0;
        ptaGetPt(pta, i, &x, &y);
        const int at = static_cast<int>(std::lround(x / kDisparityStep));
        for (int c = std::max(0, at - kReach); c <= std::min(columns - 1, at + kReach); ++c) {
            near[c].push_back(y);
        }
    }
    course.y.assign(columns, std::numeric_limits<float>::quiet_NaN());
    for (int c = 0; c < columns; ++c) {
        std::vector<float> &ys = near[c];
        if (!ys.empty()) {
            std::nth_element(ys.begin(), ys.begin() + ys.size() / 2, ys.end());
            course.y[c] = ys[ys.size() / 2];
        }
    }
    std::vector<int> known;
    for (int c = 0; c < columns; ++c) {
        if (!std::isnan(course.y[c])) {
            known.push_back(c);
        }
    }
    if (known.size() < 4) {
        return false;
    }
    // Gaps between known columns are bridged in proportion; beyond the line's ends the line goes
    // on as its last few columns run, as the paper goes on bending in the margin.
    for (std::size_t k = 0; k + 1 < known.size(); ++k) {
        const int a = known[k], b = known[k + 1];
        for (int c = a + 1; c < b; ++c) {
            course.y[c] = course.y[a] + (course.y[b] - course.y[a]) * (c - a) / (b - a);
        }
    }
    // The slope over about 3 cm (8 columns at 100 dpi): enough to even out the letters' wobble.
    const int first = known.front(), last = known.back();
    const int run = std::max(1, std::min(8, (last - first) / 4));
    const float startSlope = (course.y[first + run] - course.y[first]) / run;
    const float endSlope = (course.y[last] - course.y[last - run]) / run;
    for (int c = 0; c < first; ++c) {
        course.y[c] = course.y[first] - startSlope * (first - c);
    }
    for (int c = last + 1; c < columns; ++c) {
        course.y[c] = course.y[last] + endSlope * (c - last);
    }
    course.middle = course.y[columns / 2];
    course.first = first;
    course.last = last;
    return true;
}

// The vertical disparity on the sample grid: at each text line's middle row, how far the line
// lies above its course at the page's middle column (negative where it lies below); between
// lines, in proportion to the rows; above the first line and below the last, held. `lines` are
// in order down the page.
cv::Mat disparityOf(const std::vector<LineCourse> &lines, int rows, int columns) {
    cv::Mat disparity(rows, columns, CV_32F);
    std::size_t below = 0;
    for (int r = 0; r < rows; ++r) {
        const float y = static_cast<float>(r) * kDisparityStep;
        while (below < lines.size() && lines[below].middle <= y) {
            ++below;
        }
        const LineCourse &after = lines[std::min(below, lines.size() - 1)];
        const LineCourse &before = lines[below == 0 ? 0 : below - 1];
        const float span = after.middle - before.middle;
        const float w = span > 0 ? (y - before.middle) / span : 0;
        float *row = disparity.ptr<float>(r);
        for (int c = 0; c < columns; ++c) {
            const float a = before.middle - before.y[c], b = after.middle - after.y[c];
            row[c] = a + (b - a) * w;
        }
    }
    return disparity;
}

// The least scale a column may show the page at against its middle (and the inverse the most):
// a page bent so far that it looks smaller still is no page the text lines can describe.
constexpr double kLeastScale = 0.5;

// The scale of column `c` from the lines whose ink reaches it: the slope of a straight line
// fitted to their places there against their places in the middle. 0 when too few reach it.
double scaleAt(const std::vector<LineCourse> &lines, int c) {
    double n = 0, sm = 0, sy = 0, smm = 0, smy = 0;
    for (const LineCourse &line : lines) {
        if (c < line.first || c > line.last) {
            continue;
        }
        n += 1;
        sm += line.middle;
        sy += line.y[c];
        smm += static_cast<double>(line.middle) * line.middle;
        smy += static_cast<double>(line.middle) * line.y[c];
    }
    const double spread = n * smm - sm * sm;
    if (n < kMinTextLines / 2 || spread <= 0) {
        return 0;
    }
    return std::clamp((n * smy - sm * sy) / spread, kLeastScale, 1 / kLeastScale);
}

// Each sample column's scale (see TextLineModel::scale), evened with its neighbours, since the
// surface's slope comes from its changes, and the columns the text reaches.
void columnScales(const std::vector<LineCourse> &lines, int columns, TextLineModel &model) {
    std::vector<double> fitted(columns, 0);
    int first = -1, last = -1;
    for (int c = 0; c < columns; ++c) {
        fitted[c] = scaleAt(lines, c);
        if (fitted[c] > 0) {
            first = first < 0 ? c : first;
            last = c;
        }
    }
    if (first < 0) {
        model.scale.assign(columns, 1.0);
        model.lastColumn = columns - 1;
        return;
    }
    model.firstColumn = first;
    model.lastColumn = last;
    // Beyond the text, as the last few columns ran (about 1 cm at 100 dpi).
    const int run = std::min(2, last - first);
    const double before = run > 0 ? (fitted[first + run] - fitted[first]) / run : 0;
    const double after = run > 0 ? (fitted[last] - fitted[last - run]) / run : 0;
    for (int c = 0; c < columns; ++c) {
        double s = fitted[c];
        if (c < first) {
            s = fitted[first] - before * (first - c);
        } else if (c > last) {
            s = fitted[last] + after * (c - last);
        } else if (s == 0) {
            s = fitted[c - 1];
        }
        fitted[c] = std::clamp(s, kLeastScale, 1 / kLeastScale);
    }
    model.scale.resize(columns);
    for (int c = 0; c < columns; ++c) {
        model.scale[c] =
            (fitted[std::max(0, c - 1)] + 2 * fitted[c] + fitted[std::min(columns - 1, c + 1)]) / 4;
    }
}

} // namespace

TextLineModel textLineModelOf(const cv::Mat &ink) {
    quietenLeptonica();
    TextLineModel model;
    PIX *pix = bilevelPix(ink);
    PTAA *found = pix ? dewarpGetTextlineCenters(pix, 0) : nullptr;
    // Lines shorter than 0.8 of the longest are headings, the ends of paragraphs, table cells.
    PTAA *lines = found ? dewarpRemoveShortLines(pix, found, 0.8f, 0) : nullptr;
    const int count = lines ? ptaaGetCount(lines) : 0;
    const int columns = ink.cols / kDisparityStep + 2, rows = ink.rows / kDisparityStep + 2;
    std::vector<LineCourse> courses;
    for (int i = 0; i < count; ++i) {
        PTA *pta = ptaaGetPta(lines, i, L_CLONE);
        LineCourse course;
        if (pta && followLine(pta, columns, course)) {
            courses.push_back(std::move(course));
        }
        ptaDestroy(&pta);
    }
    std::sort(courses.begin(), courses.end(),
              [](const LineCourse &a, const LineCourse &b) { return a.middle < b.middle; });
    if (static_cast<int>(courses.size()) >= kMinTextLines) {
        model.disparity = disparityOf(courses, rows, columns);
        model.firstLine = courses.front().middle;
        model.lastLine = courses.back().middle;
        columnScales(courses, columns, model);
    }
    ptaaDestroy(&lines);
    ptaaDestroy(&found);
    pixDestroy(&pix);
    return model;
}

} // namespace folvane::correction

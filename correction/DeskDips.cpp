#include "correction/DeskDips.h"

#include <algorithm>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace folvane::correction {

namespace {

// Paints the desk within `band` of `page` that reaches the band's top row (or its bottom row)
// as paper.
void paintDeskFrom(cv::Mat &page, const cv::Rect band, bool fromTop, double paperLight) {
    cv::Mat grey = page(band);
    if (grey.channels() == 3) {
        cv::cvtColor(page(band), grey, cv::COLOR_RGB2GRAY);
    }
    cv::Mat desk = grey < kDeskShare * paperLight;
    cv::Mat labels;
    const int count = cv::connectedComponents(desk, labels, 8, CV_32S);
    // Only the desk that reaches the page's own edge: text near the edge stays.
    const int edgeRow = fromTop ? 0 : band.height - 1;
    std::vector<bool> atEdge(count, false);
    for (int x = 0; x < band.width; ++x) {
        atEdge[labels.at<int>(edgeRow, x)] = true;
    }
    atEdge[0] = false;
    cv::Mat fill(band.size(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < band.height; ++y) {
        for (int x = 0; x < band.width; ++x) {
            fill.at<uchar>(y, x) = atEdge[labels.at<int>(y, x)] ? 255 : 0;
        }
    }
    // The paper's edge around the notch is a shade between desk and paper; taken with the desk,
    // it leaves no line where the notch was.
    const int rim = 2 * std::max(2, page.rows / 200) + 1;
    cv::dilate(fill, fill, cv::getStructuringElement(cv::MORPH_ELLIPSE, {rim, rim}));
    // Each column painted with the paper below (or above) the notch in it: a gutter's shade goes
    // on over the painted part, with no step from shaded paper to white that the cleaning would
    // take for a line.
    std::vector<uchar> paper;
    for (int x = 0; x < band.width; ++x) {
        paper.clear();
        for (int y = 0; y < band.height; ++y) {
            if (!fill.at<uchar>(y, x)) {
                paper.push_back(grey.at<uchar>(y, x));
            }
        }
        double light = paperLight;
        if (!paper.empty()) {
            std::nth_element(paper.begin(), paper.begin() + paper.size() / 2, paper.end());
            light = paper[paper.size() / 2];
        }
        page(band).col(x).setTo(cv::Scalar::all(light), fill.col(x));
    }
}

} // namespace

void paperOverDips(cv::Mat &page, int from, int to, double paperLight) {
    from = std::clamp(from, 0, page.cols);
    to = std::clamp(to, from, page.cols);
    const int depth = std::min(page.rows, std::max(1, static_cast<int>(kDipDepth * page.rows)));
    if (from == to || depth == 0) {
        return;
    }
    paintDeskFrom(page, cv::Rect(from, 0, to - from, depth), true, paperLight);
    paintDeskFrom(page, cv::Rect(from, page.rows - depth, to - from, depth), false, paperLight);
}

} // namespace folvane::correction

#include "correction/DeskDips.h"

#include <algorithm>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace folvane::correction {

void paperOverDips(cv::Mat &page, int from, int to, double paperLight) {
    from = std::clamp(from, 0, page.cols);
    to = std::clamp(to, from, page.cols);
    const int depth = std::min(page.rows, std::max(1, static_cast<int>(kDipDepth * page.rows)));
    if (from == to || depth == 0) {
        return;
    }
    const cv::Scalar paperColour = cv::Scalar::all(paperLight);
    for (const cv::Rect band : {cv::Rect(from, 0, to - from, depth),
                                cv::Rect(from, page.rows - depth, to - from, depth)}) {
        cv::Mat grey = page(band);
        if (grey.channels() == 3) {
            cv::cvtColor(page(band), grey, cv::COLOR_RGB2GRAY);
        }
        cv::Mat desk = grey < kDeskShare * paperLight;
        cv::Mat labels;
        const int count = cv::connectedComponents(desk, labels, 8, CV_32S);
        // Only the desk that reaches the page's own edge: text near the edge stays.
        const int edgeRow = band.y == 0 ? 0 : band.height - 1;
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
        // The paper's edge around the notch is a shade between desk and paper; taken with the
        // desk, it leaves no line where the notch was.
        const int rim = 2 * std::max(1, page.rows / 300) + 1;
        cv::dilate(fill, fill, cv::getStructuringElement(cv::MORPH_ELLIPSE, {rim, rim}));
        page(band).setTo(paperColour, fill);
    }
}

} // namespace folvane::correction

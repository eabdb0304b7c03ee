#include "correction/PaperRegion.h"

#include <algorithm>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace folvane::correction {

namespace {

// The median of each Lab channel over the brighter half of the middle of the picture: the
// sheet's paper when the photo was aimed at a sheet, its text left out.
cv::Vec3d middlePaperColour(const cv::Mat &lab) {
    cv::Rect middle(lab.cols * 3 / 10, lab.rows * 3 / 10, std::max(1, lab.cols * 2 / 5),
                    std::max(1, lab.rows * 2 / 5));
    std::vector<uint8_t> l, a, b;
    for (int y = middle.y; y < middle.y + middle.height; ++y) {
        const cv::Vec3b *row = lab.ptr<cv::Vec3b>(y);
        for (int x = middle.x; x < middle.x + middle.width; ++x) {
            l.push_back(row[x][0]);
        }
    }
    std::vector<uint8_t> sortedL = l;
    std::nth_element(sortedL.begin(), sortedL.begin() + sortedL.size() / 2, sortedL.end());
    uint8_t half = sortedL[sortedL.size() / 2];
    std::vector<uint8_t> bright;
    for (int y = middle.y; y < middle.y + middle.height; ++y) {
        const cv::Vec3b *row = lab.ptr<cv::Vec3b>(y);
        for (int x = middle.x; x < middle.x + middle.width; ++x) {
            if (row[x][0] >= half) {
                bright.push_back(row[x][0]);
                a.push_back(row[x][1]);
                b.push_back(row[x][2]);
            }
        }
    }
    auto median = [](std::vector<uint8_t> &v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return static_cast<double>(v[v.size() / 2]);
    };
    return {median(bright), median(a), median(b)};
}

cv::Mat paperMask(const cv::Mat &lab, cv::Vec3d paper) {
    cv::Mat mask(lab.size(), CV_8UC1);
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3b *row = lab.ptr<cv::Vec3b>(y);
        uint8_t *out = mask.ptr<uint8_t>(y);
        for (int x = 0; x < lab.cols; ++x) {
            bool hue = std::abs(row[x][1] - paper[1]) < 10 && std::abs(row[x][2] - paper[2]) < 12;
            bool light = row[x][0] > 0.6 * paper[0] && row[x][0] < paper[0] + 30;
            out[x] = hue && light ? 255 : 0;
        }
    }
    cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(5, 5));
    cv::morphologyEx(mask, mask, cv::MORPH_CLOSE, kernel);
    cv::morphologyEx(mask, mask, cv::MORPH_OPEN, kernel);
    return mask;
}

// The component covering most of the middle of the picture, holes filled.
cv::Mat middleComponent(const cv::Mat &mask) {
    cv::Mat labels;
    int count = cv::connectedComponents(mask, labels, 8, CV_32S);
    std::vector<int> inMiddle(count, 0);
    for (int y = mask.rows * 3 / 10; y < mask.rows * 7 / 10; ++y) {
        const int *row = labels.ptr<int>(y);
        for (int x = mask.cols * 3 / 10; x < mask.cols * 7 / 10; ++x) {
            ++inMiddle[row[x]];
        }
    }
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (inMiddle[i] > 0 && (best == 0 || inMiddle[i] > inMiddle[best])) {
            best = i;
        }
    }
    cv::Mat component = cv::Mat::zeros(mask.size(), CV_8UC1);
    if (best == 0) {
        return component;
    }
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(labels == best, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    cv::drawContours(component, contours, -1, cv::Scalar(255), cv::FILLED);
    return component;
}

// The paper-coloured components that could each be a sheet: a twentieth of the picture or
// more, nearly filling the rectangle around them, and clear of the picture's edge (a table of
// the paper's colour reaches the edge).
int sheetShapes(const cv::Mat &mask) {
    cv::Mat labels, stats, centroids;
    int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    int sheets = 0;
    for (int i = 1; i < count; ++i) {
        const int left = stats.at<int>(i, cv::CC_STAT_LEFT),
                  top = stats.at<int>(i, cv::CC_STAT_TOP);
        const int width = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int height = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area < 0.05 * mask.total() || left < 1 || top < 1 || left + width > mask.cols - 1 ||
            top + height > mask.rows - 1) {
            continue;
        }
        std::vector<cv::Point> points;
        cv::findNonZero(labels == i, points);
        cv::RotatedRect box = cv::minAreaRect(points);
        if (area >= 0.8 * box.size.area()) {
            ++sheets;
        }
    }
    return sheets;
}

std::optional<Quad> outlineQuad(const cv::Mat &component) {
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(component, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    if (contours.empty()) {
        return std::nullopt;
    }
    auto largest = std::max_element(contours.begin(), contours.end(), [](auto &a, auto &b) {
        return cv::contourArea(a) < cv::contourArea(b);
    });
    std::vector<cv::Point> hull, polygon;
    cv::convexHull(*largest, hull);
    double perimeter = cv::arcLength(hull, true);
    for (double e = 0.01; e <= 0.08; e += 0.005) {
        cv::approxPolyDP(hull, polygon, e * perimeter, true);
        if (polygon.size() <= 4) {
            break;
        }
    }
    if (polygon.size() != 4) {
        return std::nullopt;
    }
    Quad q;
    for (int i = 0; i < 4; ++i) {
        q[i] = polygon[i];
    }
    return ordered(q);
}

} // namespace

PaperRegion findPaperRegion(const SearchImage &image) {
    PaperRegion region;
    if (image.lab.cols < 8 || image.lab.rows < 8) {
        return region;
    }
    region.paperLab = middlePaperColour(image.lab);
    cv::Mat mask = paperMask(image.lab, region.paperLab);
    region.sheets = sheetShapes(mask);
    cv::Mat component = middleComponent(mask);
    double share = cv::countNonZero(component) / static_cast<double>(component.total());
    if (share < 0.1 || share > 0.97) {
        return region;
    }
    region.mask = component;
    region.quad = outlineQuad(component);
    return region;
}

} // namespace folvane::correction

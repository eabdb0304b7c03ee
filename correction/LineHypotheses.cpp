#include "correction/LineHypotheses.h"

#include <algorithm>
#include <cmath>

namespace folvane::correction {

namespace {

constexpr int kThetaBins = 360; // half a degree each
constexpr int kSpread = 4;      // an edge pixel votes for its direction +- 3 degrees
constexpr int kPerDirection = 20;

struct Accumulator {
    int rhoBins = 0;
    double rhoOffset = 0;
    std::vector<float> votes;

    float &at(int theta, int rho) { return votes[static_cast<size_t>(theta) * rhoBins + rho]; }
    float at(int theta, int rho) const { return votes[static_cast<size_t>(theta) * rhoBins + rho]; }
};

Accumulator vote(const SearchImage &image) {
    Accumulator acc;
    double diagonal = std::hypot(image.edges.cols, image.edges.rows);
    acc.rhoOffset = std::ceil(diagonal) + 1;
    acc.rhoBins = static_cast<int>(2 * acc.rhoOffset) + 1;
    acc.votes.assign(static_cast<size_t>(kThetaBins) * acc.rhoBins, 0.0f);
    std::vector<double> cosines(kThetaBins), sines(kThetaBins);
    for (int t = 0; t < kThetaBins; ++t) {
        cosines[t] = std::cos(t * CV_PI / kThetaBins);
        sines[t] = std::sin(t * CV_PI / kThetaBins);
    }
    for (int y = 0; y < image.edges.rows; ++y) {
        const uint8_t *edge = image.edges.ptr<uint8_t>(y);
        const int16_t *gx = image.gx.ptr<int16_t>(y), *gy = image.gy.ptr<int16_t>(y);
        for (int x = 0; x < image.edges.cols; ++x) {
            if (edge[x] == 0) {
                continue;
            }
            double theta = std::atan2(gy[x], gx[x]);
            int centre = static_cast<int>(std::lround(theta / CV_PI * kThetaBins));
            for (int d = -kSpread; d <= kSpread; ++d) {
                int t = ((centre + d) % kThetaBins + kThetaBins) % kThetaBins;
                double rho = x * cosines[t] + y * sines[t];
                int r = static_cast<int>(std::lround(rho + acc.rhoOffset));
                if (r >= 0 && r < acc.rhoBins) {
                    acc.at(t, r) += 1.0f;
                }
            }
        }
    }
    return acc;
}

bool isLocalPeak(const Accumulator &acc, int t, int r) {
    float v = acc.at(t, r);
    for (int dt = -3; dt <= 3; ++dt) {
        int tt = t + dt;
        int rr0 = r;
        if (tt < 0 || tt >= kThetaBins) {
            // Across theta = 0 the same line has the opposite rho.
            tt = (tt + kThetaBins) % kThetaBins;
            rr0 = static_cast<int>(2 * acc.rhoOffset) - r;
        }
        for (int dr = -3; dr <= 3; ++dr) {
            int rr = rr0 + dr;
            if ((dt != 0 || dr != 0) && rr >= 0 && rr < acc.rhoBins) {
                float w = acc.at(tt, rr);
                if (w > v || (w == v && (dt < 0 || (dt == 0 && dr < 0)))) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool nearOneOf(const Line &line, const std::vector<Line> &kept) {
    for (const Line &k : kept) {
        double dTheta = angleBetween(line, k);
        double dRho = std::abs(line.rho - k.rho);
        if (std::abs(line.theta - k.theta) > CV_PI / 2) {
            dRho = std::abs(line.rho + k.rho);
        }
        if (dTheta < 1.5 * CV_PI / 180 && dRho < 5) {
            return true;
        }
    }
    return false;
}

// How many kept lines run within a few degrees of this one. A striped cloth or a keyboard
// gives many long parallel lines; capping each direction leaves room for the sheet's sides.
int alike(const Line &line, const std::vector<Line> &kept) {
    int count = 0;
    for (const Line &k : kept) {
        count += angleBetween(line, k) < 4 * CV_PI / 180 ? 1 : 0;
    }
    return count;
}

} // namespace

std::vector<Line> lineHypotheses(const SearchImage &image, int count) {
    Accumulator acc = vote(image);
    double minVotes = 0.08 * std::min(image.edges.cols, image.edges.rows);
    std::vector<Line> peaks;
    for (int t = 0; t < kThetaBins; ++t) {
        for (int r = 0; r < acc.rhoBins; ++r) {
            if (acc.at(t, r) >= minVotes && isLocalPeak(acc, t, r)) {
                peaks.push_back({t * CV_PI / kThetaBins, r - acc.rhoOffset, acc.at(t, r)});
            }
        }
    }
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const Line &a, const Line &b) { return a.weight > b.weight; });
    std::vector<Line> kept;
    for (const Line &line : peaks) {
        if (static_cast<int>(kept.size()) >= count) {
            break;
        }
        if (!nearOneOf(line, kept) && alike(line, kept) < kPerDirection) {
            kept.push_back(line);
        }
    }
    return kept;
}

} // namespace folvane::correction

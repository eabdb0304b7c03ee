#pragma once

#include <string>

// Pages whose image reaches past the page edge, so that part of it is cut off: how many, and the
// largest share of one image cut off.
struct CutPages {
    int pages = 0;
    double most = 0;

    // Counts `count` pages of which each loses the share `outside` (0 counts none).
    void add(double outside, int count = 1);
    bool any() const { return pages > 0; }
    // "3 页图片超出页面(最多 82%)".
    std::string text() const;
};

// A share cut off, in whole percent: a sliver still counts as 1%, since "0%" would read as
// nothing cut off.
int outsidePercent(double outside);

// The crop editor: a modal window that shows a page with the rectangle of the part to keep, its
// edges and corners as handles the user drags (or moves with the arrow keys), and the buttons to
// keep that part, to keep the whole page again, and to cancel. Plain data in and out, so that the
// headless peer can answer it.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/CornerEditing.h"

// A rectangle of the picture shown, in its pixels: left and top inside, right and bottom just
// past it.
struct CropBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CropBox &) const = default;
};

struct CropEditRequest {
    std::string title;
    std::string hint;   // one line saying what to do
    std::string accept; // the button that keeps the rectangle
    std::string reset;  // the button that puts the rectangle back on the whole page
    std::string cancel; // the button that changes nothing (also Escape)
    RgbPicture page;
    CropBox crop; // where the rectangle starts
    // Why the rectangle cannot be kept, or an empty text when it can. The editor asks when the
    // user would keep it; a refused rectangle leaves the editor open with the reason shown.
    std::function<std::string(const CropBox &)> refusal;
};

struct CropEditAnswer {
    enum class Choice { Cancel, Accept };
    Choice choice = Choice::Cancel;
    CropBox crop; // where the rectangle was left (Accept)
};

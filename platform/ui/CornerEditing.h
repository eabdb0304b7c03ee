// The corner editor: a modal window that shows a photo with the four corners of the sheet in
// it as handles the user drags, and beside it the page those corners give, drawn again each
// time a handle is let go. Plain data in and out, so that the headless peer can answer it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A picture a window shows: RGB, 3 bytes a pixel, top row first.
struct RgbPicture {
    std::vector<uint8_t> rgb;
    int width = 0;
    int height = 0;
    bool Empty() const {
        return width <= 0 || height <= 0 || rgb.size() < std::size_t(width) * height * 3;
    }
};

struct CornerPoint {
    double x = 0;
    double y = 0;
};
// Top-left, top-right, bottom-right, bottom-left, in pixels of the photo ((0, 0) the centre
// of its top-left pixel, y down).
using CornerQuad = std::array<CornerPoint, 4>;

struct CornerEditRequest {
    std::string title;
    std::string hint; // one line saying what to do
    // Shown in place of the hint while the corners give no page (crossed, or fallen onto a line
    // or a point); the button that keeps the corners then leaves the editor open.
    std::string refused;
    std::string accept;    // the button that keeps the corners
    std::string automatic; // the button that gives them up for the sheet the program finds
    std::string cancel;    // the button that changes nothing (also Escape)
    RgbPicture photo;
    CornerQuad corners{};
    // The page the corners give, for the editor to show: called on the user-interface thread
    // when the editor opens, each time a handle is let go and when the corners are kept. An
    // empty picture when the corners give no page: they cannot be kept.
    std::function<RgbPicture(const CornerQuad &)> page;
};

struct CornerEditAnswer {
    enum class Choice { Cancel, Accept, Automatic };
    Choice choice = Choice::Cancel;
    CornerQuad corners{}; // where the handles were left (Accept)
};

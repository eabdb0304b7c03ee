#include "app/WindowSettings.h"

#include <charconv>
#include <string_view>

#include "platform/ui/SettingsStore.h"

namespace {
constexpr const char *kImageType = "window/imageType";
constexpr const char *kOcr = "window/ocr";
constexpr const char *kDocument = "window/document";
constexpr const char *kSkipBlank = "window/skipBlank";
constexpr const char *kSplitAtBlank = "window/splitAtBlank";
constexpr const char *kSpreads = "window/spreads";
constexpr const char *kRightToLeft = "window/rightToLeft";
constexpr const char *kAddFolder = "window/addFolder";
constexpr const char *kSaveFolder = "window/saveFolder";
constexpr const char *kSize = "window/size";
constexpr const char *kMaximised = "window/maximised";
constexpr int kImageTypes = 7;
constexpr const char *kPaper = "window/paper";
constexpr int kPapers = 7;
// No screen is this large: a stored size beyond it is not one the window had.
constexpr int kLargestSide = 100000;

// A whole number 0..kLargestSide filling all of text, or -1.
int sideOf(std::string_view text) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kLargestSide) {
        return -1;
    }
    return value;
}

// A check box's stored state: "1" on, "0" off, anything else the start-up state.
bool switchOf(const std::string &stored, bool startUp) {
    if (stored == "1" || stored == "0") {
        return stored == "1";
    }
    return startUp;
}

// A stored index 0..count-1 filling all of the text, else the start-up value.
int indexOf(const std::string &stored, int count, int startUp) {
    int index = -1;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), index);
    if (error != std::errc() || end != stored.data() + stored.size() || index < 0 ||
        index >= count) {
        return startUp;
    }
    return index;
}

} // namespace

int WindowSettings::imageType(int startUp) const {
    return indexOf(store_.Read(kImageType), kImageTypes, startUp);
}

int WindowSettings::paper(int startUp) const {
    return indexOf(store_.Read(kPaper), kPapers, startUp);
}

void WindowSettings::setPaper(int index) {
    store_.Write(kPaper, std::to_string(index));
}

void WindowSettings::setImageType(int index) {
    store_.Write(kImageType, std::to_string(index));
}

bool WindowSettings::ocr(bool startUp) const {
    return switchOf(store_.Read(kOcr), startUp);
}

void WindowSettings::setOcr(bool on) {
    store_.Write(kOcr, on ? "1" : "0");
}

bool WindowSettings::document(bool startUp) const {
    return switchOf(store_.Read(kDocument), startUp);
}

void WindowSettings::setDocument(bool on) {
    store_.Write(kDocument, on ? "1" : "0");
}

bool WindowSettings::skipBlank(bool startUp) const {
    return switchOf(store_.Read(kSkipBlank), startUp);
}

void WindowSettings::setSkipBlank(bool on) {
    store_.Write(kSkipBlank, on ? "1" : "0");
}

bool WindowSettings::splitAtBlank(bool startUp) const {
    return switchOf(store_.Read(kSplitAtBlank), startUp);
}

void WindowSettings::setSplitAtBlank(bool on) {
    store_.Write(kSplitAtBlank, on ? "1" : "0");
}

bool WindowSettings::spreads(bool startUp) const {
    return switchOf(store_.Read(kSpreads), startUp);
}

void WindowSettings::setSpreads(bool on) {
    store_.Write(kSpreads, on ? "1" : "0");
}

bool WindowSettings::rightToLeft(bool startUp) const {
    return switchOf(store_.Read(kRightToLeft), startUp);
}

void WindowSettings::setRightToLeft(bool on) {
    store_.Write(kRightToLeft, on ? "1" : "0");
}

std::string WindowSettings::addFolder() const {
    return store_.Read(kAddFolder);
}

void WindowSettings::setAddFolder(const std::string &folder) {
    store_.Write(kAddFolder, folder);
}

std::string WindowSettings::saveFolder() const {
    return store_.Read(kSaveFolder);
}

void WindowSettings::setSaveFolder(const std::string &folder) {
    store_.Write(kSaveFolder, folder);
}

std::optional<WindowPlacement> WindowSettings::placement() const {
    const std::string size = store_.Read(kSize); // "WIDTHxHEIGHT"
    const std::size_t x = size.find('x');
    if (x == std::string::npos) {
        return std::nullopt;
    }
    const int width = sideOf(std::string_view(size).substr(0, x));
    const int height = sideOf(std::string_view(size).substr(x + 1));
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return WindowPlacement{width, height, store_.Read(kMaximised) == "1"};
}

void WindowSettings::setPlacement(const WindowPlacement &placement) {
    store_.Write(kSize, std::to_string(placement.width) + "x" + std::to_string(placement.height));
    store_.Write(kMaximised, placement.maximised ? "1" : "0");
}

std::string folderOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

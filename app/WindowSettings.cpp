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
int SideOf(std::string_view text) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kLargestSide) {
        return -1;
    }
    return value;
}

// A check box's stored state: "1" on, "0" off, anything else the start-up state.
bool SwitchOf(const std::string &stored, bool startUp) {
    if (stored == "1" || stored == "0") {
        return stored == "1";
    }
    return startUp;
}

// A stored index 0..count-1 filling all of the text, else the start-up value.
int IndexOf(const std::string &stored, int count, int startUp) {
    int index = -1;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), index);
    if (error != std::errc() || end != stored.data() + stored.size() || index < 0 ||
        index >= count) {
        return startUp;
    }
    return index;
}

} // namespace

int WindowSettings::ImageType(int startUp) const {
    return IndexOf(m_store.Read(kImageType), kImageTypes, startUp);
}

int WindowSettings::Paper(int startUp) const {
    return IndexOf(m_store.Read(kPaper), kPapers, startUp);
}

void WindowSettings::SetPaper(int index) {
    m_store.Write(kPaper, std::to_string(index));
}

void WindowSettings::SetImageType(int index) {
    m_store.Write(kImageType, std::to_string(index));
}

bool WindowSettings::Ocr(bool startUp) const {
    return SwitchOf(m_store.Read(kOcr), startUp);
}

void WindowSettings::SetOcr(bool on) {
    m_store.Write(kOcr, on ? "1" : "0");
}

bool WindowSettings::Document(bool startUp) const {
    return SwitchOf(m_store.Read(kDocument), startUp);
}

void WindowSettings::SetDocument(bool on) {
    m_store.Write(kDocument, on ? "1" : "0");
}

bool WindowSettings::SkipBlank(bool startUp) const {
    return SwitchOf(m_store.Read(kSkipBlank), startUp);
}

void WindowSettings::SetSkipBlank(bool on) {
    m_store.Write(kSkipBlank, on ? "1" : "0");
}

bool WindowSettings::SplitAtBlank(bool startUp) const {
    return SwitchOf(m_store.Read(kSplitAtBlank), startUp);
}

void WindowSettings::SetSplitAtBlank(bool on) {
    m_store.Write(kSplitAtBlank, on ? "1" : "0");
}

std::string WindowSettings::AddFolder() const {
    return m_store.Read(kAddFolder);
}

void WindowSettings::SetAddFolder(const std::string &folder) {
    m_store.Write(kAddFolder, folder);
}

std::string WindowSettings::SaveFolder() const {
    return m_store.Read(kSaveFolder);
}

void WindowSettings::SetSaveFolder(const std::string &folder) {
    m_store.Write(kSaveFolder, folder);
}

std::optional<WindowPlacement> WindowSettings::Placement() const {
    const std::string size = m_store.Read(kSize); // "WIDTHxHEIGHT"
    const std::size_t x = size.find('x');
    if (x == std::string::npos) {
        return std::nullopt;
    }
    const int width = SideOf(std::string_view(size).substr(0, x));
    const int height = SideOf(std::string_view(size).substr(x + 1));
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return WindowPlacement{width, height, m_store.Read(kMaximised) == "1"};
}

void WindowSettings::SetPlacement(const WindowPlacement &placement) {
    m_store.Write(kSize, std::to_string(placement.width) + "x" + std::to_string(placement.height));
    m_store.Write(kMaximised, placement.maximised ? "1" : "0");
}

std::string FolderOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

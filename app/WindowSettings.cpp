#include "app/WindowSettings.h"

#include <charconv>

#include "platform/ui/SettingsStore.h"

namespace {
constexpr const char *kImageType = "window/imageType";
constexpr const char *kOcr = "window/ocr";
constexpr const char *kAddFolder = "window/addFolder";
constexpr const char *kSaveFolder = "window/saveFolder";
constexpr int kImageTypes = 7;
} // namespace

int WindowSettings::ImageType(int startUp) const {
    const std::string stored = m_store.Read(kImageType);
    int index = -1;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), index);
    if (error != std::errc() || end != stored.data() + stored.size() || index < 0 ||
        index >= kImageTypes) {
        return startUp;
    }
    return index;
}

void WindowSettings::SetImageType(int index) {
    m_store.Write(kImageType, std::to_string(index));
}

bool WindowSettings::Ocr(bool startUp) const {
    const std::string stored = m_store.Read(kOcr);
    if (stored == "1" || stored == "0") {
        return stored == "1";
    }
    return startUp;
}

void WindowSettings::SetOcr(bool on) {
    m_store.Write(kOcr, on ? "1" : "0");
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

std::string FolderOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

#pragma once

#include <optional>
#include <string>

#include "platform/ui/DialogPeer.h"

class SettingsStore;

// What the main window remembers between runs: the chosen class or fit mode, whether text is
// recognised, whether pages are corrected, the add dialog's last folder, the output path's folder
// and the window's size. A value never stored (or stored out of range) reads as the given start-up
// value. To remember another setting, add a getter and a setter here.
class WindowSettings {
public:
    explicit WindowSettings(SettingsStore &store) : store_(store) {}

    // The radio index 0..6 (six classes, then fit).
    int imageType(int startUp) const;
    void setImageType(int index);

    // "纸张": the paper's index in folvane::AllPapers.
    int paper(int startUp) const;
    void setPaper(int index);

    // "文字识别": whether generated PDFs get a text layer.
    bool ocr(bool startUp) const;
    void setOcr(bool on);

    // "文档校正": whether generated PDFs get corrected pages.
    bool document(bool startUp) const;
    void setDocument(bool on);

    // "跳过空白页": whether generated PDFs leave blank pages out.
    bool skipBlank(bool startUp) const;
    void setSkipBlank(bool on);

    // "在空白页处分成多个文件": whether generated PDFs are split at blank pages.
    bool splitAtBlank(bool startUp) const;
    void setSplitAtBlank(bool on);

    // "书本分两页" and "从右到左": whether photos of open books go in as their two pages, and
    // whether the right page comes first.
    bool spreads(bool startUp) const;
    void setSpreads(bool on);
    bool rightToLeft(bool startUp) const;
    void setRightToLeft(bool on);

    std::string addFolder() const;
    void setAddFolder(const std::string &folder);

    std::string saveFolder() const;
    void setSaveFolder(const std::string &folder);

    // The window's size (when not maximised) and whether it was maximised; nothing when no size
    // is stored or what is stored is not one.
    std::optional<WindowPlacement> placement() const;
    void setPlacement(const WindowPlacement &placement);

private:
    SettingsStore &store_;
};

// The folder part of a full path ("" for a bare name).
std::string folderOf(const std::string &path);

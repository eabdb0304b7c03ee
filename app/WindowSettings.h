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
    explicit WindowSettings(SettingsStore &store) : m_store(store) {}

    // The radio index 0..6 (six classes, then fit).
    int ImageType(int startUp) const;
    void SetImageType(int index);

    // "纸张": the paper's index in folvane::AllPapers.
    int Paper(int startUp) const;
    void SetPaper(int index);

    // "文字识别": whether generated PDFs get a text layer.
    bool Ocr(bool startUp) const;
    void SetOcr(bool on);

    // "文档校正": whether generated PDFs get corrected pages.
    bool Document(bool startUp) const;
    void SetDocument(bool on);

    // "跳过空白页": whether generated PDFs leave blank pages out.
    bool SkipBlank(bool startUp) const;
    void SetSkipBlank(bool on);

    // "在空白页处分成多个文件": whether generated PDFs are split at blank pages.
    bool SplitAtBlank(bool startUp) const;
    void SetSplitAtBlank(bool on);

    std::string AddFolder() const;
    void SetAddFolder(const std::string &folder);

    std::string SaveFolder() const;
    void SetSaveFolder(const std::string &folder);

    // The window's size (when not maximised) and whether it was maximised; nothing when no size
    // is stored or what is stored is not one.
    std::optional<WindowPlacement> Placement() const;
    void SetPlacement(const WindowPlacement &placement);

private:
    SettingsStore &m_store;
};

// The folder part of a full path ("" for a bare name).
std::string FolderOf(const std::string &path);

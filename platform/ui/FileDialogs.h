#pragma once

#include <string>
#include <vector>

#include "platform/ui/DialogPeer.h"

class CDialog;

// Splits a filter of the form "name|patterns|name|patterns||" (patterns separated by ';').
std::vector<FileFilter> ParseFileFilter(const std::string &filter);

// The multi-selection open dialog owned by owner's window. False when cancelled or failed.
bool GetOpenFileNames(CDialog &owner, const OpenFileRequest &request,
                      std::vector<std::string> &paths);

// The save dialog (the only form this program uses).
class CFileDialog {
public:
    CFileDialog(const std::string &defaultExt, const std::string &fileName, unsigned flags,
                const std::string &filter, CDialog &owner);

    // The folder the dialog opens in ("" for its own choice).
    void SetInitialDir(const std::string &folder) { m_request.initialDir = folder; }
    // IDOK when the user chose a path, IDCANCEL otherwise. A chosen name without an extension
    // gets the default extension.
    int DoModal();
    const std::string &GetPathName() const { return m_path; }

private:
    SaveFileRequest m_request;
    CDialog &m_owner;
    std::string m_path;
};

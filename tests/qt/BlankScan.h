// A blank page for the window's blank-page tests: the back of a sheet as a scanner gives it,
// paper grain and a little noise, nothing written.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <cstdint>
#include <string>

#include "app/CFolvaneDlg.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

// Writes the blank scan as `name` inside dir, the size of a sample page; its path.
inline std::string WriteBlankScan(const support::TempDir &dir, const std::string &name) {
    support::Picture page = support::Blank(1240, 1754, 1);
    uint32_t random = 5;
    for (uint8_t &sample : page.samples) {
        random = random * 1664525u + 1013904223u;
        sample = static_cast<uint8_t>(230 + (random >> 16) % 8);
    }
    const std::string path = dir / name;
    support::WriteFile(path, support::MakeJpeg(page));
    return path;
}

// Lets the blank-page rule read every row's page and the window show what it found.
inline bool SettleBlankChecks(const CFolvaneDlg &dlg) {
    QElapsedTimer clock;
    clock.start();
    while (dlg.BlankChecksPending() && clock.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return !dlg.BlankChecksPending();
}

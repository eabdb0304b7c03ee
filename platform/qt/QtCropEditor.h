#pragma once

#include <QDialog>

#include "platform/ui/CropEditing.h"

class CropCanvas;
class QLabel;

// The crop editor of the real window: a line saying what to do (or why the rectangle cannot be
// kept), the page with its crop rectangle, and the buttons to keep the rectangle, to put it back
// on the whole page, and to cancel. A rectangle the request refuses leaves the editor open.
class QtCropEditor : public QDialog {
    Q_OBJECT

public:
    QtCropEditor(const CropEditRequest &request, QWidget *parent);

    // Runs the editor until the user answers.
    CropEditAnswer Run();

private:
    void Keep();

    const CropEditRequest &m_request;
    CropCanvas *m_canvas = nullptr;
    QLabel *m_hint = nullptr;
};

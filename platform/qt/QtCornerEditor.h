#pragma once

#include <QDialog>

#include "platform/ui/CornerEditing.h"

class CornerCanvas;
class QLabel;
class QTimer;

// The corner editor of the real window: the photo with its handles on the left, the page the
// corners give on the right (drawn again as a handle moves), a line saying what to do, and
// the buttons to keep the corners, to go back to the sheet the program finds, and to cancel.
class QtCornerEditor : public QDialog {
    Q_OBJECT

public:
    QtCornerEditor(const CornerEditRequest &request, QWidget *parent);

    // Runs the editor until the user answers.
    CornerEditAnswer Run();

private:
    // Draws the page the corners give, with the hint or, when they give none, the refusal;
    // false when they give none.
    bool ShowPage();

    const CornerEditRequest &m_request;
    CornerCanvas *m_canvas = nullptr;
    QLabel *m_page = nullptr;
    QLabel *m_hint = nullptr;
    // Draws the page again a moment after a handle moves: the moves of a drag that come while
    // the page is being drawn are taken together.
    QTimer *m_follow = nullptr;
    CornerEditAnswer::Choice m_choice = CornerEditAnswer::Choice::Cancel;
};

// The picture as a Qt image (a deep copy); a null image for an empty one.
QImage ImageOf(const RgbPicture &picture);

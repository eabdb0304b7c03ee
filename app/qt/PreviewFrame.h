#pragma once

#include <QFrame>

// The preview frame: a plain rectangle filled with the window colour.
class PreviewFrame : public QFrame {
    Q_OBJECT

public:
    explicit PreviewFrame(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// What a user of one language reads in the window: every text it shows, gathered, and the checks
// that none of it is in the other language. Header only; include it from one source file per
// test program (it includes WindowFixture.h).
#pragma once

#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QToolTip>
#include <string>
#include <vector>

#include "app/qt/AppLanguage.h"
#include "tests/qt/WindowFixture.h"

// The program's own start-up language for the locale of the test program's environment (its
// CTest registration sets LANG; the variables that would outrank it in a developer's session go
// first), put in place before the first test as main() does.
class StartUpLanguage : public ::testing::Environment {
public:
    void SetUp() override {
        for (const char *outranking : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
            qunsetenv(outranking);
        }
        App();
        std::string error;
        ASSERT_TRUE(language.speak(localeLanguage(), error)) << error;
        language.install();
    }
    AppLanguage language;
};

inline bool HasChinese(const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) {
            return true;
        }
    }
    return false;
}

// The runs of three or more English words in text once the names given (file names, paths) and
// everything in parentheses are taken out: the sentences of a language other than Chinese.
// A word is a token of Latin letters alone (a full stop or comma may end it); names such as
// "chi_sim+eng", "tesseract-ocr-chi-sim" or "3264x2448" are tokens but not words, and a
// Chinese character ends a run.
inline std::vector<std::string> EnglishRuns(const std::string &shown,
                                            const std::vector<std::string> &names) {
    QString text = QString::fromStdString(shown);
    for (const std::string &name : names) {
        text.replace(QString::fromStdString(name), QStringLiteral("□"));
    }
    static const QRegularExpression parenthesised(QStringLiteral("\\([^()]*\\)|（[^（）]*）"));
    while (text.contains(parenthesised)) {
        text.replace(parenthesised, QStringLiteral("□"));
    }
    static const QRegularExpression word(QStringLiteral("^[A-Za-z]+[.,;:!?]?$"));
    std::vector<std::string> runs;
    QStringList run;
    const auto endRun = [&] {
        if (run.size() >= 3) {
            runs.push_back(run.join(QLatin1Char(' ')).toStdString());
        }
        run.clear();
    };
    QString token;
    const auto endToken = [&](bool endsRun) {
        if (!token.isEmpty()) {
            if (word.match(token).hasMatch()) {
                run << token;
            } else {
                endRun();
            }
        }
        token.clear();
        if (endsRun) {
            endRun();
        }
    };
    for (const QChar c : text) {
        if (c.isSpace() && c != QLatin1Char('\n')) {
            endToken(false);
        } else if (c.unicode() < 0x80 && c != QLatin1Char('\n')) {
            token += c;
        } else {
            endToken(true);
        }
    }
    endToken(true);
    return runs;
}

// Every text the window shows of itself: its title, the captions, labels, tips and menus, the
// list's headings and the tips of its rows.
inline std::vector<std::string> WindowTexts(QWidget *window, QtListCtrl *list) {
    std::vector<std::string> texts{window->windowTitle().toStdString()};
    const auto add = [&texts](const QString &text) {
        if (!text.isEmpty()) {
            texts.push_back(text.toStdString());
        }
    };
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        add(widget->toolTip());
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            add(button->text());
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            add(label->text());
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            add(group->title());
        }
    }
    for (QMenuBar *bar : window->findChildren<QMenuBar *>()) {
        for (QAction *menu : bar->actions()) {
            add(menu->text());
            for (QAction *item : menu->menu()->actions()) {
                add(item->text());
            }
        }
    }
    for (int column = 0; column < list->model()->columnCount(); ++column) {
        add(list->model()->headerData(column, Qt::Horizontal).toString());
    }
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        add(list->model()->index(row, 1).data(Qt::ToolTipRole).toString());
    }
    return texts;
}

// The texts of a modal window: its title, labels and buttons.
inline std::vector<std::string> DialogTexts(QWidget *dialog) {
    std::vector<std::string> texts{dialog->windowTitle().toStdString()};
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        texts.push_back(label->text().toStdString());
    }
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        texts.push_back(button->text().toStdString());
    }
    return texts;
}

// The tool tip the list shows when the pointer rests on a row: its text, and the window with the
// tip where the desktop shows it (past the window's edge too), for the docs.
inline QImage HoverTip(QWidget *window, QtListCtrl *list, int row, std::string &text) {
    const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &help);
    text = QToolTip::text().toStdString();
    QWidget *tip = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            tip = top;
        }
    }
    if (!tip) {
        return {};
    }
    const QImage tipShot = tip->grab().toImage();
    const QRect tipArea(window->mapFromGlobal(tip->pos()), tipShot.size());
    const QRect area = window->rect().united(tipArea);
    QImage shot(area.size(), QImage::Format_RGB32);
    shot.fill(QColor(255, 255, 255));
    QPainter painter(&shot);
    painter.drawImage(-area.topLeft(), window->grab().toImage());
    painter.drawImage(tipArea.topLeft() - area.topLeft(), tipShot);
    painter.end();
    QToolTip::hideText();
    return shot;
}

// The right-click menu of a row: its items' texts, and the window with the menu open over it
// at the row clicked (the offscreen platform puts it elsewhere), for the docs. The menu is closed
// again without a choice.
inline QImage RowMenu(QWidget *window, QtListCtrl *list, int row, std::vector<std::string> &items) {
    const QPoint at =
        list->viewport()->mapTo(window, list->visualRect(list->model()->index(row, 1)).center());
    QImage shot;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            return;
        }
        for (QAction *action : menu->actions()) {
            items.push_back(action->text().toStdString());
        }
        const QImage menuShot = menu->grab().toImage();
        const QRect menuArea(at, menuShot.size());
        const QRect area = window->rect().united(menuArea);
        shot = QImage(area.size(), QImage::Format_RGB32);
        shot.fill(QColor(255, 255, 255));
        QPainter painter(&shot);
        painter.drawImage(-area.topLeft(), window->grab().toImage());
        painter.drawImage(menuArea.topLeft() - area.topLeft(), menuShot);
        painter.end();
        menu->close();
    });
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
    return shot;
}

// A tool tip's text as the user reads it: a long one is rich text with break points in its paths.
inline std::string PlainText(const std::string &tip) {
    QTextDocument shown;
    shown.setHtml(QString::fromStdString(tip));
    return shown.toPlainText().remove(QChar(0x200B)).toStdString();
}

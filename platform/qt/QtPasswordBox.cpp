#include "platform/qt/QtPasswordBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::optional<std::string> AskPasswordInBox(const PasswordRequest &request, QWidget *parent) {
    QDialog box(parent);
    box.setObjectName(QStringLiteral("passwordBox"));
    box.setWindowTitle(QString::fromStdString(request.caption));
    auto *layout = new QVBoxLayout(&box);
    auto *text = new QLabel(QString::fromStdString(request.text), &box);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *field = new QLineEdit(&box);
    field->setObjectName(QStringLiteral("passwordField"));
    field->setEchoMode(QLineEdit::Password);
    layout->addWidget(field);
    auto *buttons = new QDialogButtonBox(&box);
    QPushButton *ok =
        buttons->addButton(QString::fromStdString(request.okText), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromStdString(request.cancelText), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(buttons);
    field->setFocus();
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return field->text().toStdString();
}

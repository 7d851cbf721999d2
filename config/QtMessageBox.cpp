#include "config/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace tavo {

namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ButtonOf(MsgResult result) {
    switch (result) {
        case MsgResult::Cancel:
            return QMessageBox::Cancel;
        case MsgResult::Yes:
            return QMessageBox::Yes;
        case MsgResult::No:
            return QMessageBox::No;
        case MsgResult::Ok:
            break;
    }
    return QMessageBox::Ok;
}

MsgResult EscapeAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
            return MsgResult::Cancel;
        case MsgButtons::YesNo:
            return MsgResult::No;
        case MsgButtons::Ok:
            break;
    }
    return MsgResult::Ok;
}

}  // namespace

MsgResult QtMessageBox::Show(const MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.icon), QString::fromStdString(request.title),
                    QString::fromStdString(request.text), ButtonsOf(request.buttons),
                    QApplication::activeWindow());
    // Plain text: a file name with "<" in it must show as written.
    box.setTextFormat(Qt::PlainText);
    const QMessageBox::StandardButton defaultButton = ButtonOf(request.defaultButton);
    if (box.button(defaultButton) != nullptr) box.setDefaultButton(defaultButton);
    const QMessageBox::StandardButton escapeButton = ButtonOf(EscapeAnswer(request.buttons));
    box.setEscapeButton(escapeButton);
    box.exec();

    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return MsgResult::Ok;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        default:
            return EscapeAnswer(request.buttons);
    }
}

}  // namespace tavo

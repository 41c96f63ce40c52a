#include "platform/dialogs/MessageBoxDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

DialogAnswer MessageBoxDialogs::present(const DialogRequest& request) {
    // Without a GUI application there is nobody to ask; the text must still not be lost.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("%s: %s", qPrintable(request.caption), qPrintable(request.text));
        return request.kind == DialogKind::Question ? DialogAnswer::No : DialogAnswer::Ok;
    }

    QMessageBox box(request.kind == DialogKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    request.caption, request.text);
    box.setWindowModality(Qt::ApplicationModal);
    if (request.kind == DialogKind::Question) {
        QPushButton* yes = box.addButton(QStringLiteral("Ano"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("Ne"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes ? DialogAnswer::Yes : DialogAnswer::No;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return DialogAnswer::Ok;
}

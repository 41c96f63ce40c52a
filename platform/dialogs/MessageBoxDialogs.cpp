#include "platform/dialogs/MessageBoxDialogs.h"

#include <QApplication>
#include <QFileDialog>
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

QString MessageBoxDialogs::chooseFileToWrite(const QString& caption, const QString& suggested) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {};
    QFileDialog dialog(QApplication::activeWindow(), caption, suggested);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setNameFilter(QStringLiteral("Všechny soubory (*)"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Složka:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Název souboru:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Typ souboru:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Uložit"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Zrušit"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

#include "platform/dialogs/MessageBoxDialogs.h"

#include "platform/dialogs/ApplicationTitle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Waits for the message box that the call under test opens, notes what it shows
// and presses the button with the given label.
void answerNextBox(SeenBox& seen, const QString& press) {
    QTimer::singleShot(0, [&seen, press] {
        QMessageBox* box = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box != nullptr;
        }));
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == press)
                button->click();
    });
}

} // namespace

TEST(MessageBoxDialogs, ErrorBoxHasStopIconOneButtonAndTheApplicationTitle) {
    MessageBoxDialogs boxes;
    SeenBox seen;
    answerNextBox(seen, QStringLiteral("OK"));
    boxes.showError(QStringLiteral("Chyba komunikace - Chybový kod Windows socket API:10065"));

    EXPECT_EQ(seen.caption, ApplicationTitle::current());
    EXPECT_EQ(seen.text,
              QStringLiteral("Chyba komunikace - Chybový kod Windows socket API:10065."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
}

TEST(MessageBoxDialogs, QuestionAnswersWithTheButtonPressed) {
    MessageBoxDialogs boxes;
    for (const bool pressYes : {true, false}) {
        SeenBox seen;
        answerNextBox(seen, pressYes ? QStringLiteral("Ano") : QStringLiteral("Ne"));
        EXPECT_EQ(boxes.askYesNo(QStringLiteral("Znovu přihlásit"), QStringLiteral("Přejete si?")),
                  pressYes);
        EXPECT_EQ(seen.caption, QStringLiteral("Znovu přihlásit"));
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons.size(), 2);
    }
}

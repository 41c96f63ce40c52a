#pragma once

#include "app/Program.h"
#include "app/StartOptions.h"
#include "app/TfMain.h"
#include "diagnostics/DiagnosticLog.h"
#include "platform/dialogs/OperatorDialogs.h"
#include "platform/dialogs/RecordingDialogs.h"
#include "platform/widgets/Control.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <memory>

// The whole program in the test process: its three windows on the offscreen
// platform, message boxes (the error box among them) recorded, and a fresh working
// directory for the files the program writes.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workDir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(workDir_.path());
        previousDialogs_ = OperatorDialogs::install(&dialogs);
    }

    void TearDown() override {
        // Windows that a script freed are deleted once the message loop runs again;
        // a test may end before it did.
        QCoreApplication::sendPostedEvents();
        program_.reset();
        OperatorDialogs::install(previousDialogs_);
        QDir::setCurrent(previousDir_);
    }

    // Sheets are looked for in the working directory unless the options say otherwise.
    Program& start(StartOptions options = {}) {
        if (options.sheetDirectory.isEmpty())
            options.sheetDirectory = workDir_.path();
        program_.reset();
        program_ = std::make_unique<Program>(options);
        return *program_;
    }

    Program& program() { return *program_; }
    TfMain& fMain() { return program_->fMain(); }

    // How many event log entries end with the text.
    int eventsEndingWith(const QByteArray& text) const {
        int count = 0;
        const DiagnosticLog& log = program_->log();
        for (qsizetype i = 0; i < log.eventCount(); ++i)
            count += log.eventEntry(i).endsWith(text) ? 1 : 0;
        return count;
    }

    QList<QByteArray> communicationLines() const {
        QList<QByteArray> lines;
        const DiagnosticLog& log = program_->log();
        for (qsizetype i = 0; i < log.communicationCount(); ++i)
            lines.append(log.communicationLine(i).text);
        return lines;
    }

    // Clicks a control through its window, as the operator would, so that a disabled
    // window really refuses the click.
    static void click(TControl* control) {
        QWidget* widget = control->Widget();
        QWidget* window = widget->window();
        ASSERT_NE(window->windowHandle(), nullptr);
        const QPoint inWindow = widget->mapTo(window, widget->rect().center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow);
    }

    static void pressCtrlAltD(QWidget* window) {
        ASSERT_NE(window->windowHandle(), nullptr);
        QTest::keyClick(window->windowHandle(), Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    }

    RecordingDialogs dialogs;

private:
    QTemporaryDir workDir_;
    QString previousDir_;
    OperatorDialogs* previousDialogs_ = nullptr;
    std::unique_ptr<Program> program_;
};

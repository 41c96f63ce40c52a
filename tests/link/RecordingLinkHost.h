#pragma once

#include "link/LinkHost.h"
#include "platform/Win1250.h"

#include <QList>
#include <QStringList>
#include <functional>

// Stands in for the main window: records what the link asks of it and answers every
// message box at once (or runs a test's own code in its place).
class RecordingLinkHost : public LinkHost {
public:
    bool mainWindowShown = true;
    bool waitDialogShown = false;
    bool controlsEnabled = true;
    int cursor = 0;
    QString address = QStringLiteral("127.0.0.1");
    QString password = QStringLiteral("demo");
    bool applying = false;

    QStringList log;
    QStringList notices;
    QList<QByteArray> scripts;
    QStringList reloads;
    int sheetsLoaded = 0;

    // Runs inside LoadSheet or a message box, as a sheet's modal window would.
    std::function<void()> whileLoadingSheet;
    std::function<void(const QString&)> whileNoticeOpen;

    void showMainWindow() override { mainWindowShown = true; }
    void hideMainWindow() override { mainWindowShown = false; }
    void showWaitDialog() override { waitDialogShown = true; }
    void closeWaitDialog() override { waitDialogShown = false; }
    void setConnectionControlsEnabled(bool enabled) override { controlsEnabled = enabled; }
    int screenCursor() const override { return cursor; }
    void setScreenCursor(int c) override { cursor = c; }
    QString addressText() const override { return address; }
    QString passwordText() const override { return password; }
    bool applyInProgress() const override { return applying; }
    void setApplyInProgress(bool inProgress) override { applying = inProgress; }
    void reloadDeviceDocument(const QString& fileName) override { reloads.append(fileName); }
    void loadSheet() override {
        ++sheetsLoaded;
        if (whileLoadingSheet)
            whileLoadingSheet();
    }
    void runScript(const QByteArray& text) override { scripts.append(text); }
    void showNotice(const QString& text) override {
        notices.append(text);
        if (whileNoticeOpen)
            whileNoticeOpen(text);
    }
    void logComm(const QString& text, quint32) override { log.append(text); }

    int logged(const QString& text) const { return static_cast<int>(log.count(text)); }
};

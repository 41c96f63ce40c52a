#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the device link needs of the main window. The main window implements it; the
// link calls nothing else of the application.
class LinkHost {
public:
    virtual ~LinkHost() = default;

    virtual void showMainWindow() = 0;
    virtual void hideMainWindow() = 0;
    // Shows the wait dialog, not modal.
    virtual void showWaitDialog() = 0;
    virtual void closeWaitDialog() = 0;

    // SetControlsEnabled with the connection controls, in this order: lIPaddress,
    // eAddress, lPassword, ePassword, bConnect, bClose.
    virtual void setConnectionControlsEnabled(bool enabled) = 0;
    // The application-wide cursor, as the toolkit numbers it (crHourGlass is -11).
    virtual int screenCursor() const = 0;
    virtual void setScreenCursor(int cursor) = 0;

    // The texts of eAddress and ePassword.
    virtual QString addressText() const = 0;
    virtual QString passwordText() const = 0;

    virtual bool applyInProgress() const = 0;
    virtual void setApplyInProgress(bool inProgress) = 0;

    // Makes XML_Device inactive, sets its file name and activates it again, which loads
    // the file. Failures are raised as Error.
    virtual void reloadDeviceDocument(const QString& fileName) = 0;
    // LoadSheet: builds the sheet that matches XML_Device. May run nested loops.
    virtual void loadSheet() = 0;
    // Runs a script text through MainScript. Errors are raised as Error.
    virtual void runScript(const QByteArray& text) = 0;

    // A plain message box with one OK button and no icon; returns once it is closed.
    virtual void showNotice(const QString& text) = 0;
    // LogComm: one entry of the communication log in the colour $00BBGGRR.
    virtual void logComm(const QString& text, quint32 colour) = 0;
};

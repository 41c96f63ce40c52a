#pragma once

#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"
#include "script/TScript.h"

#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <exception>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Widgets with the property names that sheets and scripts use.
class TestEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int Tag MEMBER tag)
public:
    using QLineEdit::QLineEdit;
    int tag = 0;
};

class TestCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ currentIndex WRITE setCurrentIndex)
    Q_PROPERTY(QString Text READ currentText)
public:
    using QComboBox::QComboBox;
};

class TestForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)
public:
    using QWidget::QWidget;
};

// The message of the Error that `body` raises, or an empty text.
QString errorOf(const std::function<void()>& body);

// A host that keeps a registry of real widgets and records every operation,
// window operations of RigObjects included, in one list in call order.
class RecordingHost : public ScriptHost {
public:
    QStringList calls;
    QList<QPointer<QObject>> registry;
    bool reconnect = false;
    QObject* connectSender = nullptr;
    QList<QPair<QString, TSMethod*>> functions;
    QStringList log;
    std::function<void()> onApply;

    QObject* FindSheetComponent(const QByteArray& name) override;
    bool UnregisterSheetComponent(QObject* component) override;
    void DestroySheetComponents() override;
    void ApplySettings() override;
    void Disconnect() override { calls << "Disconnect"; }
    void Connect(QObject* sender) override;
    void ShowMainWindow() override { calls << "ShowMain"; }
    void HideMainWindow() override { calls << "HideMain"; }
    void CloseWaitDialog() override { calls << "CloseWait"; }
    bool ReconnectRequested() const override { return reconnect; }
    void ClearReconnectRequested() override { reconnect = false; }
    void AddScriptFunction(const QByteArray& name, TSMethod* method) override;
    void LogColor(std::uint32_t colour, const QByteArray& text) override;
    void ShowMessage(const QString& text) override { calls << "Message:" + text; }
};

// Properties through Qt's meta-object system, names compared without regard to
// letter case. An error raised by a script that a property write fired (the
// widget's change event) comes back out of the write, as it does in the program.
class RigObjects : public ScriptObjects {
public:
    explicit RigObjects(QStringList& calls) : calls_(calls) {}

    // Runs a widget event's script, keeping its error for the write that fired it.
    void runEvent(const std::function<void()>& body);

    Variant readProperty(const QObject* object, const QByteArray& name) override;
    void writeProperty(QObject* object, const QByteArray& name, const Variant& value) override;
    bool isWindow(const QObject* object) override;
    void showWindow(QObject* window) override;
    void hideWindow(QObject* window) override;
    void closeWindow(QObject* window) override;
    void showWindowModal(QObject* window) override;
    void freeWindow(QObject* window) override { window->deleteLater(); }

private:
    QStringList& calls_;
    std::exception_ptr eventError_;
};

// A script engine over a registered form W holding an edit E and a combo box C
// (entries "zero", "one", "two").
class ScriptTest : public ::testing::Test {
protected:
    ScriptTest();
    ~ScriptTest() override;

    void run(const char* text) { script.Run(QByteArray(text)); }
    // A widget registered under `name`, owned by `parent`.
    template <typename T> T* add(const char* name, QWidget* parent) {
        T* widget = new T(parent);
        widget->setObjectName(QString::fromLatin1(name));
        host.registry.append(widget);
        return widget;
    }

    RecordingHost host;
    RigObjects objects{host.calls};
    TScript script{host, objects, nullptr};
    QPointer<TestForm> W;
    QPointer<TestEdit> E;
    QPointer<TestCombo> C;
};

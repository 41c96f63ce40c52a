#include "ScriptTestRig.h"

#include "platform/Error.h"
#include "platform/Win1250.h"

#include <QCoreApplication>
#include <QMetaProperty>

namespace {

QMetaProperty findProperty(const QObject* object, const QByteArray& name) {
    const QMetaObject* meta = object->metaObject();
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        if (qstricmp(meta->property(i).name(), name.constData()) == 0)
            return meta->property(i);
    }
    throw Error(QStringLiteral("Property %1 does not exist").arg(Win1250::toWide(name)));
}

QVariant toQt(const Variant& value, QMetaType type) {
    switch (type.id()) {
    case QMetaType::Bool:
        if (value.kind() != VarKind::String)
            return value.toBoolean();
        if (value.textValue().compare("true", Qt::CaseInsensitive) == 0)
            return true;
        if (value.textValue().compare("false", Qt::CaseInsensitive) == 0)
            return false;
        throw Error(
            QStringLiteral("Invalid property element: %1").arg(Win1250::toWide(value.textValue())));
    case QMetaType::Int:
        return static_cast<int>(value.toReal());
    default:
        return value.isNull() ? QString() : value.toWideText();
    }
}

} // namespace

QString errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

QObject* RecordingHost::FindSheetComponent(const QByteArray& name) {
    for (const auto& entry : registry) {
        if (entry && Win1250::fromWide(entry->objectName()) == name)
            return entry;
    }
    return nullptr;
}

bool RecordingHost::UnregisterSheetComponent(QObject* component) {
    calls << "Unregister:" + component->objectName();
    return registry.removeOne(component);
}

void RecordingHost::DestroySheetComponents() {
    calls << "DestroyAll";
    for (const auto& entry : std::exchange(registry, {})) {
        if (entry)
            entry->deleteLater();
    }
}

void RecordingHost::ApplySettings() {
    calls << "Apply";
    if (onApply)
        onApply();
}

void RecordingHost::Connect(QObject* sender) {
    calls << "Connect";
    connectSender = sender;
}

void RecordingHost::AddScriptFunction(const QByteArray& name, TSMethod* method) {
    functions.append({Win1250::toWide(name), method});
}

void RecordingHost::LogColor(std::uint32_t colour, const QByteArray& text) {
    log << QString::number(colour, 16).toUpper() + ":" + Win1250::toWide(text);
}

void RigObjects::runEvent(const std::function<void()>& body) {
    try {
        body();
    } catch (...) {
        eventError_ = std::current_exception();
    }
}

Variant RigObjects::readProperty(const QObject* object, const QByteArray& name) {
    const QVariant value = findProperty(object, name).read(object);
    if (value.typeId() == QMetaType::Bool)
        return Variant::fromText(value.toBool() ? "True" : "False");
    if (value.typeId() == QMetaType::Int)
        return Variant::fromInt(value.toInt());
    return Variant::fromText(Win1250::fromWide(value.toString()));
}

void RigObjects::writeProperty(QObject* object, const QByteArray& name, const Variant& value) {
    const QMetaProperty property = findProperty(object, name);
    property.write(object, toQt(value, property.metaType()));
    if (eventError_)
        std::rethrow_exception(std::exchange(eventError_, nullptr));
}

bool RigObjects::isWindow(const QObject* object) {
    return qobject_cast<const TestForm*>(object) != nullptr;
}

void RigObjects::showWindow(QObject* window) {
    calls_ << "Show:" + window->objectName();
}

void RigObjects::hideWindow(QObject* window) {
    calls_ << "Hide:" + window->objectName();
}

void RigObjects::closeWindow(QObject* window) {
    calls_ << "Close:" + window->objectName();
}

void RigObjects::showWindowModal(QObject* window) {
    calls_ << "ShowModal:" + window->objectName();
}

ScriptTest::ScriptTest() {
    W = add<TestForm>("W", nullptr);
    E = add<TestEdit>("E", W);
    C = add<TestCombo>("C", W);
    C->addItems({"zero", "one", "two"});
}

ScriptTest::~ScriptTest() {
    delete W;
    // Windows that a script freed go once control is back in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

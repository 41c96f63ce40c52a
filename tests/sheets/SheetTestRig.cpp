#include "SheetTestRig.h"

#include "platform/Win1250.h"
#include "sheets/SheetClasses.h"
#include "sheets/TScriptNodeObject.h"

#include <QCoreApplication>
#include <QFile>

namespace {

std::string KindOf(const DiagnosticLog::Record& record) {
    switch (record.kind) {
    case DiagnosticLog::Kind::Info:
        return "info";
    case DiagnosticLog::Kind::Error:
        return "error";
    case DiagnosticLog::Kind::Communication:
        return "comm";
    case DiagnosticLog::Kind::Colour:
        break;
    }
    switch (record.colour) {
    case 0x00FF00:
        return "lime";
    case 0xF0FBFF:
        return "cream";
    case 0x00FFFF:
        return "yellow";
    case 0x0000FF:
        return "red";
    default:
        return QByteArray::number(record.colour, 16).toStdString();
    }
}

} // namespace

SheetTest::SheetTest() {
    RegisterSheetClasses();
    log.addListener([this](const DiagnosticLog::Record& record) {
        // The stored form starts with the kind's marker and the time: "... - text".
        const QByteArray text = record.text.mid(record.text.indexOf(" - ") + 3);
        lines_.push_back(KindOf(record) + "|" + Win1250::toWide(text).toStdString());
    });
}

SheetTest::~SheetTest() {
    registry.DestroySheetComponents();
    for (const QPointer<TComponent>& widget : kept_) {
        if (widget)
            widget->Free();
    }
    flushDeletions();
}

void SheetTest::loadDevice(const QByteArray& xml) {
    device.loadFromBytes(xml);
}

void SheetTest::writeSheet(const QString& fileName, const QByteArray& content) {
    QFile file(directory.filePath(fileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TComponent* SheetTest::build(const QByteArray& body) {
    sheet.loadFromBytes("<S type=\"T\" version=\"1\">" + body + "</S>");
    try {
        return TScriptNodeObject::Create(context, sheet.documentElement().childNodes().first(),
                                         nullptr)
            ->Component;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::vector<std::string> SheetTest::takeLog() {
    return std::exchange(lines_, {});
}

void SheetTest::flushDeletions() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

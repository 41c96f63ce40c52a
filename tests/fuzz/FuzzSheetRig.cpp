#include "FuzzSheetRig.h"

#include "platform/Error.h"
#include "platform/widgets/Form.h"
#include "sheets/SheetClasses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QByteArray DeviceConfiguration =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<XML>\r\n"
    "<DEVICE type=\"F\" version=\"1\"/>\r\n"
    "<NET ip=\"127.0.0.1\" port=\"9999\" dhcp=\"0\"/>\r\n"
    "<INFO name=\"\xC8\x65rpadlo\"/>\r\n</XML>\r\n";

// One directory for the whole run: a new one per input would cost more than most
// inputs.
const QString& sheetDirectory() {
    static QTemporaryDir directory;
    static const QString path = directory.path();
    return path;
}

} // namespace

const QByteArray FuzzSheetRig::SampleSheet =
    "<S type=\"F\" version=\"1\">"
    "<SCRIPT>function open() { fForm.Show; } function shut() { fForm.Close; }"
    " function sync() { eIp.Enabled:=cDhcp.ItemIndex=0; }</SCRIPT>"
    "<Form Name=\"fForm\" Caption=\"Fuzz\" ClientWidth=\"300\" ClientHeight=\"200\">"
    "<PageControl Name=\"pc\" Align=\"alClient\"><TabSheet Name=\"ts\" Caption=\"S\">"
    "<Edit Name=\"eIp\" XMLpath=\"Text:NET.ip\" Left=\"8\" Top=\"8\"/>"
    "<ComboBox Name=\"cDhcp\" XMLpath=\"ItemIndex:NET.dhcp\" Style=\"csDropDownList\""
    " OnChange=\"sync();\"><ITEM caption=\"Ne\" value=\"0\"/><ITEM caption=\"Ano\" value=\"1\"/>"
    "</ComboBox><Label Name=\"lName\" Caption=\"Jm&amp;\xE9no\" Top=\"40\"/>"
    "<Button Name=\"bSet\" Caption=\"Set\" OnClick=\"Set;\" Top=\"60\"/>"
    "</TabSheet></PageControl></Form></S>";

FuzzSheetRig::FuzzSheetRig()
    : context_{device_, sheet_, registry_, log_, script_, {}, {sheetDirectory()}, {}} {
    RegisterSheetClasses();
    TCustomForm::setHeadlessModal([](TCustomForm&) {});
    device_.loadFromBytes(DeviceConfiguration);
}

FuzzSheetRig::~FuzzSheetRig() {
    registry_.DestroySheetComponents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void FuzzSheetRig::build(const QByteArray& sheetFile) {
    QFile file(QDir(sheetDirectory()).filePath(QStringLiteral("sheet.xml")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(sheetFile) != sheetFile.size())
        return;
    file.close();
    try {
        LoadSheet(context_, identity_);
    } catch (const Error&) {
    }
}

void FuzzSheetRig::run(const QByteArray& scriptText) {
    try {
        script_.Run(scriptText);
    } catch (const Error&) {
    }
}

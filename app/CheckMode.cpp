#include "app/CheckMode.h"

#include "app/CheckRecords.h"
#include "app/Program.h"
#include "app/TfMain.h"
#include "link/DeviceLink.h"
#include "link/AutoResetSignal.h"
#include "link/ClientSocket.h"
#include "link/LinkTimings.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/Component.h"
#include "platform/components/EventDispatch.h"
#include "platform/components/EventTypes.h"
#include "platform/widgets/Form.h"
#include "platform/xml/TXMLDocument.h"
#include "sheets/SettingChanges.h"
#include "script/TScript.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <algorithm>
#include <cstdio>

namespace {

// Lets queued work finish (deferred deletions, posted events) before the next step.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Runs the event loop until `done` holds or the time is up, sleeping between
// messages: a soak check may wait for hours.
template <typename Done> void waitUntil(Done done, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        processMessages(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 100)));
}

} // namespace

CheckMode::CheckMode(const StartOptions& options)
    : options_(options), previousDialogs_(OperatorDialogs::install(&dialogs_)),
      flushLater_(&printer_, [] { std::fflush(stdout); }) {
    dialogs_.setDefaultAnswer(options.answerYes ? DialogAnswer::Yes : DialogAnswer::No);
    dialogs_.setObserver([this](const RecordingDialogs::Record& record) {
        if (record.kind == DialogKind::Error) {
            failed_ = true;
            errorShown_ = true;
        }
        report_.messages.append(record.text);
        print(CheckRecords::dialogRecord(record));
    });
    TCustomForm::setHeadlessModal([this](TCustomForm& form) {
        print(QStringLiteral("dialog: modal ") +
              CheckRecords::escaped(Win1250::toWide(form.Name())));
    });
}

CheckMode::~CheckMode() {
    std::fflush(stdout);
    TCustomForm::setHeadlessModal({});
    OperatorDialogs::install(previousDialogs_);
}

int CheckMode::run() {
    // The program is made after the dialogs are installed: the apply code keeps the
    // implementation it was given.
    Program program(options_);
    program.log().addListener([this](const DiagnosticLog::Record& record) {
        if (CheckRecords::isFailure(record))
            failed_ = true;
        print(CheckRecords::logRecord(record));
    });
    report_.address = options_.address;
    if (!obtainConfiguration(program))
        return finish(NoConfiguration);
    // Only the report needs it: reading the device's identity parses the received
    // configuration once more, which a plain check has no use for (70 MB more for
    // a 6.2 MB configuration).
    if (options_.json)
        noteDevice(program);
    program.fMain().setApplyAnswerObserver(
        [this](ConfigurationHistory::Answer answer) { answer_ = answer; });
    settle();
    if (!options_.compareFile.isEmpty())
        return compareConfiguration(program);
    if (!options_.restoreFile.isEmpty()) {
        if (!program.fMain().link().connected()) {
            OperatorDialogs::current().showError(
                QStringLiteral("Obnovit konfiguraci lze jen v připojeném zařízení."));
            return finish(NoConfiguration);
        }
        return finish(restoreConfiguration(program));
    }
    if (!program.fMain().sheets().sheetMatchesDevice())
        return finish(NoSheet);
    program.fMain().setApplyReview([this](const std::vector<SettingChange>& changes) {
        report_.changes = changes;
        for (const SettingChange& change : changes)
            print(CheckRecords::changeRecord(change));
        return !options_.diffOnly;
    });
    if (setRequestedSettings(program)) {
        runSteps(program);
        sendRequestedSettings(program);
        reconnectIfAsked(program);
        stayConnected(program);
    }
    // The widgets as the steps left them: disconnecting lets the sheet free its forms.
    const QStringList widgets = widgetRecords(program);
    program.fMain().Disconnect();
    settle();
    for (const QString& record : widgets)
        print(record);
    return finish(failed_ ? Failed : Passed);
}

bool CheckMode::setRequestedSettings(Program& program) {
    TfMain& main = program.fMain();
    bool set = true;
    for (const SettingRequest& request : options_.settings) {
        EntryGuard::guardEntry([&] {
            try {
                main.sheets().setDeviceSetting(main.receivedConfiguration(), request);
            } catch (const Error&) {
                set = false;
                throw;
            }
        });
        settle();
        if (!set)
            return false;
    }
    return true;
}

void CheckMode::sendRequestedSettings(Program& program) {
    if (options_.settings.isEmpty())
        return;
    TfMain& main = program.fMain();
    bool differs = false;
    EntryGuard::guardEntry([&] {
        differs = !main.sheets().changesToSend(main.receivedConfiguration()).empty();
    });
    if (!differs || !main.link().connected())
        return;
    EntryGuard::guardEntry([&main] { main.mainScript().Run(QByteArrayLiteral("Set;")); });
    settle();
}

int CheckMode::finish(int status) {
    if (!automation())
        return status;
    using Result = CheckReport::Result;
    if (answer_) {
        report_.result = *answer_ == ConfigurationHistory::Answer::Applied ? Result::Applied
                         : *answer_ == ConfigurationHistory::Answer::PartlyApplied
                             ? Result::PartiallyApplied
                             : Result::NotConfirmed;
        report_.exit = report_.result == Result::Applied ? Passed : Failed;
    } else if (status == NoConfiguration || status == NoSheet || errorShown_) {
        report_.result = Result::Failed;
        report_.exit = status == Passed ? Failed : status;
    } else {
        report_.result = options_.diffOnly ? Result::DryRun : Result::Unchanged;
        report_.exit = Passed;
    }
    if (options_.json)
        std::fputs(report_.toJson().constData(), stdout);
    return report_.exit;
}

// The device as it first answered: a new login after "Set" may bring another serial.
void CheckMode::noteDevice(Program& program) {
    const IXMLNode root = program.fMain().receivedConfiguration();
    const IXMLNode device = root.isNull() ? IXMLNode() : root.childNodes().find(QStringLiteral("DEVICE"));
    if (device.isNull())
        return;
    const auto text = [&device](const char* name) {
        const Variant value = device.attribute(QLatin1String(name));
        return value.isNull() ? QString() : value.toWideText();
    };
    report_.type = text("type");
    report_.version = text("version");
    report_.serial = text("serial");
}

namespace {

// Loads a stored configuration; what is wrong with it, or nothing.
QString loadConfiguration(TXMLDocument& document, const QString& file) {
    try {
        LoadStoredConfiguration(document, file);
    } catch (const Error& e) {
        return e.message();
    }
    return QString();
}

QByteArray deviceAttribute(const TXMLDocument& document, const char* name) {
    const Variant value = document.documentElement()
                              .childNodes()
                              .find(QStringLiteral("DEVICE"))
                              .attribute(QLatin1String(name));
    return value.isNull() ? QByteArray() : value.toText();
}

} // namespace

// Sends a stored configuration back to the connected device as "Set" sends one,
// when it was written for the same type and version.
int CheckMode::restoreConfiguration(Program& program) {
    TfMain& main = program.fMain();
    TXMLDocument stored;
    if (const QString problem = loadConfiguration(stored, options_.restoreFile); !problem.isEmpty()) {
        OperatorDialogs::current().showError(problem);
        return NoConfiguration;
    }
    const DeviceIdentity& device = main.sheets().device();
    const QByteArray type = deviceAttribute(stored, "type");
    const QByteArray version = deviceAttribute(stored, "version");
    if (type != device.DeviceType || version != device.DeviceVersion) {
        OperatorDialogs::current().showError(
            QStringLiteral("Soubor %1 patří k zařízení %2 verze %3, připojené zařízení je %4 verze "
                           "%5. Nic nebylo odesláno.")
                .arg(options_.restoreFile, Win1250::toWide(type), Win1250::toWide(version),
                     Win1250::toWide(device.DeviceType), Win1250::toWide(device.DeviceVersion)));
        main.Disconnect();
        settle();
        return Failed;
    }
    if (options_.diffOnly) {
        TXMLDocument received;
        received.loadFromFile(QString::fromLatin1(DeviceLink::StoredConfigurationFile));
        report_.changes = CompareSettings(received.documentElement(), stored.documentElement());
        for (const SettingChange& change : report_.changes)
            print(CheckRecords::changeRecord(change));
    } else {
        EntryGuard::guardEntry([&] {
            main.RestoreConfiguration(options_.restoreFile);
        });
    }
    main.Disconnect();
    settle();
    return failed_ ? Failed : Passed;
}

// The device's configuration as it came (the stored file or the one received, not
// the document the sheet's bindings may have added to) against a stored one, every
// attribute of every element.
int CheckMode::compareConfiguration(Program& program) {
    const QString deviceFile = options_.offlineFile.isEmpty()
                                   ? QString::fromLatin1(DeviceLink::StoredConfigurationFile)
                                   : options_.offlineFile;
    TXMLDocument device;
    TXMLDocument stored;
    QString problem = loadConfiguration(stored, options_.compareFile);
    if (problem.isEmpty())
        problem = loadConfiguration(device, deviceFile);
    program.fMain().Disconnect();
    settle();
    if (!problem.isEmpty()) {
        OperatorDialogs::current().showError(problem);
        return NoConfiguration;
    }
    const std::vector<SettingChange> changes =
        CompareSettings(device.documentElement(), stored.documentElement());
    for (const SettingChange& change : changes)
        print(CheckRecords::changeRecord(change));
    return changes.empty() ? Passed : Failed;
}

bool CheckMode::obtainConfiguration(Program& program) {
    if (options_.offlineFile.isEmpty())
        return connectToDevice(program);
    try {
        program.fMain().LoadOffline(options_.offlineFile);
        return true;
    } catch (const Error& e) {
        OperatorDialogs::current().showError(e.message());
        // The file did not load when XML_Device stayed empty; a sheet that failed
        // to load still leaves the configuration in hand.
        return !program.fMain().xmlDevice().isEmpty();
    }
}

// Logs in as "Připojit" does and waits until the device's configuration has built
// its sheet, or the connection is gone.
bool CheckMode::connectToDevice(Program& program) {
    TfMain& main = program.fMain();
    bool loaded = false;
    const QMetaObject::Connection connection =
        QObject::connect(&main, &TfMain::sheetLoaded, [&loaded] { loaded = true; });
    EntryGuard::guardEntry([&main] { main.Connect(&main); });
    DeviceLink& link = main.link();
    if (link.connected())
        waitUntil([&] { return loaded || !link.connected(); }, LinkTimings::current().connectWaitMs);
    QObject::disconnect(connection);
    // Lines that came before or with the configuration are still handled a slice
    // at a time; the records hold all of them.
    if (loaded)
        waitUntil([&] { return !link.connected() || !link.linesLeftForLater(); },
                  LinkTimings::current().connectWaitMs);
    return loaded;
}

void CheckMode::runSteps(Program& program) {
    TfMain& main = program.fMain();
    for (const StartOptions::Step& step : options_.steps) {
        EntryGuard::guardEntry([&] {
            if (step.kind == StartOptions::Step::Kind::Run)
                main.mainScript().Run(Win1250::fromWide(step.text));
            else
                fire(program, step.text);
        });
        settle();
    }
}

// A new login the operator asked for: the device comes back with its new
// configuration, and its records follow.
void CheckMode::reconnectIfAsked(Program& program) {
    TfMain& main = program.fMain();
    if (main.ReconnectRequested()) {
        main.ClearReconnectRequested();
        main.Disconnect();
        settle();
        connectToDevice(program);
        settle();
    }
}

// "NAME.EVENT": the bound handler of a sheet widget's event, fired as if the
// operator caused it.
void CheckMode::fire(Program& program, const QString& step) {
    const qsizetype dot = step.lastIndexOf(u'.');
    if (dot <= 0 || dot == step.size() - 1)
        throw Error(QStringLiteral("Invalid event %1 (NAME.EVENT)").arg(step));
    QObject* component = program.fMain().FindSheetComponent(Win1250::fromWide(step.left(dot)));
    if (!component)
        throw Error(QStringLiteral("Component %1 not found").arg(step.left(dot)));
    const QByteArray event = step.mid(dot + 1).toLatin1();
    const QVariant handler = component->property(event.constData());
    if (!handler.canConvert<TNotifyEvent>())
        throw Error(QStringLiteral("Invalid event %1").arg(step));
    EventDispatch::fire(handler.value<TNotifyEvent>(), component);
}

// Keeps a live connection open, the keep-alive running, for a soak check.
void CheckMode::stayConnected(Program& program) {
    if (options_.staySeconds <= 0)
        return;
    TfMain& main = program.fMain();
    waitUntil([&main] { return !main.link().connected(); }, options_.staySeconds * 1000);
}

QStringList CheckMode::widgetRecords(Program& program) {
    QStringList records;
    for (const TSheetComponent& entry : program.fMain().sheets().registry().Entries())
        records.append(CheckRecords::widgetRecord(entry));
    return records;
}

void CheckMode::print(const QString& record) {
    if (options_.json)
        return;
    std::fputs((record + u'\n').toUtf8().constData(), stdout);
    flushLater_.request();
}

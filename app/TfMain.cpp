#include "app/TfMain.h"

#include "app/TPanel.h"
#include "app/TfWaitDialog.h"
#include "diagnostics/ChangesPage.h"
#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/TfDebug.h"
#include "platform/EntryGuard.h"
#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/Reflection.h"
#include "platform/dialogs/OperatorDialogs.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Cursors.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Label.h"
#include "script/TScript.h"
#include "sheets/SheetClasses.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>

namespace {

template <typename Control>
Control* place(TComponent* owner, TWinControl* parent, const char* name, QRect bounds) {
    auto* control = new Control(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    return control;
}

void bindClick(TControl* control, QObject* target, const char* handler) {
    BindEvent(control, "OnClick", FindPublishedMethod(target, handler));
}

} // namespace

TfMain::TfMain(const StartOptions& options, DiagnosticLog& log, QObject* scriptOwner)
    : log_(log), debugSwitch_(options.debugSwitch), saveFile_(options.saveFile),
      history_(options.historyDirectory, [this](const QByteArray& text) { log_.LogError(text); }),
      link_(*this) {
    link_.setPort(options.port);
    link_.setHistory(&history_);
    if (!options.recordFile.isEmpty())
        startRecording(options.recordFile);
    buildLayout(options);
    FormCreate(scriptOwner, options.sheetDirectory);
}

// FormDestroy: the link with its signals, sockets and keep-alive, SheetLock and the
// two documents go with the window. MainScript stays with its owner.
TfMain::~TfMain() = default;

void TfMain::buildLayout(const StartOptions& options) {
    SetName("fMain");
    SetCaption("Konfidor");
    SetBorderStyle(Vcl::TFormBorderStyle::bsDialog);
    SetBorderIcons(Vcl::TBorderIcon::biSystemMenu);
    SetPosition(Vcl::TPosition::poScreenCenter);
    SetClientWidth(257);
    SetClientHeight(120);

    // Lies below the visible area and stays disabled: it builds a sheet from a stored
    // device configuration, for development without a device.
    button3_ = place<TButton>(this, this, "Button3", {8, 144, 113, 25});
    button3_->SetCaption("Create ");
    button3_->SetEnabled(false);
    button3_->SetTabOrder(0);
    bindClick(button3_, this, "Button3Click");

    bConnect_ = place<TButton>(this, this, "bConnect", {8, 88, 113, 25});
    bConnect_->SetCaption(Win1250::fromWide(u"Připojit"));
    bConnect_->SetDefault(true);
    bConnect_->SetTabOrder(1);
    bindClick(bConnect_, this, "bConnectClick");

    panel1_ = place<TPanel>(this, this, "Panel1", {8, 8, 241, 71});
    panel1_->SetTabOrder(2);

    lIPaddress_ = place<TLabel>(this, panel1_, "lIPaddress", {24, 17, 48, 13});
    lIPaddress_->SetCaption("IP adresa:");
    lPassword_ = place<TLabel>(this, panel1_, "lPassword", {24, 41, 30, 13});
    lPassword_->SetCaption("Heslo:");

    eAddress_ = place<TEdit>(this, panel1_, "eAddress", {96, 14, 121, 21});
    eAddress_->SetText(Win1250::fromWide(options.address));
    eAddress_->SetTabOrder(0);
    ePassword_ = place<TEdit>(this, panel1_, "ePassword", {96, 38, 121, 21});
    ePassword_->SetText(Win1250::fromWide(options.password));
    // Typing stops at ten characters; the password is shown in clear.
    ePassword_->SetMaxLength(10);
    ePassword_->SetPasswordChar(0);
    ePassword_->SetTabOrder(1);

    bClose_ = place<TButton>(this, this, "bClose", {136, 88, 113, 25});
    bClose_->SetCaption(Win1250::fromWide(u"Ukončit"));
    bClose_->SetTabOrder(3);
    bindClick(bClose_, this, "bCloseClick");

    BindEvent(this, "OnShow", FindPublishedMethod(this, "FormShow"));
    BindEvent(this, "OnClose", FindPublishedMethod(this, "FormClose"));
}

// Writes nothing to the log: the diagnostics window does not exist yet.
void TfMain::FormCreate(QObject* scriptOwner, const QString& sheetDirectory) {
    // Link starts cleared and the six signals clear: the device link was just made.
    MainScript = new TScript(*this, scriptObjects_, scriptOwner);
    // The ten widget classes sheets may name.
    RegisterSheetClasses();
    // The registry with SheetLock.
    sheets_ = std::make_unique<SheetSide>(
        SheetSide::Documents{XML_Device, XML_Sheet}, log_, *MainScript, sheetDirectory,
        [this](const TXMLDocument& document) {
            if (fDebug_)
                fDebug_->ShowDeviceXML(document);
        },
        [this](const TXMLDocument& document) {
            if (fDebug_)
                fDebug_->ShowSheetXML(document);
        },
        ApplyEnvironment{
            .LinkConnected = [this] { return link_.connected(); },
            .SendText =
                [this](const QByteArray& text) {
                    if (ClientSocket* connection = link_.link())
                        connection->sendText(text);
                },
            .Signals = link_.linkSignals(),
            .Dialogs = OperatorDialogs::current(),
            .ApplyInProgress = ApplyInProgress,
            .ReconnectRequested = reconnectRequested_,
            .Reconnect = [this] { link_.bConnectClick(); },
            .SaveFileName = saveFile_.isEmpty() ? DefaultSaveFileName() : saveFile_,
            .ReviewBeforeSend =
                [this] {
                    return !applyReview_ || applyReview_(sheets_->pendingChanges(received_.root()));
                },
            .KeepSent =
                [this](const QByteArray& document, ConfigurationHistory::Answer answer) {
                    history_.keepSent(document, addressText(), answer);
                    if (applyAnswerObserver_)
                        applyAnswerObserver_(answer);
                },
        });
    changes_ = std::make_unique<ChangesSource>(*sheets_, XML_Device, received_);
}

void TfMain::attachWindows(TfDebug* debugWindow, TfWaitDialog* waitDialog) {
    fDebug_ = debugWindow;
    fWaitDialog_ = waitDialog;
    fDebug_->changesPage()->setSource(changes_->pageSource());
    fDebug_->showRecordingFile(recording_ ? recording_->fileName() : QString());
    connect(fDebug_->cbRecord(), &QCheckBox::clicked, this, [this](bool on) {
        EntryGuard::guardEntry([&] { recordingSwitched(on); });
    });
}

void TfMain::startRecording(const QString& file) {
    recording_ = std::make_unique<SessionRecording>(
        file, [this](const QByteArray& text) { log_.LogError(text); });
    link_.setRecording(recording_.get());
}

void TfMain::recordingSwitched(bool on) {
    if (!on) {
        link_.setRecording(nullptr);
        recording_.reset();
        fDebug_->showRecordingFile({});
        log_.LogInfo("Zaznam komunikace ukoncen");
        return;
    }
    const QString file = OperatorDialogs::current().chooseFileToWrite(
        QStringLiteral("Záznam komunikace"), QStringLiteral("konfidor-zaznam.jsonl"));
    if (file.isEmpty()) {
        fDebug_->showRecordingFile({});
        return;
    }
    startRecording(file);
    fDebug_->showRecordingFile(file);
    log_.LogInfo(QStringLiteral("Zaznam komunikace do %1 od pristiho pripojeni").arg(file));
}

void TfMain::refreshChangesPage() {
    if (fDebug_)
        fDebug_->changesPage()->refreshLater();
}

void TfMain::FormShow(QObject*) {
    if (debugSwitch_ && fDebug_)
        fDebug_->showAndRaise();
    log_.LogInfo("Start aplikace");
}

void TfMain::FormClose(QObject*) {
    // The window is closing whatever happens here: the program ends even when the
    // sheet's disconnection script fails (its error still reaches the error box).
    const auto endProgram = qScopeGuard([this] { emit mainWindowClosed(); });
    // An open connection is closed first, which runs the disconnection handling.
    if (ClientSocket* socket = link_.clientSocket(); socket && socket->active()) {
        socket->close();
        socket->release();
    }
}

void TfMain::bConnectClick(QObject*) {
    link_.bConnectClick();
}

void TfMain::bCloseClick(QObject*) {
    Close();
}

// The hidden test button loads the configuration stored next to the program.
void TfMain::Button3Click(QObject*) {
    LoadOffline(QStringLiteral("x.xm"));
}

void TfMain::LoadOffline(const QString& fileName) {
    reloadDeviceDocument(fileName);
    LoadSheet();
}

void TfMain::Action1Execute() {
    if (fDebug_)
        fDebug_->showAndRaise();
}

void TfMain::CancelConnect() {
    link_.CancelConnect();
}

// The one call site of the sheets code's LoadSheet.
void TfMain::LoadSheet() {
    const auto announce = qScopeGuard([this] {
        refreshChangesPage();
        emit sheetLoaded();
    });
    sheets_->LoadSheet();
}

void TfMain::SetControlsEnabled(std::initializer_list<QObject*> controls, bool value) {
    for (QObject* control : controls)
        SetPropValue(control, "Enabled", Variant::fromBool(value));
}

void TfMain::showMainWindow() {
    Show();
}

void TfMain::hideMainWindow() {
    Hide();
}

void TfMain::showWaitDialog() {
    if (fWaitDialog_)
        fWaitDialog_->Show();
}

void TfMain::closeWaitDialog() {
    if (fWaitDialog_)
        fWaitDialog_->Close();
}

void TfMain::setConnectionControlsEnabled(bool enabled) {
    SetControlsEnabled({lIPaddress_, eAddress_, lPassword_, ePassword_, bConnect_, bClose_},
                       enabled);
}

void TfMain::setScreenCursor(int cursor) {
    if (cursor == screenCursor_)
        return;
    if (screenCursor_ != 0)
        QGuiApplication::restoreOverrideCursor();
    if (cursor != 0)
        QGuiApplication::setOverrideCursor(QCursor(Cursors::toQt(cursor)));
    screenCursor_ = cursor;
}

QString TfMain::addressText() const {
    return Win1250::toWide(eAddress_->Text());
}

QString TfMain::passwordText() const {
    return Win1250::toWide(ePassword_->Text());
}

void TfMain::RestoreConfiguration(const QString& file) {
    XML_Device.loadFromFile(file);
    sheets_->SendDeviceDocument();
}

void TfMain::reloadDeviceDocument(const QString& fileName) {
    QFile received(fileName);
    received_.take(received.open(QIODevice::ReadOnly) ? received.readAll() : QByteArray());
    XML_Device.setActive(false);
    XML_Device.setFileName(fileName);
    XML_Device.setActive(true);
}

void TfMain::runScript(const QByteArray& text) {
    MainScript->Run(text);
}

void TfMain::showNotice(const QString& text) {
    OperatorDialogs::current().showNotice(text);
}

void TfMain::logComm(const QString& text, quint32 colour) {
    log_.LogComm(colour, text);
}

QObject* TfMain::FindSheetComponent(const QByteArray& name) {
    return sheets_->FindSheetComponent(name);
}

bool TfMain::UnregisterSheetComponent(QObject* component) {
    return sheets_->UnregisterSheetComponent(component);
}

void TfMain::DestroySheetComponents() {
    sheets_->DestroySheetComponents();
}

void TfMain::ApplySettings() {
    const auto refresh = qScopeGuard([this] { refreshChangesPage(); });
    sheets_->ApplySettings();
}

void TfMain::Disconnect() {
    if (ClientSocket* socket = link_.clientSocket(); socket && socket->active())
        socket->close();
}

void TfMain::Connect(QObject*) {
    link_.bConnectClick();
}

void TfMain::AddScriptFunction(const QByteArray& name, TSMethod* method) {
    log_.addScriptFunction(name, [method] { return method->GetBody(); });
}

void TfMain::LogColor(std::uint32_t colour, const QByteArray& text) {
    log_.LogColor(colour, text);
}

#pragma once

#include "app/ChangesSource.h"
#include "app/ReceivedConfiguration.h"
#include "app/SheetSide.h"
#include "app/StartOptions.h"
#include "link/ConfigurationHistory.h"
#include "link/DeviceLink.h"
#include "link/SessionRecording.h"
#include "link/LinkHost.h"
#include "platform/widgets/Form.h"
#include "platform/xml/TXMLDocument.h"
#include "script/ComponentObjects.h"
#include "script/ScriptHost.h"

#include <initializer_list>
#include <memory>

class DiagnosticLog;
class TButton;
class TEdit;
class TLabel;
class TPanel;
class TScript;
class TfDebug;
class TfWaitDialog;

// The main window: the connection window the operator types the device's address
// and password into. It also holds the state of the device link and of the current
// sheet, and it is the host both the link and MainScript act through.
class TfMain : public TForm, public LinkHost, public ScriptHost {
    Q_OBJECT
public:
    // `scriptOwner` owns MainScript and outlives the window (the program does).
    TfMain(const StartOptions& options, DiagnosticLog& log, QObject* scriptOwner);
    ~TfMain() override;

    // The windows created after the main window; the program hands them over at once.
    void attachWindows(TfDebug* debugWindow, TfWaitDialog* waitDialog);

    // Window events and handlers.
    Q_INVOKABLE void FormShow(QObject* sender);
    Q_INVOKABLE void FormClose(QObject* sender);
    Q_INVOKABLE void bConnectClick(QObject* sender);
    Q_INVOKABLE void bCloseClick(QObject* sender);
    Q_INVOKABLE void Button3Click(QObject* sender);
    // The diagnostics shortcut Ctrl+Alt+D.
    void Action1Execute();
    // "Zrušit" of the wait dialog.
    void CancelConnect();
    // Builds the sheet that matches XML_Device.
    void LoadSheet();
    // Loads a stored device configuration into XML_Device and builds its sheet, as
    // if the device had sent it. Raises when the file does not load.
    void LoadOffline(const QString& fileName);
    // Shown what each "Set" has written differently from the configuration the
    // device sent, before it sends or saves; false stops the "Set" there.
    using ApplyReview = std::function<bool(const std::vector<SettingChange>& changes)>;
    void setApplyReview(ApplyReview review) { applyReview_ = std::move(review); }
    // Told how the device answered each document "Set" sent.
    using ApplyAnswerObserver = std::function<void(ConfigurationHistory::Answer answer)>;
    void setApplyAnswerObserver(ApplyAnswerObserver observer) {
        applyAnswerObserver_ = std::move(observer);
    }
    // The configuration as the device last sent it (or its file held it); no node
    // when there is none.
    IXMLNode receivedConfiguration() { return received_.root(); }
    // Makes the stored configuration `file` the device document and sends it as
    // "Set" sends one, waiting for the device's confirmation and asking as "Set" does.
    void RestoreConfiguration(const QString& file);
    // Sets the property Enabled of each control, in list order.
    static void SetControlsEnabled(std::initializer_list<QObject*> controls, bool value);

    // LinkHost
    void showMainWindow() override;
    void hideMainWindow() override;
    void showWaitDialog() override;
    void closeWaitDialog() override;
    void setConnectionControlsEnabled(bool enabled) override;
    int screenCursor() const override { return screenCursor_; }
    void setScreenCursor(int cursor) override;
    QString addressText() const override;
    QString passwordText() const override;
    bool applyInProgress() const override { return ApplyInProgress; }
    void setApplyInProgress(bool inProgress) override { ApplyInProgress = inProgress; }
    void reloadDeviceDocument(const QString& fileName) override;
    void loadSheet() override { LoadSheet(); }
    void runScript(const QByteArray& text) override;
    void showNotice(const QString& text) override;
    void logComm(const QString& text, quint32 colour) override;

    // ScriptHost
    QObject* FindSheetComponent(const QByteArray& name) override;
    bool UnregisterSheetComponent(QObject* component) override;
    void DestroySheetComponents() override;
    void ApplySettings() override;
    void Disconnect() override;
    void Connect(QObject* sender) override;
    void ShowMainWindow() override { showMainWindow(); }
    void HideMainWindow() override { hideMainWindow(); }
    void CloseWaitDialog() override { closeWaitDialog(); }
    bool ReconnectRequested() const override { return reconnectRequested_; }
    void ClearReconnectRequested() override { reconnectRequested_ = false; }
    void AddScriptFunction(const QByteArray& name, TSMethod* method) override;
    void LogColor(std::uint32_t colour, const QByteArray& text) override;
    void ShowMessage(const QString& text) override { showNotice(text); }

    // The controls, named as in the layout.
    TButton* Button3() const { return button3_; }
    TButton* bConnect() const { return bConnect_; }
    TPanel* Panel1() const { return panel1_; }
    TLabel* lIPaddress() const { return lIPaddress_; }
    TLabel* lPassword() const { return lPassword_; }
    TEdit* eAddress() const { return eAddress_; }
    TEdit* ePassword() const { return ePassword_; }
    TButton* bClose() const { return bClose_; }

    DeviceLink& link() { return link_; }
    TScript& mainScript() const { return *MainScript; }
    TXMLDocument& xmlDevice() { return XML_Device; }
    TXMLDocument& xmlSheet() { return XML_Sheet; }
    SheetSide& sheets() { return *sheets_; }

    // Set while ApplySettings runs; the receive handler drops blocks meanwhile.
    bool ApplyInProgress = false;

signals:
    // The main window was closed: the program ends.
    void mainWindowClosed();
    // LoadSheet has run for a device configuration (whether a sheet matched or not).
    void sheetLoaded();

private:
    void buildLayout(const StartOptions& options);
    void FormCreate(QObject* scriptOwner, const QString& sheetDirectory);
    void refreshChangesPage();
    // The diagnostics window's recording switch was clicked: on asks the operator for
    // the file and records from the next connection on; off stops the recording.
    void recordingSwitched(bool on);
    void startRecording(const QString& file);

    DiagnosticLog& log_;
    const bool debugSwitch_;
    const QString saveFile_;
    TfDebug* fDebug_ = nullptr;
    TfWaitDialog* fWaitDialog_ = nullptr;

    TButton* button3_ = nullptr;
    TButton* bConnect_ = nullptr;
    TPanel* panel1_ = nullptr;
    TEdit* eAddress_ = nullptr;
    TEdit* ePassword_ = nullptr;
    TLabel* lIPaddress_ = nullptr;
    TLabel* lPassword_ = nullptr;
    TButton* bClose_ = nullptr;

    TXMLDocument XML_Sheet;
    TXMLDocument XML_Device;
    ComponentObjects scriptObjects_;
    TScript* MainScript = nullptr;
    // LoadSheet and the registry with SheetLock.
    std::unique_ptr<SheetSide> sheets_;
    ApplyReview applyReview_;
    ApplyAnswerObserver applyAnswerObserver_;
    ReceivedConfiguration received_;
    // What the diagnostics window's "Změny" page lists and saves.
    std::unique_ptr<ChangesSource> changes_;
    // Every configuration received and sent, kept for support.
    ConfigurationHistory history_;
    // Every byte of the device connections, for support; none without --record.
    std::unique_ptr<SessionRecording> recording_;
        // The device link: Link, ClientSocket, RxBuffer, the six signals and Timer1.
    DeviceLink link_;
    bool reconnectRequested_ = false;
    int screenCursor_ = 0;
};

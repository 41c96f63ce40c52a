#pragma once

#include "platform/xml/IXMLNode.h"

#include <QWidget>
#include <memory>

class ChangesPage;
class QCheckBox;
class QLabel;
class CommunicationLogView;
class DiagnosticLog;
class EventLogModel;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TXMLDocument;

// The diagnostics window: the event log with the raw text of the clicked entry,
// the script functions with the body of the clicked one, the communication log,
// the device and sheet documents as trees, and the settings "Set" would change. It only shows what the
// DiagnosticLog holds, so logging works the same whether the window is open,
// closed or never shown. Closing it only hides it.
class TfDebug : public QWidget {
    Q_OBJECT
public:
    explicit TfDebug(const DiagnosticLog& log, QWidget* parent = nullptr);
    ~TfDebug() override;

    // Makes the window visible without making it modal; a visible one comes to the front.
    void showAndRaise();

    // Shows a document in the "Device XML" or "Sheet XML" tree, replacing what was
    // there; an inactive document empties the tree. The items are made once the tree
    // is shown (or catchUp runs): a configuration of a hundred thousand elements
    // costs hundreds of megabytes of items that nobody may look at.
    void ShowDeviceXML(const TXMLDocument& document);
    void ShowSheetXML(const TXMLDocument& document);
    // The same for trees built by XmlTreeItems::build from any node type;
    // nullptr just empties the tree.
    void ShowDeviceXML(std::unique_ptr<QTreeWidgetItem> documentTree);
    void ShowSheetXML(std::unique_ptr<QTreeWidgetItem> documentTree);

    // The window's controls, named as in the layout.
    QTabWidget* PageControl1() const { return pageControl_; }
    QListView* LogListBox() const { return logListBox_; }
    QPlainTextEdit* Memo1() const { return memo1_; }
    QSplitter* LogSplitter() const { return logSplitter_; }
    QListWidget* lbScriptFunctions() const { return lbScriptFunctions_; }
    QPlainTextEdit* mScriptFunctionsView() const { return mScriptFunctionsView_; }
    CommunicationLogView* reCommunication() const { return reCommunication_; }
    QTreeWidget* VSTDeviceXML() const { return vstDeviceXml_; }
    QTreeWidget* VSTSheetXML() const { return vstSheetXml_; }
    EventLogModel* logModel() const { return logModel_; }
    ChangesPage* changesPage() const { return changesPage_; }
    // The recording switch on the first page: the program acts on its clicks.
    QCheckBox* cbRecord() const { return cbRecord_; }

    // Shows the switch on with the file being recorded into, or off for none.
    void showRecordingFile(const QString& file);

    // Shows everything logged so far, and the documents, at once, without waiting for
    // the message loop or for the views to be shown.
    void catchUp();

private:
    QWidget* buildLogTab();
    QWidget* buildScriptFunctionsTab();
    QWidget* buildCommunicationTab();
    QWidget* buildXmlTab(QTreeWidget*& tree);

    void LogListBoxClick();
    void lbScriptFunctionsClick();
    void addPendingScriptFunctions();

    const DiagnosticLog& log_;
    EventLogModel* logModel_ = nullptr;
    QTabWidget* pageControl_ = nullptr;
    QListView* logListBox_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QSplitter* logSplitter_ = nullptr;
    QListWidget* lbScriptFunctions_ = nullptr;
    QPlainTextEdit* mScriptFunctionsView_ = nullptr;
    CommunicationLogView* reCommunication_ = nullptr;
    QTreeWidget* vstDeviceXml_ = nullptr;
    QTreeWidget* vstSheetXml_ = nullptr;
    ChangesPage* changesPage_ = nullptr;
    QCheckBox* cbRecord_ = nullptr;
    QLabel* lRecordFile_ = nullptr;

    // A document's element waiting for its tree to be shown.
    struct PendingTree {
        QTreeWidget* tree = nullptr;
        IXMLNode element;
    };
    void showLater(PendingTree& pending, const TXMLDocument& document);
    static void showPending(PendingTree& pending);
    bool eventFilter(QObject* watched, QEvent* event) override;
    PendingTree pendingDevice_;
    PendingTree pendingSheet_;
};

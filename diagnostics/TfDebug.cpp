#include "diagnostics/TfDebug.h"

#include "diagnostics/ChangesPage.h"
#include "diagnostics/CommunicationLogView.h"
#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/EventLogDelegate.h"
#include "diagnostics/EventLogModel.h"
#include "diagnostics/XmlDocumentTree.h"
#include "diagnostics/XmlTreeItems.h"
#include "platform/EntryGuard.h"
#include "platform/Win1250.h"
#include "platform/xml/TXMLDocument.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QSplitter>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int kScriptFunctionRowHeight = 13;
constexpr int kCommunicationTab = 2;

// Empties a tree without letting a deep document recurse in item destructors.
void clearTree(QTreeWidget* tree) {
    for (QTreeWidgetItem* item : tree->invisibleRootItem()->takeChildren())
        XmlTreeItems::release(std::unique_ptr<QTreeWidgetItem>(item));
}

void replaceTree(QTreeWidget* tree, std::unique_ptr<QTreeWidgetItem> documentTree) {
    clearTree(tree);
    if (!documentTree)
        return;
    QTreeWidgetItem* top = documentTree.release();
    tree->addTopLevelItem(top);
    top->setExpanded(true);
}

// Narrower tab padding than the style's own, so that all six tabs fit the
// window's width without scroll buttons.
class CompactTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return 9;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TfDebug::TfDebug(const DiagnosticLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      log_(log) {
    setObjectName(QStringLiteral("fDebug"));
    setWindowTitle(QStringLiteral("Debug"));
    setFixedSize(409, 522);
    move(598, 131);
    // Closing the diagnostics window hides it; it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    pageControl_ = new QTabWidget(this);
    auto* tabStyle = new CompactTabStyle(QStyleFactory::create(style()->name()));
    tabStyle->setParent(pageControl_);
    pageControl_->tabBar()->setStyle(tabStyle);
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->setGeometry(8, 8, 393, 505);
    pageControl_->addTab(buildLogTab(), QStringLiteral("Log"));
    pageControl_->addTab(buildScriptFunctionsTab(), QStringLiteral("ScriptFunctions"));
    pageControl_->addTab(buildCommunicationTab(), QStringLiteral("Communication"));
    pageControl_->addTab(buildXmlTab(vstDeviceXml_), QStringLiteral("Device XML"));
    pageControl_->addTab(buildXmlTab(vstSheetXml_), QStringLiteral("Sheet XML"));
    changesPage_ = new ChangesPage;
    pageControl_->addTab(changesPage_, QStringLiteral("Změny"));
    vstDeviceXml_->setObjectName(QStringLiteral("VSTDeviceXML"));
    vstSheetXml_->setObjectName(QStringLiteral("VSTSheetXML"));
    pendingDevice_.tree = vstDeviceXml_;
    pendingSheet_.tree = vstSheetXml_;
    vstDeviceXml_->installEventFilter(this);
    vstSheetXml_->installEventFilter(this);
    pageControl_->setCurrentIndex(kCommunicationTab);

    connect(&log, &DiagnosticLog::scriptFunctionsGrew, this,
            [this] { EntryGuard::guardEntry([this] { addPendingScriptFunctions(); }); });
    addPendingScriptFunctions();
}

TfDebug::~TfDebug() {
    clearTree(vstDeviceXml_);
    clearTree(vstSheetXml_);
}

QWidget* TfDebug::buildLogTab() {
    auto* tab = new QWidget;
    auto* panel = new QWidget(tab);
    panel->setGeometry(0, 0, 385, 449);

    logModel_ = new EventLogModel(log_, this);
    logListBox_ = new QListView;
    logListBox_->setObjectName(QStringLiteral("LogListBox"));
    logListBox_->setModel(logModel_);
    logListBox_->setItemDelegate(new EventLogDelegate(logListBox_));
    logListBox_->setUniformItemSizes(true);
    logListBox_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    logListBox_->setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on the current entry shows it again, e.g. after the memo was edited.
    const auto click = [this] {
        EntryGuard::guardEntry([this] { LogListBoxClick(); });
    };
    connect(logListBox_->selectionModel(), &QItemSelectionModel::currentChanged, this, click);
    connect(logListBox_, &QListView::clicked, this, click);

    memo1_ = new QPlainTextEdit;
    memo1_->setObjectName(QStringLiteral("Memo1"));

    logSplitter_ = new QSplitter(Qt::Vertical);
    logSplitter_->setObjectName(QStringLiteral("Splitter1"));
    logSplitter_->setHandleWidth(3);
    logSplitter_->setChildrenCollapsible(false);
    logSplitter_->addWidget(logListBox_);
    logSplitter_->addWidget(memo1_);
    // The list takes what the memo leaves; the memo keeps its height when the panel changes.
    logSplitter_->setStretchFactor(0, 1);
    logSplitter_->setStretchFactor(1, 0);
    logSplitter_->setSizes({397, 49});

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(logSplitter_);

    cbRecord_ = new QCheckBox(QStringLiteral("Zaznamenávat komunikaci"), tab);
    cbRecord_->setObjectName(QStringLiteral("cbRecord"));
    cbRecord_->setToolTip(QStringLiteral(
        "Od příštího připojení zapisuje do zvoleného souboru vše, co se zařízením přijde "
        "a odejde, pro podporu (heslo se nezapisuje)."));
    cbRecord_->setGeometry(4, 453, 165, 20);
    lRecordFile_ = new QLabel(tab);
    lRecordFile_->setObjectName(QStringLiteral("lRecordFile"));
    lRecordFile_->setGeometry(172, 453, 209, 20);
    return tab;
}

void TfDebug::showRecordingFile(const QString& file) {
    cbRecord_->setChecked(!file.isEmpty());
    const QString name = QFileInfo(file).fileName();
    lRecordFile_->setText(
        lRecordFile_->fontMetrics().elidedText(name, Qt::ElideMiddle, lRecordFile_->width()));
    lRecordFile_->setToolTip(file);
}

QWidget* TfDebug::buildScriptFunctionsTab() {
    auto* tab = new QWidget;
    lbScriptFunctions_ = new QListWidget(tab);
    lbScriptFunctions_->setObjectName(QStringLiteral("lbScriptFunctions"));
    lbScriptFunctions_->setGeometry(8, 8, 369, 129);
    lbScriptFunctions_->setUniformItemSizes(true);
    connect(lbScriptFunctions_, &QListWidget::currentRowChanged, this,
            [this] { EntryGuard::guardEntry([this] { lbScriptFunctionsClick(); }); });

    mScriptFunctionsView_ = new QPlainTextEdit(tab);
    mScriptFunctionsView_->setObjectName(QStringLiteral("mScriptFunctionsView"));
    mScriptFunctionsView_->setGeometry(8, 144, 369, 329);
    return tab;
}

QWidget* TfDebug::buildCommunicationTab() {
    auto* tab = new QWidget;
    reCommunication_ = new CommunicationLogView(log_, tab);
    reCommunication_->setObjectName(QStringLiteral("reCommunication"));
    reCommunication_->setGeometry(8, 8, 369, 457);
    return tab;
}

QWidget* TfDebug::buildXmlTab(QTreeWidget*& tree) {
    auto* tab = new QWidget;
    tree = new QTreeWidget;
    tree->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    tree->setUniformRowHeights(true);
    tree->header()->setSectionsMovable(true);
    tree->header()->setStretchLastSection(true);
    tree->header()->resizeSection(0, 200);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
    return tab;
}

void TfDebug::showAndRaise() {
    catchUp();
    show();
    raise();
    activateWindow();
}

void TfDebug::catchUp() {
    logModel_->publishPending();
    reCommunication_->showPending();
    showPending(pendingDevice_);
    showPending(pendingSheet_);
}

void TfDebug::ShowDeviceXML(std::unique_ptr<QTreeWidgetItem> documentTree) {
    pendingDevice_.element = IXMLNode();
    replaceTree(vstDeviceXml_, std::move(documentTree));
}

void TfDebug::ShowSheetXML(std::unique_ptr<QTreeWidgetItem> documentTree) {
    pendingSheet_.element = IXMLNode();
    replaceTree(vstSheetXml_, std::move(documentTree));
}

void TfDebug::ShowDeviceXML(const TXMLDocument& document) {
    showLater(pendingDevice_, document);
}

void TfDebug::ShowSheetXML(const TXMLDocument& document) {
    showLater(pendingSheet_, document);
}

void TfDebug::showLater(PendingTree& pending, const TXMLDocument& document) {
    clearTree(pending.tree);
    pending.element = document.active() ? document.documentElement() : IXMLNode();
    if (pending.tree->isVisible())
        showPending(pending);
}

void TfDebug::showPending(PendingTree& pending) {
    if (pending.element.isNull())
        return;
    replaceTree(pending.tree, xmlElementTree(std::exchange(pending.element, IXMLNode())));
}

bool TfDebug::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        EntryGuard::guardEntry([&] {
            showPending(watched == vstDeviceXml_ ? pendingDevice_ : pendingSheet_);
        });
    }
    return QWidget::eventFilter(watched, event);
}

void TfDebug::LogListBoxClick() {
    const QModelIndex current = logListBox_->currentIndex();
    if (!current.isValid())
        return;
    memo1_->setPlainText(Win1250::toWide(log_.eventEntry(current.row())));
}

void TfDebug::lbScriptFunctionsClick() {
    mScriptFunctionsView_->clear();
    const int row = lbScriptFunctions_->currentRow();
    if (row < 0)
        return;
    mScriptFunctionsView_->setPlainText(Win1250::toWide(log_.scriptFunctionBody(row)));
}

void TfDebug::addPendingScriptFunctions() {
    for (qsizetype i = lbScriptFunctions_->count(); i < log_.scriptFunctionCount(); ++i) {
        auto* item = new QListWidgetItem(Win1250::toWide(log_.scriptFunctionName(i)));
        item->setSizeHint(QSize(0, kScriptFunctionRowHeight));
        lbScriptFunctions_->addItem(item);
    }
}

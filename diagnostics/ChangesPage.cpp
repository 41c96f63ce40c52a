#include "diagnostics/ChangesPage.h"

#include "platform/EntryGuard.h"
#include "platform/Error.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

enum Column { SettingColumn, BeforeColumn, NowColumn, WidgetColumn };

const QString MissingValue = QStringLiteral("(chybí)");
const QString FileFilter = QStringLiteral("Konfigurace (*.xml *.xm);;Všechny soubory (*)");
const QColor ChangedBackground(255, 240, 190);
const QColor MissingText(128, 128, 128);

void setValue(QTreeWidgetItem& item, int column, const std::optional<QString>& value) {
    item.setText(column, value.value_or(MissingValue));
    if (value) {
        // The column elides long values; the tool tip holds the whole text.
        item.setToolTip(column, *value);
        return;
    }
    QFont font = item.font(column);
    font.setItalic(true);
    item.setFont(column, font);
    item.setForeground(column, MissingText);
}

QTreeWidgetItem* rowItem(const SettingState& state) {
    auto* item = new QTreeWidgetItem;
    item->setText(SettingColumn, state.setting);
    setValue(*item, BeforeColumn, state.before);
    setValue(*item, NowColumn, state.now);
    item->setText(WidgetColumn, state.widget);
    if (state.changed()) {
        for (int column = SettingColumn; column <= WidgetColumn; ++column) {
            QFont font = item->font(column);
            font.setBold(true);
            item->setFont(column, font);
            item->setBackground(column, ChangedBackground);
        }
    }
    return item;
}

// What may change a value in another window: the operator's keys, buttons and
// wheel, and a window coming up (a sheet's window, shown once it is built).
bool mayChangeValues(const QObject* watched, const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
        return true;
    case QEvent::Show:
        return static_cast<const QWidget*>(watched)->isWindow();
    default:
        return false;
    }
}

} // namespace

ChangesPage::ChangesPage(QWidget* parent) : QWidget(parent), refresh_(this, [this] { refresh(); }) {
    setObjectName(QStringLiteral("ChangesPage"));

    table_ = new QTreeWidget;
    table_->setObjectName(QStringLiteral("ChangesTable"));
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setHeaderLabels({QStringLiteral("Nastavení"), QStringLiteral("Ze zařízení"),
                             QStringLiteral("Nyní"), QStringLiteral("Prvek")});
    table_->header()->resizeSection(SettingColumn, 100);
    table_->header()->resizeSection(BeforeColumn, 88);
    table_->header()->resizeSection(NowColumn, 88);
    // Long values are elided; the widget's name takes what is left.
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    emptyText_ = new QLabel;
    emptyText_->setObjectName(QStringLiteral("ChangesEmptyText"));
    emptyText_->setAlignment(Qt::AlignCenter);
    emptyText_->setWordWrap(true);
    emptyText_->setMargin(16);

    views_ = new QStackedWidget;
    views_->addWidget(table_);
    views_->addWidget(emptyText_);

    onlyChanges_ = new QCheckBox(QStringLiteral("Jen změny"));
    onlyChanges_->setChecked(true);
    connect(onlyChanges_, &QCheckBox::toggled, this,
            [this] { EntryGuard::guardEntry([this] { refresh(); }); });
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("ChangesStatus"));
    status_->setWordWrap(true);

    auto* save = new QPushButton(QStringLiteral("Uložit konfiguraci…"));
    save->setToolTip(QStringLiteral("Uloží konfiguraci s hodnotami, které by teď odeslal Set."));
    connect(save, &QPushButton::clicked, this,
            [this] { EntryGuard::guardEntry([this] { pickFileToSave(); }); });
    auto* compare = new QPushButton(QStringLiteral("Porovnat se souborem…"));
    connect(compare, &QPushButton::clicked, this,
            [this] { EntryGuard::guardEntry([this] { pickFileToCompare(); }); });
    compareWithDevice_ = new QPushButton(QStringLiteral("Se zařízením"));
    compareWithDevice_->setToolTip(
        QStringLiteral("Porovná znovu s konfigurací, kterou poslalo zařízení."));
    compareWithDevice_->setEnabled(false);
    connect(compareWithDevice_, &QPushButton::clicked, this,
            [this] { EntryGuard::guardEntry([this] { compareWith(QString()); }); });

    auto* options = new QHBoxLayout;
    options->addWidget(onlyChanges_);
    options->addWidget(status_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(compare);
    buttons->addWidget(compareWithDevice_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(views_, 1);
    layout->addLayout(options);
    layout->addLayout(buttons);
}

void ChangesPage::setSource(Source source) {
    source_ = std::move(source);
    refreshLater();
}

void ChangesPage::refreshLater() {
    documentChanged_ = true;
    if (isVisible())
        refresh_.request();
}

void ChangesPage::refresh() {
    refresh_.markDone();
    table_->headerItem()->setText(BeforeColumn, storedFile_.isEmpty()
                                                    ? QStringLiteral("Ze zařízení")
                                                    : QStringLiteral("V souboru"));
    compareWithDevice_->setEnabled(!storedFile_.isEmpty());
    std::vector<SettingState> rows;
    try {
        if (source_.rows)
            rows = source_.rows(storedFile_, std::exchange(documentChanged_, false));
    } catch (const Error& e) {
        table_->clear();
        emptyText_->setText(e.message());
        views_->setCurrentWidget(emptyText_);
        status_->clear();
        return;
    }
    showRows(rows);
}

void ChangesPage::showRows(const std::vector<SettingState>& rows) {
    const bool onlyChanges = onlyChanges_->isChecked();
    QList<QTreeWidgetItem*> items;
    qsizetype changed = 0;
    for (const SettingState& row : rows) {
        changed += row.changed() ? 1 : 0;
        if (!onlyChanges || row.changed())
            items.append(rowItem(row));
    }
    // The view keeps its place in the list across refreshes.
    const int scrolled = table_->verticalScrollBar()->value();
    table_->clear();
    table_->addTopLevelItems(items);
    table_->verticalScrollBar()->setValue(scrolled);

    const QString fileName = QFileInfo(storedFile_).fileName();
    if (!items.isEmpty()) {
        views_->setCurrentWidget(table_);
    } else if (changed == 0) {
        emptyText_->setText(storedFile_.isEmpty()
                                ? QStringLiteral("Žádné změny: všechny hodnoty jsou stejné jako "
                                                 "v konfiguraci ze zařízení.")
                                : QStringLiteral("Žádné rozdíly proti souboru %1.").arg(fileName));
        views_->setCurrentWidget(emptyText_);
    }
    status_->setText(
        storedFile_.isEmpty()
            ? QStringLiteral("Změněno %1 z %2 nastavení.").arg(changed).arg(rows.size())
            : QStringLiteral("%1: jinak %2 z %3 nastavení.")
                  .arg(fileName)
                  .arg(changed)
                  .arg(rows.size()));
}

QWidget* ChangesPage::shownView() const {
    return views_->currentWidget();
}

void ChangesPage::saveConfiguration(const QString& file) {
    try {
        if (source_.save)
            source_.save(file);
        status_->setText(QStringLiteral("Konfigurace uložena do %1.").arg(file));
    } catch (const Error& e) {
        status_->setText(QStringLiteral("Konfiguraci nelze uložit: %1").arg(e.message()));
    }
}

void ChangesPage::compareWith(const QString& storedFile) {
    storedFile_ = storedFile;
    documentChanged_ = true;
    refresh();
}

void ChangesPage::pickFileToSave() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit konfiguraci"),
                                                      QString(), FileFilter);
    if (!file.isEmpty())
        saveConfiguration(file);
}

void ChangesPage::pickFileToCompare() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Porovnat s uloženou konfigurací"), QString(), FileFilter);
    if (!file.isEmpty())
        compareWith(file);
}

void ChangesPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    EntryGuard::guardEntry([this] {
        qApp->installEventFilter(this);
        // The document may have changed while the page was hidden.
        documentChanged_ = true;
        refresh();
    });
}

void ChangesPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    qApp->removeEventFilter(this);
}

bool ChangesPage::eventFilter(QObject* watched, QEvent* event) {
    EntryGuard::guardEntry([&] {
        if (watched->isWidgetType() && mayChangeValues(watched, event) &&
            static_cast<QWidget*>(watched)->window() != window())
            refresh_.request();
    });
    return QWidget::eventFilter(watched, event);
}

#pragma once

#include "diagnostics/CoalescedCall.h"
#include "diagnostics/SettingState.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

// The diagnostics window's "Změny" page: every setting the sheet's widgets bind,
// as the device sent it (or as a stored file holds it) and as "Set" would write it
// now, with the widget's name; changed rows stand out. It follows the operator's
// edits: a key or mouse button released in another window, or a window shown,
// asks for one refresh, run from the message loop however many came before it,
// and only while the page is shown. Hidden, it costs nothing; shown again, it refreshes at once.
class ChangesPage : public QWidget {
public:
    // What the page shows and does; the main window provides it. Each raises
    // Error with the text to show when it cannot do its job.
    struct Source {
        // The rows against the configuration the device sent, or, for a file name,
        // against that stored configuration. Without `documentChanged` only the
        // widgets' values may have changed since the last call.
        std::function<std::vector<SettingState>(const QString& storedFile, bool documentChanged)>
            rows;
        // Writes the configuration as "Set" would send it now.
        std::function<void(const QString& file)> save;
    };

    explicit ChangesPage(QWidget* parent = nullptr);

    void setSource(Source source);
    // The device document changed: asks for a refresh, which a hidden page leaves
    // for when it is shown.
    void refreshLater();

    // What the buttons do once the operator has picked a file.
    void saveConfiguration(const QString& file);
    // An empty name compares with the configuration the device sent again.
    void compareWith(const QString& storedFile);

    QTreeWidget* table() const { return table_; }
    QLabel* emptyText() const { return emptyText_; }
    QLabel* status() const { return status_; }
    QCheckBox* onlyChanges() const { return onlyChanges_; }
    // The table when it has rows to show, else the empty text.
    QWidget* shownView() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showRows(const std::vector<SettingState>& rows);
    void pickFileToSave();
    void pickFileToCompare();

    Source source_;
    QString storedFile_;
    bool documentChanged_ = true;
    CoalescedCall refresh_;
    QStackedWidget* views_ = nullptr;
    QTreeWidget* table_ = nullptr;
    QLabel* emptyText_ = nullptr;
    QCheckBox* onlyChanges_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* compareWithDevice_ = nullptr;
};

#pragma once

#include "diagnostics/CoalescedCall.h"

#include <QAbstractListModel>

class DiagnosticLog;

// The event log as a list model for the log list. It shows the log's entries in
// batches: appends are collected and announced to the view together once the
// message loop runs again, so a burst of thousands of entries costs one insert
// and one relayout instead of one per entry.
class EventLogModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The stored 8-bit entry (QByteArray), for the item delegate.
    static constexpr int StoredEntryRole = Qt::UserRole + 1;

    explicit EventLogModel(const DiagnosticLog& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Announces every entry appended since the last batch; runs by itself from
    // the message loop.
    void publishPending();

private:
    const DiagnosticLog& log_;
    qsizetype published_ = 0;
    CoalescedCall publishLater_;
};

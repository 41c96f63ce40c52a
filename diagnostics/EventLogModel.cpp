#include "diagnostics/EventLogModel.h"

#include "diagnostics/DiagnosticLog.h"
#include "platform/Win1250.h"

#include <QMetaObject>
#include <limits>

EventLogModel::EventLogModel(const DiagnosticLog& log, QObject* parent)
    : QAbstractListModel(parent), log_(log), publishLater_(this, [this] { publishPending(); }) {
    connect(&log, &DiagnosticLog::eventLogGrew, this, [this] { publishLater_.request(); });
    published_ = log.eventCount();
}

int EventLogModel::rowCount(const QModelIndex& parent) const {
    // Qt's views count rows in int; a log beyond that shows its first 2^31 - 1 entries.
    if (parent.isValid())
        return 0;
    return static_cast<int>(std::min<qsizetype>(published_, std::numeric_limits<int>::max()));
}

QVariant EventLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case StoredEntryRole:
        return log_.eventEntry(index.row());
    case Qt::DisplayRole:
        return Win1250::toWide(log_.eventEntry(index.row()));
    default:
        return {};
    }
}

void EventLogModel::publishPending() {
    publishLater_.markDone();
    const qsizetype available =
        std::min<qsizetype>(log_.eventCount(), std::numeric_limits<int>::max());
    if (available <= published_)
        return;
    beginInsertRows({}, static_cast<int>(published_), static_cast<int>(available - 1));
    published_ = available;
    endInsertRows();
}

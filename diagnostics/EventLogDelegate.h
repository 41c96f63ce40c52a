#pragma once

#include <QAbstractItemDelegate>

// Draws one event log entry: the whole row on the colour of the entry's kind
// (pale green for information, pale red for errors, the caller's colour for
// coloured entries), the text in black from the row's left edge one pixel below
// its top, without the kind marker and the colour digits. A selected row keeps
// its kind's colour; only the focus frame marks the current row. Every row has
// the same fixed height.
class EventLogDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 15;

    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

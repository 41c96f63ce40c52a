#include "diagnostics/EventLogDelegate.h"

#include "diagnostics/EventLogModel.h"
#include "diagnostics/LogColour.h"
#include "diagnostics/LogEntryFormat.h"
#include "platform/Win1250.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

void EventLogDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QByteArray stored = index.data(EventLogModel::StoredEntryRole).toByteArray();
    if (stored.isEmpty())
        return;
    const LogEntryFormat::EntryLook look = LogEntryFormat::entryLook(stored);

    // An entry of unknown kind keeps the colours the list would give it.
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor background =
        look.background ? LogColour::toQColor(*look.background)
                        : option.palette.color(selected ? QPalette::Highlight : QPalette::Base);

    painter->save();
    painter->fillRect(option.rect, background);
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(0, 1, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      Win1250::toWide(look.shownText));
    painter->restore();

    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = background;
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

QSize EventLogDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), kRowHeight};
}

#include "platform/components/EventTypes.h"

#include <array>

namespace EventTypes {
namespace {

struct Entry {
    QMetaType type;
    QVariant (*wrap)(const MethodRef&);
};

template <typename Event> Entry entry() {
    return {QMetaType::fromType<Event>(), [](const MethodRef& m) {
                return QVariant::fromValue(Event{m});
            }};
}

const std::array<Entry, 9>& entries() {
    static const std::array<Entry, 9> all = {
        entry<TNotifyEvent>(),     entry<TKeyEvent>(),         entry<TKeyPressEvent>(),
        entry<TMouseEvent>(),      entry<TMouseMoveEvent>(),   entry<TCloseEvent>(),
        entry<TCloseQueryEvent>(), entry<TTabChangingEvent>(), entry<TContextPopupEvent>(),
    };
    return all;
}

const Entry* find(QMetaType type) {
    for (const Entry& e : entries()) {
        if (e.type == type)
            return &e;
    }
    return nullptr;
}

} // namespace

bool isEventType(QMetaType type) {
    return find(type) != nullptr;
}

QVariant wrap(QMetaType type, const MethodRef& method) {
    const Entry* e = find(type);
    return e ? e->wrap(method) : QVariant();
}

} // namespace EventTypes

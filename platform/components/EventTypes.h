#pragma once

#include "platform/components/MethodRef.h"

#include <QMetaType>
#include <QVariant>

// One type per event type name, so that an event property's type name is what
// sheets and scripts read from it ("TNotifyEvent", "TKeyEvent", ...).
struct TNotifyEvent : MethodRef {};
struct TKeyEvent : MethodRef {};
struct TKeyPressEvent : MethodRef {};
struct TMouseEvent : MethodRef {};
struct TMouseMoveEvent : MethodRef {};
struct TCloseEvent : MethodRef {};
struct TCloseQueryEvent : MethodRef {};
struct TTabChangingEvent : MethodRef {};
struct TContextPopupEvent : MethodRef {};

Q_DECLARE_METATYPE(TNotifyEvent)
Q_DECLARE_METATYPE(TKeyEvent)
Q_DECLARE_METATYPE(TKeyPressEvent)
Q_DECLARE_METATYPE(TMouseEvent)
Q_DECLARE_METATYPE(TMouseMoveEvent)
Q_DECLARE_METATYPE(TCloseEvent)
Q_DECLARE_METATYPE(TCloseQueryEvent)
Q_DECLARE_METATYPE(TTabChangingEvent)
Q_DECLARE_METATYPE(TContextPopupEvent)

namespace EventTypes {

// True when the type is one of the event types above.
bool isEventType(QMetaType type);

// A value of the given event type holding the reference; type must be an event type.
QVariant wrap(QMetaType type, const MethodRef& method);

} // namespace EventTypes

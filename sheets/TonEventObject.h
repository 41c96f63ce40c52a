#pragma once

#include "platform/components/Component.h"
#include "platform/xml/IXMLNode.h"

#include <QByteArray>
#include <QPointer>

class TScript;

// Binds one event of a widget to the script text of the sheet attribute that
// names the event. It is owned by the widget and holds its own reference to the
// widget's element, so the binding keeps working after another sheet has been
// loaded.
class TonEventObject : public TComponent {
    Q_OBJECT
public:
    TonEventObject(TComponent* owner, const QByteArray& eventName, const IXMLNode& element,
                   TScript* script);

    // Runs the event attribute's text as it stands at this moment. The event's
    // arguments are not used.
    Q_INVOKABLE void Execute(QObject* sender);

    const IXMLNode Node;
    const QByteArray EventName;

private:
    QPointer<TScript> script_;
};

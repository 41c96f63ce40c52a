#include "sheets/TonEventObject.h"

#include "platform/Win1250.h"
#include "script/TScript.h"

TonEventObject::TonEventObject(TComponent* owner, const QByteArray& eventName,
                               const IXMLNode& element, TScript* script)
    : TComponent(owner), Node(element), EventName(eventName), script_(script) {}

void TonEventObject::Execute(QObject*) {
    const QByteArray text = Node.attribute(Win1250::toWide(EventName)).toText();
    if (script_)
        script_->Run(text);
}

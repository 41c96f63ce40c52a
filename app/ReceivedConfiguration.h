#pragma once

#include "platform/xml/IXMLNode.h"
#include "platform/xml/TXMLDocument.h"

#include <QByteArray>

// The configuration as the device sent it (or as its file holds it), kept apart
// from the device document that bindings and "Set" write into. It is parsed once
// per configuration, on first use: "Set" and the diagnostics window compare with it.
class ReceivedConfiguration {
public:
    void take(QByteArray bytes);
    bool isEmpty() const { return bytes_.isEmpty(); }
    // The parsed root element; no node when the bytes do not parse.
    IXMLNode root();

private:
    QByteArray bytes_;
    TXMLDocument parsed_;
    bool parseTried_ = false;
};

// Any bytes as a stored configuration or sheet file: the loader either builds a
// tree or raises an error. A tree is read through, and what the program writes of
// it loads again, as a configuration saved after "Set" must.
#include "FuzzTargets.h"

#include "platform/Error.h"
#include "platform/xml/TXMLDocument.h"

void FuzzTargets::xmlDocument(const QByteArray& bytes) {
    TXMLDocument document;
    try {
        document.loadFromBytes(bytes);
    } catch (const Error&) {
        return;
    }
    qsizetype characters = 0;
    walkXMLTree(document.documentNode(), [&](const IXMLNode& node, int) {
        characters += node.nodeName().size() + node.nodeValue().size();
        const IXMLNodeList attributes = node.attributeNodes();
        for (int i = 0; i < attributes.count(); ++i)
            characters += attributes.item(i).nodeValue().size();
    });
    const IXMLNode root = document.documentElement();
    if (!root)
        return;
    TXMLDocument again;
    try {
        again.loadFromBytes(root.xml().toUtf8());
    } catch (const Error&) {
        check(false, "the written document does not load again");
    }
    check(again.documentElement().xml() == root.xml(), "the document changed when loaded again");
}

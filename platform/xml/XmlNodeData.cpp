#include "platform/xml/XmlNodeData.h"

void retainNode(XmlNodeData* node) {
    ++node->references;
}

void releaseNode(XmlNodeData* node) {
    if (--node->references > 0)
        return;
    std::vector<XmlNodeData*> unheld{node};
    const auto dropReferences = [&unheld](const std::vector<XmlNodeData*>& nodes) {
        for (XmlNodeData* owned : nodes) {
            owned->parent = nullptr;
            if (--owned->references == 0)
                unheld.push_back(owned);
        }
    };
    while (!unheld.empty()) {
        XmlNodeData* doomed = unheld.back();
        unheld.pop_back();
        dropReferences(doomed->children);
        dropReferences(doomed->attributes);
        delete doomed;
    }
}

void appendChild(XmlNodeData* parent, XmlNodeData* child) {
    child->parent = parent;
    child->index = qsizetype(parent->children.size());
    parent->children.push_back(child);
    retainNode(child);
}

void appendAttribute(XmlNodeData* element, XmlNodeData* attribute) {
    attribute->parent = element;
    attribute->index = qsizetype(element->attributes.size());
    element->attributes.push_back(attribute);
    retainNode(attribute);
}

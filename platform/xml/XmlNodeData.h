#pragma once

#include "platform/xml/IXMLNode.h"

#include <QString>
#include <memory>
#include <memory_resource>
#include <utility>
#include <vector>

class XmlStorage;

// One node of a document tree. Nodes are never taken out of a tree, so a tree
// and the nodes added to it later live and die together: all of them sit in
// one XmlStorage, and every IXMLNode handle holds that storage. A node kept
// after its document was closed or loaded again therefore stays readable,
// together with the rest of its old tree.
//
// Most nodes of a configuration are attributes, which have neither children nor
// attributes of their own: the two lists live in a block of their own that only
// nodes given a child or an attribute get. That block and the lists take their
// memory from the tree's storage, which gives it back all at once: allocating
// and freeing them one by one cost a tenth of a device document's load.
struct XmlNodeData {
    using List = std::pmr::vector<XmlNodeData*>;

    XmlNodeData(XmlStorage* storage, XMLNodeType type, QString name, QString value)
        : storage(storage), type(type), name(std::move(name)), value(std::move(value)) {}
    ~XmlNodeData();
    XmlNodeData(const XmlNodeData&) = delete;
    XmlNodeData& operator=(const XmlNodeData&) = delete;

    const List& children() const { return lists ? lists->children : noNodes(); }
    const List& attributes() const { return lists ? lists->attributes : noNodes(); }
    List& childrenToChange() { return listsToChange().children; }
    List& attributesToChange() { return listsToChange().attributes; }

    // The name and the value as strings of their own. Those read from a document
    // lie in their storage's text blocks and must not outlive them in a copy.
    QString ownName() const;
    QString ownValue() const;

    XmlStorage* storage;
    XMLNodeType type;
    int index = 0; // position in the parent's child or attribute list
    XmlNodeData* parent = nullptr;
    QString name;
    QString value; // attributes, text, CDATA, comments and processing instructions

private:
    struct Lists {
        explicit Lists(std::pmr::memory_resource* memory) : children(memory), attributes(memory) {}
        List children;
        List attributes;
    };
    static const List& noNodes();
    Lists& listsToChange();

    Lists* lists = nullptr;
};

// The nodes of one tree, allocated in large blocks: a device document has tens
// of thousands of them, and building and freeing them one by one would cost
// more than parsing. Freed without recursion, however deep the tree.
//
// Used on the GUI thread only, so the reference count is a plain integer.
class XmlStorage {
public:
    XmlStorage() = default;
    XmlStorage(const XmlStorage&) = delete;
    XmlStorage& operator=(const XmlStorage&) = delete;
    ~XmlStorage();

    // A new node belonging to this storage.
    XmlNodeData* create(XMLNodeType type, QString name, QString value);

    // The text, copied into this storage's text blocks, as a string that refers
    // to them: a document's many short attribute values then cost neither an
    // allocation each nor a release each when the tree goes.
    QString keep(QStringView text);

    // Notes a name or value given to a node after it was created.
    void noteString(const QString& text) { ownStrings_ = ownStrings_ || text.data_ptr().isMutable(); }

    // Memory for the nodes' lists, given back when the storage goes.
    std::pmr::memory_resource* listMemory() { return &listMemory_; }

    int references = 0;

private:
    static constexpr std::size_t kBlockNodes = 512;
    static constexpr qsizetype kTextBlockChars = qsizetype(1) << 15;
    // Declared first: the nodes' lists are given back after the nodes went.
    std::pmr::monotonic_buffer_resource listMemory_;
    std::vector<XmlNodeData*> blocks_;
    std::size_t usedInLastBlock_ = kBlockNodes;
    // Declared after the node blocks: the nodes go first, then the text they show.
    std::vector<std::unique_ptr<char16_t[]>> textBlocks_;
    std::vector<std::unique_ptr<char16_t[]>> longTexts_;
    qsizetype textUsed_ = kTextBlockChars;
    // Whether some node holds a string of its own rather than one in the text
    // blocks or a literal: only then must the nodes be destroyed one by one.
    bool ownStrings_ = false;
};

// A new tree: its storage with the document node in it.
XmlNodeData* createDocumentNode();

void retainNode(XmlNodeData* node);
void releaseNode(XmlNodeData* node);

// A new node at the end of the parent's child list or the element's attributes.
XmlNodeData* appendChild(XmlNodeData* parent, XMLNodeType type, QString name, QString value);
XmlNodeData* appendAttribute(XmlNodeData* element, QString name, QString value);

// Bridge between the public handles and the storage, for the XML code only.
struct XmlNodeAccess {
    static IXMLNode wrap(XmlNodeData* node) { return IXMLNode(node); }
    static XmlNodeData* data(const IXMLNode& node) { return node.node_; }
};

#include "platform/xml/XmlNodeData.h"

#include <algorithm>
#include <memory>
#include <new>

const XmlNodeData::List& XmlNodeData::noNodes() {
    static const List none;
    return none;
}

namespace {

QString ownCopy(const QString& text) {
    if (text.isEmpty() || text.data_ptr().isMutable())
        return text;
    return QString(text.constData(), text.size());
}

} // namespace

QString XmlNodeData::ownName() const {
    return ownCopy(name);
}

QString XmlNodeData::ownValue() const {
    return ownCopy(value);
}

XmlNodeData::~XmlNodeData() {
    if (lists)
        std::destroy_at(lists);
}

XmlNodeData::Lists& XmlNodeData::listsToChange() {
    if (!lists)
        lists = std::pmr::polymorphic_allocator<>(storage->listMemory()).new_object<Lists>(
            storage->listMemory());
    return *lists;
}

XmlStorage::~XmlStorage() {
    // A loaded document keeps all its text in the text blocks, and the nodes'
    // lists in the list memory: then nothing of a node needs freeing by itself,
    // and visiting every node would add 3 % to the document's load.
    for (std::size_t block = 0; block < blocks_.size(); ++block) {
        const std::size_t used = block + 1 == blocks_.size() ? usedInLastBlock_ : kBlockNodes;
        for (std::size_t i = 0; ownStrings_ && i < used; ++i)
            blocks_[block][i].~XmlNodeData();
        ::operator delete(blocks_[block]);
    }
}

XmlNodeData* XmlStorage::create(XMLNodeType type, QString name, QString value) {
    if (usedInLastBlock_ == kBlockNodes) {
        blocks_.reserve(blocks_.size() + 1);
        blocks_.push_back(
            static_cast<XmlNodeData*>(::operator new(kBlockNodes * sizeof(XmlNodeData))));
        usedInLastBlock_ = 0;
    }
    noteString(name);
    noteString(value);
    XmlNodeData* node = blocks_.back() + usedInLastBlock_;
    new (node) XmlNodeData(this, type, std::move(name), std::move(value));
    ++usedInLastBlock_;
    return node;
}

QString XmlStorage::keep(QStringView text) {
    if (text.isEmpty())
        return text.toString();
    const char16_t* from = text.utf16();
    char16_t* chars;
    if (text.size() > kTextBlockChars / 4) {
        // A long value gets a block of its own and leaves the current one open.
        chars = longTexts_
                    .emplace_back(std::make_unique_for_overwrite<char16_t[]>(std::size_t(text.size())))
                    .get();
        std::copy_n(from, text.size(), chars);
    } else {
        if (textUsed_ + text.size() > kTextBlockChars) {
            textBlocks_.push_back(
                std::make_unique_for_overwrite<char16_t[]>(std::size_t(kTextBlockChars)));
            textUsed_ = 0;
        }
        chars = textBlocks_.back().get() + textUsed_;
        textUsed_ += text.size();
        // Most values are a few characters long. Copied by this loop rather than
        // by the C library's copy, a device document loads a tenth faster
        // (measured with bench/XmlLoadBench).
        for (qsizetype i = 0; i < text.size(); ++i)
            chars[i] = from[i];
    }
    return QString::fromRawData(reinterpret_cast<const QChar*>(chars), text.size());
}

XmlNodeData* createDocumentNode() {
    return (new XmlStorage)->create(XMLNodeType::Document, QStringLiteral("#document"), QString());
}

void retainNode(XmlNodeData* node) {
    ++node->storage->references;
}

void releaseNode(XmlNodeData* node) {
    if (--node->storage->references == 0)
        delete node->storage;
}

XmlNodeData* appendChild(XmlNodeData* parent, XMLNodeType type, QString name, QString value) {
    XmlNodeData* child = parent->storage->create(type, std::move(name), std::move(value));
    child->parent = parent;
    XmlNodeData::List& children = parent->childrenToChange();
    child->index = int(children.size());
    children.push_back(child);
    return child;
}

XmlNodeData* appendAttribute(XmlNodeData* element, QString name, QString value) {
    XmlNodeData* attribute =
        element->storage->create(XMLNodeType::Attribute, std::move(name), std::move(value));
    attribute->parent = element;
    XmlNodeData::List& attributes = element->attributesToChange();
    attribute->index = int(attributes.size());
    attributes.push_back(attribute);
    return attribute;
}

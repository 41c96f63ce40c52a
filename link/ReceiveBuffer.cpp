#include "link/ReceiveBuffer.h"

#include <algorithm>

const QByteArray ReceiveBuffer::LineEnd = QByteArrayLiteral("\r\n");
const QByteArray ReceiveBuffer::BlockStart = QByteArrayLiteral("<XML>");
const QByteArray ReceiveBuffer::BlockEnd = QByteArrayLiteral("</XML>");
const QByteArray ReceiveBuffer::DeclarationStart = QByteArrayLiteral("<?xml");
const QByteArray ReceiveBuffer::DeclarationEnd = QByteArrayLiteral("?>");

qsizetype ReceiveBuffer::Mark::find(const QByteArray& text) const {
    if (!known_) {
        position_ = text.indexOf(marker_);
        known_ = true;
    }
    return position_;
}

// Appending moves no earlier occurrence; a new one can only end in the new bytes.
void ReceiveBuffer::Mark::appended(const QByteArray& text, qsizetype oldSize) {
    if (known_ && position_ < 0)
        position_ = text.indexOf(marker_, std::max<qsizetype>(0, oldSize - marker_.size() + 1));
}

// Taking text from the front joins nothing, so no occurrence appears; one that was
// cut is searched for again.
void ReceiveBuffer::Mark::removedFront(qsizetype length) {
    if (!known_ || position_ < 0)
        return;
    if (position_ >= length)
        position_ -= length;
    else
        known_ = false;
}

void ReceiveBuffer::append(const QByteArray& bytes) {
    const qsizetype oldSize = text_.size();
    text_ += bytes;
    forEachMark([&](Mark& mark) { mark.appended(text_, oldSize); });
}

void ReceiveBuffer::remove(qsizetype position, qsizetype length) {
    text_.remove(position, length);
    // Text taken from the middle can join two pieces into a marker.
    forEachMark([&](Mark& mark) {
        if (position == 0)
            mark.removedFront(length);
        else
            mark.forget();
    });
}

void ReceiveBuffer::clear() {
    text_.clear();
    forEachMark([](Mark& mark) { mark.absent(); });
}

#include "link/ReceiveBuffer.h"

#include <algorithm>
#include <cstring>

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

// Taking text from inside leaves an occurrence in front of the cut where it was and
// moves one behind it; the only occurrence that can appear spans the joint. Only a
// cut occurrence is searched for again: a marker known to be absent stays known,
// however long the text behind the joint (a configuration block taken from the
// middle of a long unfinished flood costs no search of the flood).
void ReceiveBuffer::Mark::removedInside(const QByteArray& text, qsizetype position,
                                        qsizetype length) {
    if (!known_)
        return;
    const qsizetype size = marker_.size();
    if (position_ >= 0 && position_ + size <= position)
        return;
    if (position_ >= 0 && position_ < position + length) {
        known_ = false;
        return;
    }
    if (position_ >= 0)
        position_ -= length;
    const qsizetype from = std::max<qsizetype>(0, position - size + 1);
    const qsizetype to = std::min<qsizetype>(text.size(), position + size - 1);
    const qsizetype joint =
        QByteArrayView(text).sliced(from, std::max<qsizetype>(0, to - from)).indexOf(marker_);
    if (joint >= 0)
        position_ = from + joint;
}

void ReceiveBuffer::append(const QByteArray& bytes) {
    const qsizetype oldSize = text_.size();
    text_ += bytes;
    forEachMark([&](Mark& mark) { mark.appended(text_, oldSize); });
}

// A block is taken from near the front of what may be a long flood behind it.
// Moving the shorter side keeps that cheap: the text in front of the cut moves up
// over it, and the front is then dropped, which moves nothing.
void ReceiveBuffer::remove(qsizetype position, qsizetype length) {
    length = std::min(length, text_.size() - position);
    if (position > 0 && position < text_.size() - position - length) {
        char* data = text_.data();
        std::memmove(data + length, data, std::size_t(position));
        text_.remove(0, length);
    } else {
        text_.remove(position, length);
    }
    forEachMark([&](Mark& mark) {
        if (position == 0)
            mark.removedFront(length);
        else
            mark.removedInside(text_, position, length);
    });
}

void ReceiveBuffer::clear() {
    text_.clear();
    forEachMark([](Mark& mark) { mark.absent(); });
}

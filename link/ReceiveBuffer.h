#pragma once

#include <QByteArray>

// RxBuffer: the text received from the device and not yet consumed, with the first
// positions of the markers the receive handler looks for. A device that floods the
// link with short lines leaves a large buffer behind the line being handled; the
// positions are therefore kept across changes instead of being searched for in the
// whole buffer at every line. Handlers nested in modal windows change the same
// buffer, so every change goes through here.
class ReceiveBuffer {
public:
    const QByteArray& text() const { return text_; }
    qsizetype size() const { return text_.size(); }

    void append(const QByteArray& bytes);
    void remove(qsizetype position, qsizetype length);
    void clear();

    // First positions, -1 when absent.
    qsizetype lineEnd() const { return lineEnd_.find(text_); }
    qsizetype blockStart() const { return blockStart_.find(text_); }
    qsizetype blockEnd() const { return blockEnd_.find(text_); }
    // The device's own XML declaration: its "<?xml" and the first "?>".
    qsizetype declarationStart() const { return declarationStart_.find(text_); }
    qsizetype declarationEnd() const { return declarationEnd_.find(text_); }

    static const QByteArray LineEnd;
    static const QByteArray BlockStart;
    static const QByteArray BlockEnd;
    static const QByteArray DeclarationStart;
    static const QByteArray DeclarationEnd;

private:
    // The first position of one marker, searched for only when a change may have moved
    // it to where it is not known.
    class Mark {
    public:
        explicit Mark(const QByteArray& marker) : marker_(marker) {}
        qsizetype find(const QByteArray& text) const;
        void appended(const QByteArray& text, qsizetype oldSize);
        void removedFront(qsizetype length);
        void removedInside(const QByteArray& text, qsizetype position, qsizetype length);
        void absent() {
            known_ = true;
            position_ = -1;
        }

    private:
        const QByteArray& marker_;
        mutable bool known_ = true;
        mutable qsizetype position_ = -1;
    };

    template <typename Change> void forEachMark(Change change) {
        change(lineEnd_);
        change(blockStart_);
        change(blockEnd_);
        change(declarationStart_);
        change(declarationEnd_);
    }

    QByteArray text_;
    Mark lineEnd_{LineEnd};
    Mark blockStart_{BlockStart};
    Mark blockEnd_{BlockEnd};
    Mark declarationStart_{DeclarationStart};
    Mark declarationEnd_{DeclarationEnd};
};

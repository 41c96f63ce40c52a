#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <memory>
#include <vector>

// Byte strings that are only ever appended, packed into large chunks: a log of
// millions of entries costs little more than its text, and appending never moves
// what is already stored.
class AppendOnlyTextStore {
public:
    void append(QByteArrayView text);
    qsizetype size() const { return static_cast<qsizetype>(spans_.size()); }
    QByteArray at(qsizetype index) const;
    // The memory the store has taken for its chunks and entries.
    std::size_t heldBytes() const;

private:
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    struct Span {
        std::uint32_t chunk;
        std::uint32_t offset;
        std::uint32_t length;
    };

    Chunk& chunkFor(std::size_t length);

    std::vector<Chunk> chunks_;
    std::vector<Span> spans_;
};

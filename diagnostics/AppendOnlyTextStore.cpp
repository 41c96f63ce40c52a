#include "diagnostics/AppendOnlyTextStore.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kChunkCapacity = std::size_t{1} << 20;
}

AppendOnlyTextStore::Chunk& AppendOnlyTextStore::chunkFor(std::size_t length) {
    if (!chunks_.empty() && chunks_.back().capacity - chunks_.back().used >= length)
        return chunks_.back();
    // An entry larger than a chunk gets a chunk of its own size.
    const std::size_t capacity = std::max(kChunkCapacity, length);
    chunks_.push_back({std::make_unique_for_overwrite<char[]>(capacity), capacity, 0});
    return chunks_.back();
}

void AppendOnlyTextStore::append(QByteArrayView text) {
    const auto length = static_cast<std::size_t>(text.size());
    // Either step may fail for lack of memory; neither leaves a half-stored entry
    // (a fresh chunk left unused is taken by the next entry).
    Chunk& chunk = chunkFor(length);
    spans_.push_back({static_cast<std::uint32_t>(chunks_.size() - 1),
                      static_cast<std::uint32_t>(chunk.used), static_cast<std::uint32_t>(length)});
    if (length > 0)
        std::memcpy(chunk.bytes.get() + chunk.used, text.data(), length);
    chunk.used += length;
}

QByteArray AppendOnlyTextStore::at(qsizetype index) const {
    const Span& span = spans_.at(static_cast<std::size_t>(index));
    return QByteArray(chunks_[span.chunk].bytes.get() + span.offset, span.length);
}

std::size_t AppendOnlyTextStore::heldBytes() const {
    std::size_t bytes = chunks_.capacity() * sizeof(Chunk) + spans_.capacity() * sizeof(Span);
    for (const Chunk& chunk : chunks_)
        bytes += chunk.capacity;
    return bytes;
}

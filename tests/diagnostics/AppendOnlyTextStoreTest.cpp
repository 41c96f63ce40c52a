#include "diagnostics/AppendOnlyTextStore.h"

#include <gtest/gtest.h>

TEST(AppendOnlyTextStore, EntriesReadBackAcrossChunkBoundariesAndOversizedEntries) {
    AppendOnlyTextStore store;
    std::vector<QByteArray> expected;
    // Enough entries to fill several chunks, with empty ones, binary bytes and
    // one entry larger than a chunk in the middle.
    for (int i = 0; i < 60000; ++i) {
        QByteArray entry;
        if (i % 7 == 0)
            entry = QByteArray();
        else if (i == 30000)
            entry = QByteArray(3 << 20, 'x');
        else
            entry = QByteArray::number(i).repeated(1 + i % 5) + QByteArray("\0\xFF", 2);
        store.append(entry);
        expected.push_back(entry);
    }
    ASSERT_EQ(store.size(), static_cast<qsizetype>(expected.size()));
    for (qsizetype i = 0; i < store.size(); ++i)
        ASSERT_EQ(store.at(i), expected[static_cast<std::size_t>(i)]) << i;
}

#include "link/ReceiveBuffer.h"

#include <gtest/gtest.h>
#include <random>

// The kept marker positions must always be what a search of the whole text finds,
// whatever is appended and wherever text is taken: pieces of the markers are
// appended and cut so that markers form across joints and are cut in two.
TEST(ReceiveBuffer, KeptPositionsMatchAFreshSearchAfterAnyChange) {
    const QByteArray pieces[] = {"\r", "\n", "<XML>", "</XML>", "<?xml", "?>", "<", "/",
                                 "XML", ">", "?", "x", "ml", "abc"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        ReceiveBuffer buffer;
        for (int step = 0; step < 60; ++step) {
            const unsigned choice = random() % 4;
            if (choice < 2 || buffer.size() == 0) {
                QByteArray bytes;
                for (unsigned n = random() % 4 + 1; n > 0; --n)
                    bytes += pieces[random() % std::size(pieces)];
                buffer.append(bytes);
            } else {
                // From the front or from inside.
                const qsizetype position =
                    choice == 2 ? 0 : static_cast<qsizetype>(random() % buffer.size());
                buffer.remove(position,
                              static_cast<qsizetype>(random() % (buffer.size() - position) + 1));
            }
            // Asked after some changes only, so that changes also meet positions not
            // yet searched for.
            if (random() % 3 == 0)
                continue;
            const QByteArray& text = buffer.text();
            SCOPED_TRACE(text.toStdString());
            ASSERT_EQ(buffer.lineEnd(), text.indexOf(ReceiveBuffer::LineEnd));
            ASSERT_EQ(buffer.blockStart(), text.indexOf(ReceiveBuffer::BlockStart));
            ASSERT_EQ(buffer.blockEnd(), text.indexOf(ReceiveBuffer::BlockEnd));
            ASSERT_EQ(buffer.declarationStart(), text.indexOf(ReceiveBuffer::DeclarationStart));
            ASSERT_EQ(buffer.declarationEnd(), text.indexOf(ReceiveBuffer::DeclarationEnd));
        }
    }
}

#include "platform/Win1250.h"

#include <gtest/gtest.h>

TEST(Win1250, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString wide = Win1250::toWide(all);
    ASSERT_EQ(wide.size(), 256);
    EXPECT_EQ(Win1250::fromWide(wide), all);
}

TEST(Win1250, CzechTextBothWays) {
    const struct {
        const char* utf8;
        QByteArray bytes;
    } cases[] = {
        {"Připojit", QByteArray("P\xF8ipojit")},
        {"Ukončit", QByteArray("Ukon\xE8it")},
        {"Špatné heslo!", QByteArray("\x8Apatn\xE9 heslo!")},
        {"€", QByteArray("\x80")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Win1250::fromWide(QString::fromUtf8(c.utf8)), c.bytes);
        EXPECT_EQ(Win1250::toWide(c.bytes), QString::fromUtf8(c.utf8));
    }
}

TEST(Win1250, UnassignedBytesMapToTheirC1Characters) {
    for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98})
        EXPECT_EQ(Win1250::toUnicode(b), char16_t(b)) << int(b);
}

TEST(Win1250, CharactersWithoutAByteBecomeQuestionMarks) {
    // A Cyrillic letter, a CJK ideograph and a character outside the BMP (one '?').
    EXPECT_EQ(Win1250::fromWide(QString::fromUtf8("aЖb中c😀d")), QByteArray("a?b?c?d"));
    // A lone surrogate is one unmappable character too.
    EXPECT_EQ(Win1250::fromWide(QString(QChar(0xD800))), QByteArray("?"));
}

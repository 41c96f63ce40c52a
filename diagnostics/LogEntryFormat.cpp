#include "diagnostics/LogEntryFormat.h"

#include <algorithm>

namespace LogEntryFormat {
namespace {

constexpr qsizetype kColourDigits = 6;

// Room for "H:MM:SS" with any hour QTime can hold, -1 for an invalid time included.
constexpr qsizetype kTimeRoom = 16;

char* writeTwoDigits(char* at, int value) {
    *at++ = static_cast<char>('0' + value / 10);
    *at++ = static_cast<char>('0' + value % 10);
    return at;
}

// "H:MM:SS" written at `at`; returns where it ends.
char* writeTime(char* at, QTime time) {
    const int hour = time.hour(); // -1 for an invalid time
    if (hour >= 10) {
        at = writeTwoDigits(at, hour);
    } else if (hour >= 0) {
        *at++ = static_cast<char>('0' + hour);
    } else {
        const QByteArray number = QByteArray::number(hour);
        at = std::copy_n(number.constData(), number.size(), at);
    }
    *at++ = ':';
    at = writeTwoDigits(at, time.minute());
    *at++ = ':';
    return writeTwoDigits(at, time.second());
}

// Every entry has a time: the entry is sized once and written in place.
QByteArray entry(QByteArrayView prefix, QTime time, QByteArrayView message) {
    char clock[kTimeRoom];
    const qsizetype clockLength = writeTime(clock, time) - clock;
    constexpr QByteArrayView separator(" - ");
    QByteArray out(prefix.size() + clockLength + separator.size() + message.size(),
                   Qt::Uninitialized);
    char* at = std::copy_n(prefix.data(), prefix.size(), out.data());
    at = std::copy_n(clock, clockLength, at);
    at = std::copy_n(separator.data(), separator.size(), at);
    std::copy_n(message.data(), message.size(), at);
    return out;
}

std::optional<std::uint32_t> parseColour(QByteArrayView digits) {
    if (digits.size() != kColourDigits)
        return std::nullopt;
    std::uint32_t colour = 0;
    for (char c : digits) {
        int value;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else
            return std::nullopt;
        colour = colour * 16 + static_cast<std::uint32_t>(value);
    }
    return colour;
}

// The bytes from `from` on, empty when the text is shorter.
QByteArray tail(QByteArrayView text, qsizetype from) {
    return from < text.size() ? text.sliced(from).toByteArray() : QByteArray();
}

} // namespace

QByteArray timeText(QTime time) {
    char clock[kTimeRoom];
    return QByteArray(clock, writeTime(clock, time) - clock);
}

QByteArray infoEntry(QTime time, QByteArrayView message) {
    return entry(QByteArrayView(&kInfoMarker, 1), time, message);
}

QByteArray errorEntry(QTime time, QByteArrayView message) {
    return entry(QByteArrayView(&kErrorMarker, 1), time, message);
}

QByteArray colourEntry(std::uint32_t colour, QTime time, QByteArrayView message) {
    const QByteArray prefix =
        kColourMarker +
        QByteArray::number(colour & 0xFFFFFF, 16).toUpper().rightJustified(kColourDigits, '0');
    return entry(prefix, time, message);
}

QByteArray communicationLine(QTime time, QByteArrayView message) {
    return entry({}, time, message);
}

EntryLook entryLook(QByteArrayView storedEntry) {
    if (storedEntry.isEmpty())
        return {};
    switch (storedEntry.front()) {
    case kColourMarker:
        // An entry whose digits do not read keeps the list's background rather than failing to
        // draw.
        return {parseColour(storedEntry.sliced(1, std::min(kColourDigits, storedEntry.size() - 1))),
                tail(storedEntry, 1 + kColourDigits)};
    case kErrorMarker:
        return {kErrorBackground, tail(storedEntry, 1)};
    case kInfoMarker:
        return {kInfoBackground, tail(storedEntry, 1)};
    default:
        return {std::nullopt, tail(storedEntry, 1)};
    }
}

} // namespace LogEntryFormat

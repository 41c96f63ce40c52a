#include "diagnostics/LogEntryFormat.h"

namespace LogEntryFormat {
namespace {

constexpr qsizetype kColourDigits = 6;

void appendTwoDigits(QByteArray& out, int value) {
    out.append(static_cast<char>('0' + value / 10));
    out.append(static_cast<char>('0' + value % 10));
}

// "H:MM:SS", written into `out` without a buffer of its own: every entry has one.
void appendTime(QByteArray& out, QTime time) {
    const int hour = time.hour(); // -1 for an invalid time
    if (hour >= 10)
        appendTwoDigits(out, hour);
    else if (hour >= 0)
        out.append(static_cast<char>('0' + hour));
    else
        out.append(QByteArray::number(hour));
    out.append(':');
    appendTwoDigits(out, time.minute());
    out.append(':');
    appendTwoDigits(out, time.second());
}

QByteArray entry(QByteArrayView prefix, QTime time, QByteArrayView message) {
    QByteArray out;
    out.reserve(prefix.size() + 11 + message.size());
    out.append(prefix);
    appendTime(out, time);
    out.append(" - ");
    out.append(message);
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
    QByteArray out;
    appendTime(out, time);
    return out;
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

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QTime>
#include <cstdint>
#include <optional>

// The stored forms of the two logs and how an event log entry reads back.
//
// Event log entry: a kind marker, for coloured entries six uppercase hexadecimal
// digits of the colour, the time text, " - " and the message as given:
//   "O9:05:07 - Start aplikace", "E9:05:07 - ...", "#00FF0014:05:07 - ...".
// Communication log line: the time text, " - " and the message, without marker.
//
// Colours are the platform's colour numbers $00BBGGRR: the low byte is red.
namespace LogEntryFormat {

constexpr char kInfoMarker = 'O';
constexpr char kErrorMarker = 'E';
constexpr char kColourMarker = '#';

// Background colours of the two fixed kinds.
constexpr std::uint32_t kInfoBackground = 0xE0FFE0;
constexpr std::uint32_t kErrorBackground = 0xE0E0FF;

// Hours without a leading zero on a 24-hour clock, then ":mm:ss".
QByteArray timeText(QTime time);

QByteArray infoEntry(QTime time, QByteArrayView message);
QByteArray errorEntry(QTime time, QByteArrayView message);
// Colour numbers have 24 bits; higher bits are dropped so that an entry always
// carries exactly six digits and its time text stays intact.
QByteArray colourEntry(std::uint32_t colour, QTime time, QByteArrayView message);
QByteArray communicationLine(QTime time, QByteArrayView message);

// What the log list draws for a stored entry: the background colour its kind
// gives (none for an unknown marker, which keeps the list's own background) and
// the text after the marker and the colour digits.
struct EntryLook {
    std::optional<std::uint32_t> background;
    QByteArray shownText;
};
EntryLook entryLook(QByteArrayView storedEntry);

} // namespace LogEntryFormat

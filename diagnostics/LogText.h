#pragma once

#include <QByteArray>
#include <QString>

// The text argument of the log operations. The log stores 8-bit Windows-1250
// text, as the rest of the program's own text; callers may pass it as
//  - QByteArray: already Windows-1250 (wire text, script text);
//  - QString: wide text, e.g. names and values from XML documents;
//  - a string literal: UTF-8 source text, e.g. "Start aplikace".
// Characters that Windows-1250 lacks become '?'.
class LogText {
public:
    LogText(const QByteArray& win1250) : bytes_(win1250) {}
    LogText(const QString& wide);
    LogText(const char* utf8);

    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

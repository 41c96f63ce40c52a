#include "diagnostics/LogText.h"

#include "platform/Win1250.h"

LogText::LogText(const QString& wide) : bytes_(Win1250::fromWide(wide)) {}

LogText::LogText(const char* utf8) : bytes_(Win1250::fromWide(QString::fromUtf8(utf8))) {}

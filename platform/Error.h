#pragma once

#include <QString>

#include <stdexcept>

// The one exception type of the program. It carries the exact message text that
// the operator, the log or a script's caller sees; what() gives it as UTF-8.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

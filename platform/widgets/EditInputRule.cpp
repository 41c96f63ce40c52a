#include "platform/widgets/EditInputRule.h"

#include <QLineEdit>

EditInputRule::EditInputRule(QLineEdit* edit) : QValidator(edit), edit_(edit) {}

QString EditInputRule::inCase(const QString& text) const {
    switch (charCase_) {
    case Vcl::TEditCharCase::ecUpperCase:
        return text.toUpper();
    case Vcl::TEditCharCase::ecLowerCase:
        return text.toLower();
    default:
        return text;
    }
}

QValidator::State EditInputRule::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    input = inCase(input);
    // Only growth beyond the limit is refused: a longer text that the program
    // assigned can still be shortened.
    const qsizetype before = edit_ ? edit_->text().size() : 0;
    if (maxLength_ > 0 && input.size() > maxLength_ && input.size() > before)
        return Invalid;
    return Acceptable;
}

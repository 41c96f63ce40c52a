#include "platform/widgets/EditInputRule.h"

#include <QLineEdit>
#include <QScopedValueRollback>

EditInputRule::EditInputRule(QLineEdit* edit)
    : QValidator(edit), acceptedLength_(edit->text().size()) {
    // QLineEdit validates the changed text before it reports the change, so the
    // text it reports is the one the next validation starts from.
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedLength_ = text.size(); });
}

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

void EditInputRule::assign(QLineEdit* edit, const QString& text) {
    programChange([&] { edit->setText(inCase(text)); });
}

void EditInputRule::programChange(const std::function<void()>& change) {
    const QScopedValueRollback assigning(assigning_, true);
    change();
}

QValidator::State EditInputRule::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    input = inCase(input);
    // Only growth beyond the limit is refused: a longer text that the program
    // assigned can still be shortened.
    if (!assigning_ && maxLength_ > 0 && input.size() > maxLength_ &&
        input.size() > acceptedLength_)
        return Invalid;
    return Acceptable;
}

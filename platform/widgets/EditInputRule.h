#pragma once

#include "platform/widgets/ControlTypes.h"

#include <QPointer>
#include <QValidator>

class QLineEdit;

// What the operator may type into an edit: at most MaxLength characters (0 is
// no limit) in the edit's letter case. QLineEdit does not apply a validator to
// text that the program sets, so assigned and device-loaded text is never cut.
class EditInputRule : public QValidator {
public:
    explicit EditInputRule(QLineEdit* edit);

    int maxLength() const { return maxLength_; }
    void setMaxLength(int length) { maxLength_ = length; }
    Vcl::TEditCharCase charCase() const { return charCase_; }
    void setCharCase(Vcl::TEditCharCase charCase) { charCase_ = charCase; }

    // The text in the edit's letter case.
    QString inCase(const QString& text) const;

    State validate(QString& input, int& pos) const override;

private:
    QPointer<QLineEdit> edit_;
    int maxLength_ = 0;
    Vcl::TEditCharCase charCase_ = Vcl::TEditCharCase::ecNormal;
};

#pragma once

#include "platform/widgets/ControlTypes.h"

#include <QValidator>
#include <functional>

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

    // Sets text on behalf of the program: never refused, whatever its length.
    void assign(QLineEdit* edit, const QString& text);
    // Runs a change of the program (a combo box selecting an entry) that sets
    // the text as a side effect.
    void programChange(const std::function<void()>& change);

    State validate(QString& input, int& pos) const override;

private:
    // Length of the text as it stood before the edit being validated.
    qsizetype acceptedLength_ = 0;
    bool assigning_ = false;
    int maxLength_ = 0;
    Vcl::TEditCharCase charCase_ = Vcl::TEditCharCase::ecNormal;
};

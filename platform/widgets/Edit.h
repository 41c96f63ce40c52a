#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

class QLineEdit;
class EditInputRule;

// A windowed control for one line of text.
class TCustomEdit : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomEdit(TComponent* owner = nullptr);

protected:
    TCustomEdit(TComponent* owner, QWidget* widget);
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    // An edit keeps its Color when disabled, where the style would grey it.
    void ApplyColor() override;
    // With AutoSelect the whole text is selected when the operator tabs into
    // the editor; without it nothing is.
    void SelectAllOnEntry(QLineEdit* editor);
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool autoSelect_ = true;

private:
    QPointer<QLineEdit> selectOnEntry_;
    bool ownPalette_ = false;
};

// A text edit. OnChange fires on every change of the text, typed or assigned.
// MaxLength limits typing only; PasswordChar is a character code (0: clear text).
class TEdit : public TCustomEdit {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(QByteArray Text READ Text WRITE SetText)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(uchar PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(Vcl::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(Vcl::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    KONFIDOR_PUBLISH_TAB_STOP
    KONFIDOR_PUBLISH_EDITOR_EVENTS
public:
    Q_INVOKABLE explicit TEdit(TComponent* owner = nullptr);

    QByteArray Text() const;
    void SetText(const QByteArray& text);
    int MaxLength() const;
    void SetMaxLength(int length);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    uchar PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(uchar code);
    Vcl::TEditCharCase CharCase() const;
    void SetCharCase(Vcl::TEditCharCase charCase);
    Vcl::TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(Vcl::TBorderStyle style);

protected:
    TNotifyEvent OnChange;

private:
    QLineEdit* Editor() const;

    EditInputRule* rule_;
    bool autoSize_ = true;
    uchar passwordChar_ = 0;
    Vcl::TBorderStyle borderStyle_ = Vcl::TBorderStyle::bsSingle;
};

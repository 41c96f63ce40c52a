#pragma once

#include "platform/widgets/Edit.h"
#include "platform/widgets/Published.h"

class QSpinBox;

// A number edit with up and down arrows. MinValue and MaxValue stay as given;
// when both are 0 there is no limit, otherwise Value is kept within them.
// OnChange fires on every change of the text, typed or assigned.
class TSpinEdit : public TCustomEdit {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    KONFIDOR_PUBLISH_TAB_STOP
    KONFIDOR_PUBLISH_EDITOR_EVENTS
public:
    Q_INVOKABLE explicit TSpinEdit(TComponent* owner = nullptr);

    int Value() const;
    void SetValue(int value);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    int Increment() const;
    void SetIncrement(int increment);
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool enabled);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length) { maxLength_ = length; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    TNotifyEvent OnChange;

private:
    QSpinBox* Spin() const;
    QLineEdit* Editor() const;
    // Limits are in force unless both are 0. A minimum above the maximum is a sheet
    // halfway through setting them (MinValue="1" before MaxValue="65535"); it
    // limits nothing, so that the value loaded before survives.
    bool LimitsInForce() const {
        return (minValue_ != 0 || maxValue_ != 0) && minValue_ <= maxValue_;
    }
    int WithinLimits(int value) const;
    void ApplyLimits();
    bool refusesTyping(QEvent* event) const;

    int minValue_ = 0;
    int maxValue_ = 0;
    int maxLength_ = 0;
    bool editorEnabled_ = true;
};

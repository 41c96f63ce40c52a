#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

#include <vector>

class ComboWidget;
class EditInputRule;

// A windowed control that lists entries.
class TCustomListControl : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomListControl(TComponent* owner = nullptr);

protected:
    using TWinControl::TWinControl;
};

// A combo box control. Every entry has a text and an associated object (or
// none), which the combo box does not own.
class TCustomCombo : public TCustomListControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomCombo(TComponent* owner = nullptr);
    ~TCustomCombo() override;

    // Appends an entry (placed in order when Sorted).
    void AddItem(const QByteArray& text, QObject* object);
    int ItemCount() const;
    QObject* ItemObject(int index) const;
    QByteArray ItemText(int index) const;

    // Index of the selected entry, -1 when none. Assigning it fires no event.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // Selects the entry as the operator's choice from the list does, with the
    // events that choice fires (OnClick, OnSelect, OnChange).
    void ChooseAsOperator(int index);
    QByteArray Text() const;
    // Assigning the text fires no event; a drop-down list selects the entry
    // with that text (none when there is no such entry).
    void SetText(const QByteArray& text);
    Vcl::TComboBoxStyle Style() const { return style_; }
    void SetStyle(Vcl::TComboBoxStyle style);
    int DropDownCount() const;
    void SetDropDownCount(int count);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    int MaxLength() const;
    void SetMaxLength(int length);
    Vcl::TEditCharCase CharCase() const;
    void SetCharCase(Vcl::TEditCharCase charCase);
    TStrings* Items() const { return items_; }

protected:
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    bool ClickOnMouseRelease() const override { return false; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

private:
    ComboWidget* Combo() const;
    void Activated();
    void AttachEditor();
    int SortedPosition(const QString& text) const;
    void KeepNoSelection(const QString& shownText);
    void Select(int index);

    TStrings* items_;
    QPointer<EditInputRule> rule_;
    std::vector<QPointer<QObject>> objects_;
    Vcl::TComboBoxStyle style_ = Vcl::TComboBoxStyle::csDropDown;
    bool sorted_ = false;
    int maxLength_ = 0;
    Vcl::TEditCharCase charCase_ = Vcl::TEditCharCase::ecNormal;
};

class TCustomComboBox : public TCustomCombo {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomComboBox(TComponent* owner = nullptr) : TCustomCombo(owner) {}
};

// OnChange fires only when the operator changes the selection or types.
class TComboBox : public TCustomComboBox {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(QByteArray Text READ Text WRITE SetText)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(Vcl::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(Vcl::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(TStrings* Items READ Items)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    KONFIDOR_PUBLISH_TAB_STOP
    KONFIDOR_PUBLISH_EDITOR_EVENTS
    Q_PROPERTY(TNotifyEvent OnSelect MEMBER OnSelect)
    Q_PROPERTY(TNotifyEvent OnDropDown MEMBER OnDropDown)
    Q_PROPERTY(TNotifyEvent OnCloseUp MEMBER OnCloseUp)
public:
    Q_INVOKABLE explicit TComboBox(TComponent* owner = nullptr) : TCustomComboBox(owner) {}
};

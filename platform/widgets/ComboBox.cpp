#include "platform/widgets/ComboBox.h"

#include "platform/Win1250.h"
#include "platform/widgets/EditInputRule.h"

#include <QComboBox>
#include <QLineEdit>
#include <functional>

// QComboBox without signals for its list opening and closing.
class ComboWidget : public QComboBox {
public:
    std::function<void()> onPopupShown;
    std::function<void()> onPopupHidden;

    void showPopup() override {
        if (onPopupShown)
            onPopupShown();
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        if (onPopupHidden)
            onPopupHidden();
    }
};

TCustomListControl::TCustomListControl(TComponent* owner) : TWinControl(owner, new QWidget) {}

TCustomCombo::TCustomCombo(TComponent* owner)
    : TCustomListControl(owner, new ComboWidget, Colors::clWindow), items_(new TStrings(this)) {
    SetTabStop(true);
    ApplyColor();
    SetBounds(0, 0, 145, 21);
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    Combo()->setMaxVisibleItems(8);
    Combo()->onPopupShown = [this] {
        Fire(OnDropDown);
    };
    Combo()->onPopupHidden = [this] {
        Fire(OnCloseUp);
    };
    connect(Combo(), &QComboBox::activated, this, &TCustomCombo::Activated);
    SetStyle(Vcl::TComboBoxStyle::csDropDown);
}

TCustomCombo::~TCustomCombo() {
    // The list may still close while the widget goes; this part is gone by then.
    Combo()->onPopupShown = nullptr;
    Combo()->onPopupHidden = nullptr;
}

ComboWidget* TCustomCombo::Combo() const {
    return static_cast<ComboWidget*>(Widget());
}

void TCustomCombo::ChooseAsOperator(int index) {
    SetItemIndex(index);
    Activated();
}

void TCustomCombo::Activated() {
    QPointer<TCustomCombo> alive(this);
    Fire(OnClick);
    if (alive)
        Fire(OnSelect);
    if (alive)
        Fire(OnChange);
}

void TCustomCombo::AddItem(const QByteArray& text, QObject* object) {
    const QString wide = Win1250::toWide(text);
    const int at = sorted_ ? SortedPosition(wide) : Combo()->count();
    const bool noneSelected = Combo()->currentIndex() < 0;
    const QString shown = Combo()->currentText();
    Combo()->insertItem(at, wide);
    objects_.insert(objects_.begin() + at, QPointer<QObject>(object));
    // QComboBox selects the first entry added; a new entry selects nothing here.
    if (noneSelected)
        KeepNoSelection(shown);
}

void TCustomCombo::KeepNoSelection(const QString& shownText) {
    Select(-1);
    if (rule_ && Combo()->isEditable())
        rule_->assign(Combo()->lineEdit(), shownText);
}

int TCustomCombo::SortedPosition(const QString& text) const {
    int at = 0;
    while (at < Combo()->count() &&
           QString::compare(Combo()->itemText(at), text, Qt::CaseInsensitive) <= 0)
        ++at;
    return at;
}

int TCustomCombo::ItemCount() const {
    return Combo()->count();
}

QObject* TCustomCombo::ItemObject(int index) const {
    if (index < 0 || index >= static_cast<int>(objects_.size()))
        return nullptr;
    return objects_[static_cast<size_t>(index)];
}

QByteArray TCustomCombo::ItemText(int index) const {
    return Win1250::fromWide(Combo()->itemText(index));
}

int TCustomCombo::ItemIndex() const {
    return Combo()->currentIndex();
}

void TCustomCombo::SetItemIndex(int index) {
    Select(index >= 0 && index < Combo()->count() ? index : -1);
}

void TCustomCombo::Select(int index) {
    if (rule_)
        rule_->programChange([&] { Combo()->setCurrentIndex(index); });
    else
        Combo()->setCurrentIndex(index);
}

QByteArray TCustomCombo::Text() const {
    return Win1250::fromWide(Combo()->currentText());
}

void TCustomCombo::SetText(const QByteArray& text) {
    const QString wide = Win1250::toWide(text);
    if (Combo()->isEditable()) {
        Combo()->setCurrentIndex(
            Combo()->findText(wide, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        rule_->assign(Combo()->lineEdit(), wide);
    } else {
        Combo()->setCurrentIndex(
            Combo()->findText(wide, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    }
}

void TCustomCombo::SetStyle(Vcl::TComboBoxStyle style) {
    style_ = style;
    const bool editable =
        style == Vcl::TComboBoxStyle::csDropDown || style == Vcl::TComboBoxStyle::csSimple;
    if (editable == Combo()->isEditable() && (!editable || rule_))
        return;
    Combo()->setEditable(editable);
    if (editable)
        AttachEditor();
}

// Each new editor (QComboBox makes one whenever it turns editable) limits
// typing and reports typing as a change.
void TCustomCombo::AttachEditor() {
    QLineEdit* editor = Combo()->lineEdit();
    rule_ = new EditInputRule(editor);
    rule_->setMaxLength(maxLength_);
    rule_->setCharCase(charCase_);
    editor->setValidator(rule_);
    WatchInner(editor);
    connect(editor, &QLineEdit::textEdited, this, [this] { Fire(OnChange); });
}

int TCustomCombo::DropDownCount() const {
    return Combo()->maxVisibleItems();
}

void TCustomCombo::SetDropDownCount(int count) {
    Combo()->setMaxVisibleItems(qMax(1, count));
}

void TCustomCombo::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (!sorted)
        return;
    // Re-insert the entries in order, keeping each entry's object.
    const int selected = Combo()->currentIndex();
    QObject* selectedObject = ItemObject(selected);
    const QString selectedText = Combo()->currentText();
    QList<QPair<QString, QPointer<QObject>>> entries;
    for (int i = 0; i < Combo()->count(); ++i)
        entries.append({Combo()->itemText(i), objects_[static_cast<size_t>(i)]});
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    Combo()->clear();
    objects_.clear();
    for (const auto& entry : entries) {
        Combo()->addItem(entry.first);
        objects_.push_back(entry.second);
    }
    KeepNoSelection(selectedText);
    for (int i = 0; selected >= 0 && i < Combo()->count(); ++i) {
        if (Combo()->itemText(i) == selectedText && ItemObject(i) == selectedObject)
            Select(i);
    }
}

int TCustomCombo::MaxLength() const {
    return maxLength_;
}

void TCustomCombo::SetMaxLength(int length) {
    maxLength_ = length;
    if (rule_)
        rule_->setMaxLength(length);
}

Vcl::TEditCharCase TCustomCombo::CharCase() const {
    return charCase_;
}

void TCustomCombo::SetCharCase(Vcl::TEditCharCase charCase) {
    charCase_ = charCase;
    if (rule_)
        rule_->setCharCase(charCase);
}

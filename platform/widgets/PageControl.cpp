#include "platform/widgets/PageControl.h"

#include "platform/Win1250.h"

#include <QEvent>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner, new QTabWidget) {}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner, new QTabWidget) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
    WatchInner(Tabs()->tabBar());
    connect(Tabs()->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        if (!programSelects_ && index >= 0 && index != Tabs()->currentIndex()) {
            changingAnnounced_ = true;
            Fire(OnChanging);
        }
    });
    connect(Tabs(), &QTabWidget::currentChanged, this, [this] {
        if (programSelects_)
            return;
        // A change by keyboard has had no click that announced it.
        QPointer<TPageControl> alive(this);
        if (!std::exchange(changingAnnounced_, false))
            Fire(OnChanging);
        if (alive)
            Fire(OnChange);
    });
}

QTabWidget* TPageControl::Tabs() const {
    return static_cast<QTabWidget*>(Widget());
}

int TPageControl::TabIndex() const {
    return Tabs()->currentIndex();
}

void TPageControl::SetTabIndex(int index) {
    QScopedValueRollback quiet(programSelects_, true);
    if (index >= 0 && index < Tabs()->count())
        Tabs()->setCurrentIndex(index);
}

void TPageControl::SetMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    // Qt has no rows of tabs: a multi-line page control shows every tab
    // without scroll buttons instead.
    Tabs()->setUsesScrollButtons(!multiLine);
    Tabs()->tabBar()->setExpanding(multiLine);
}

void TPageControl::SetTabPosition(Vcl::TTabPosition position) {
    tabPosition_ = position;
    static constexpr QTabWidget::TabPosition positions[] = {QTabWidget::North, QTabWidget::South,
                                                            QTabWidget::West, QTabWidget::East};
    Tabs()->setTabPosition(positions[static_cast<int>(position)]);
}

void TPageControl::SetStyle(Vcl::TTabStyle style) {
    style_ = style;
    Tabs()->setDocumentMode(style != Vcl::TTabStyle::tsTabs);
}

void TPageControl::SetTabHeight(int height) {
    tabHeight_ = height;
    ApplyTabSize();
}

void TPageControl::SetTabWidth(int width) {
    tabWidth_ = width;
    ApplyTabSize();
}

void TPageControl::ApplyTabSize() {
    QString rule;
    if (tabHeight_ > 0)
        rule += QStringLiteral("height: %1px;").arg(tabHeight_);
    if (tabWidth_ > 0)
        rule += QStringLiteral("width: %1px;").arg(tabWidth_);
    Tabs()->tabBar()->setStyleSheet(
        rule.isEmpty() ? QString() : QStringLiteral("QTabBar::tab { %1 }").arg(rule));
}

TTabSheet* TPageControl::ActivePage() const {
    return qobject_cast<TTabSheet*>(ControlOf(Tabs()->currentWidget()));
}

int TPageControl::PageCount() const {
    return Tabs()->count();
}

TTabSheet* TPageControl::Page(int index) const {
    return qobject_cast<TTabSheet*>(ControlOf(Tabs()->widget(index)));
}

void TPageControl::InsertControl(TControl* control) {
    QScopedValueRollback quiet(programSelects_, true);
    TCustomTabControl::InsertControl(control);
    if (auto* sheet = qobject_cast<TTabSheet*>(control)) {
        Tabs()->addTab(sheet->Widget(), Win1250::toWide(sheet->Caption()));
        UpdatePage(sheet);
    }
}

void TPageControl::RemoveControl(TControl* control) {
    QScopedValueRollback quiet(programSelects_, true);
    if (const int index = Tabs()->indexOf(control->Widget()); index >= 0)
        Tabs()->removeTab(index);
    TCustomTabControl::RemoveControl(control);
}

void TPageControl::UpdatePage(TTabSheet* sheet) {
    const int index = Tabs()->indexOf(sheet->Widget());
    if (index < 0)
        return;
    Tabs()->setTabText(index, Win1250::toWide(sheet->Caption()));
    Tabs()->setTabVisible(index, sheet->TabVisible());
}

void TPageControl::MovePage(TTabSheet* sheet, int index) {
    QScopedValueRollback quiet(programSelects_, true);
    const int from = Tabs()->indexOf(sheet->Widget());
    if (from >= 0 && index >= 0 && index < Tabs()->count())
        Tabs()->tabBar()->moveTab(from, index);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner, new QWidget) {
    SetBounds(0, 0, 281, 165);
}

TPageControl* TTabSheet::PageControl() const {
    return qobject_cast<TPageControl*>(Parent());
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    SetParent(pageControl);
}

void TTabSheet::UpdateShowing() {
    // The page control shows its current page itself.
    if (!PageControl())
        TWinControl::UpdateShowing();
}

void TTabSheet::SetCaption(const QByteArray& caption) {
    caption_ = caption;
    if (TPageControl* pages = PageControl())
        pages->UpdatePage(this);
}

int TTabSheet::PageIndex() const {
    const TPageControl* pages = PageControl();
    return pages ? pages->Tabs()->indexOf(Widget()) : -1;
}

void TTabSheet::SetPageIndex(int index) {
    if (TPageControl* pages = PageControl())
        pages->MovePage(this, index);
}

void TTabSheet::SetTabVisible(bool visible) {
    tabVisible_ = visible;
    if (TPageControl* pages = PageControl())
        pages->UpdatePage(this);
}

bool TTabSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Widget() && !Quiet()) {
        switch (event->type()) {
        case QEvent::Show:
            Fire(OnShow);
            break;
        case QEvent::Hide:
            Fire(OnHide);
            break;
        case QEvent::Resize:
            Fire(OnResize);
            break;
        default:
            break;
        }
    }
    return TWinControl::eventFilter(watched, event);
}

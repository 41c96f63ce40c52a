#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

class QTabWidget;
class TTabSheet;

class TCustomTabControl : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomTabControl(TComponent* owner = nullptr);

protected:
    using TWinControl::TWinControl;
};

// Pages with tabs. TabIndex selects a page; OnChanging and OnChange fire only
// when the operator changes the page (changing stays allowed).
class TPageControl : public TCustomTabControl {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(int TabIndex READ TabIndex WRITE SetTabIndex)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE SetMultiLine)
    Q_PROPERTY(Vcl::TTabPosition TabPosition READ TabPosition WRITE SetTabPosition)
    Q_PROPERTY(Vcl::TTabStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)
    Q_CLASSINFO("Range:TabHeight", "-32768..32767")
    Q_PROPERTY(int TabWidth READ TabWidth WRITE SetTabWidth)
    Q_CLASSINFO("Range:TabWidth", "-32768..32767")
    Q_PROPERTY(TTabSheet* ActivePage READ ActivePage)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    KONFIDOR_PUBLISH_TAB_STOP
    Q_PROPERTY(TNotifyEvent OnChange MEMBER OnChange)
    Q_PROPERTY(TTabChangingEvent OnChanging MEMBER OnChanging)
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
    KONFIDOR_PUBLISH_FOCUS_EVENTS
    KONFIDOR_PUBLISH_MOUSE_EVENTS
public:
    Q_INVOKABLE explicit TPageControl(TComponent* owner = nullptr);

    int TabIndex() const;
    void SetTabIndex(int index);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    Vcl::TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(Vcl::TTabPosition position);
    Vcl::TTabStyle Style() const { return style_; }
    void SetStyle(Vcl::TTabStyle style);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int height);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width);
    TTabSheet* ActivePage() const;

    int PageCount() const;
    TTabSheet* Page(int index) const;

protected:
    void InsertControl(TControl* control) override;
    void RemoveControl(TControl* control) override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

private:
    friend class TTabSheet;
    QTabWidget* Tabs() const;
    void ApplyTabSize();
    void UpdatePage(TTabSheet* sheet);
    void MovePage(TTabSheet* sheet, int index);

    bool multiLine_ = false;
    Vcl::TTabPosition tabPosition_ = Vcl::TTabPosition::tpTop;
    Vcl::TTabStyle style_ = Vcl::TTabStyle::tsTabs;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    bool programSelects_ = false;
    bool changingAnnounced_ = false;
};

// A page of a page control: placing it in a page control (Parent or
// PageControl) makes it a page with a tab.
class TTabSheet : public TWinControl {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
    Q_PROPERTY(bool TabVisible READ TabVisible WRITE SetTabVisible)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(TNotifyEvent OnShow MEMBER OnShow)
    Q_PROPERTY(TNotifyEvent OnHide MEMBER OnHide)
    Q_PROPERTY(TNotifyEvent OnResize MEMBER OnResize)
    KONFIDOR_PUBLISH_FOCUS_EVENTS
    KONFIDOR_PUBLISH_MOUSE_EVENTS
public:
    Q_INVOKABLE explicit TTabSheet(TComponent* owner = nullptr);

    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* pageControl);

    const QByteArray& Caption() const { return caption_; }
    void SetCaption(const QByteArray& caption);
    int PageIndex() const;
    void SetPageIndex(int index);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void UpdateShowing() override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnResize;

private:
    QByteArray caption_;
    bool tabVisible_ = true;
    int imageIndex_ = 0;
};

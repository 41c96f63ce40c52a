#pragma once

// Groups of published properties that several control classes share. Each
// class publishes exactly the groups that it has, so lookups by name find
// only what the class really offers. (moc expands these macros.)

// Every concrete control.
#define KONFIDOR_PUBLISH_SHOWING                                                                   \
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)                                         \
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)                                      \
    Q_PROPERTY(TSizeConstraints* Constraints READ Constraints)

// Every concrete control but the bevel.
#define KONFIDOR_PUBLISH_INPUT                                                                     \
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)                                         \
    Q_PROPERTY(TFont* Font READ Font)                                                              \
    Q_PROPERTY(TPopupMenu* PopupMenu READ PopupMenu)

// Every concrete control but the tab sheet.
#define KONFIDOR_PUBLISH_ANCHORS Q_PROPERTY(Vcl::TAnchors Anchors READ Anchors WRITE SetAnchors)

#define KONFIDOR_PUBLISH_MOUSE_EVENTS                                                              \
    Q_PROPERTY(TMouseEvent OnMouseDown MEMBER OnMouseDown)                                         \
    Q_PROPERTY(TMouseEvent OnMouseUp MEMBER OnMouseUp)                                             \
    Q_PROPERTY(TMouseMoveEvent OnMouseMove MEMBER OnMouseMove)                                     \
    Q_PROPERTY(TContextPopupEvent OnContextPopup MEMBER OnContextPopup)

#define KONFIDOR_PUBLISH_KEY_EVENTS                                                                \
    Q_PROPERTY(TKeyEvent OnKeyDown MEMBER OnKeyDown)                                               \
    Q_PROPERTY(TKeyEvent OnKeyUp MEMBER OnKeyUp)                                                   \
    Q_PROPERTY(TKeyPressEvent OnKeyPress MEMBER OnKeyPress)

#define KONFIDOR_PUBLISH_FOCUS_EVENTS                                                              \
    Q_PROPERTY(TNotifyEvent OnEnter MEMBER OnEnter)                                                \
    Q_PROPERTY(TNotifyEvent OnExit MEMBER OnExit)

#define KONFIDOR_PUBLISH_TAB_STOP                                                                  \
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)                                       \
    Q_CLASSINFO("Range:TabOrder", "-1..32767")                                                     \
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

// The events of the controls that take typed input: edits, spin edits, combo boxes.
#define KONFIDOR_PUBLISH_EDITOR_EVENTS                                                             \
    Q_PROPERTY(TNotifyEvent OnChange MEMBER OnChange)                                              \
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)                                                \
    Q_PROPERTY(TNotifyEvent OnDblClick MEMBER OnDblClick)                                          \
    KONFIDOR_PUBLISH_FOCUS_EVENTS                                                                  \
    KONFIDOR_PUBLISH_KEY_EVENTS                                                                    \
    KONFIDOR_PUBLISH_MOUSE_EVENTS

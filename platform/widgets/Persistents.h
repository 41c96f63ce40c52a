#pragma once

#include "platform/components/Component.h"
#include "platform/widgets/ControlTypes.h"

#include <QByteArray>

// Helper objects that controls publish as class properties. Sheets cannot set
// class properties; scripts and the program reach their own properties.

// A control's font. Changes reach the control through `changed`.
class TFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QByteArray Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(Vcl::TFontStyles Style READ Style WRITE SetStyle)
public:
    Q_INVOKABLE explicit TFont(QObject* parent = nullptr) : TPersistent(parent) {}

    const QByteArray& Name() const { return name_; }
    void SetName(const QByteArray& name);
    int Size() const { return size_; }
    void SetSize(int size);
    Vcl::TFontStyles Style() const { return style_; }
    void SetStyle(Vcl::TFontStyles style);

signals:
    void changed();

private:
    QByteArray name_ = "MS Sans Serif";
    int size_ = 8;
    Vcl::TFontStyles style_;
};

// Size limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(int MinWidth MEMBER minWidth_ NOTIFY changed)
    Q_PROPERTY(int MinHeight MEMBER minHeight_ NOTIFY changed)
    Q_PROPERTY(int MaxWidth MEMBER maxWidth_ NOTIFY changed)
    Q_PROPERTY(int MaxHeight MEMBER maxHeight_ NOTIFY changed)
public:
    Q_INVOKABLE explicit TSizeConstraints(QObject* parent = nullptr) : TPersistent(parent) {}
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }

signals:
    void changed();

private:
    int minWidth_ = 0;
    int minHeight_ = 0;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
};

// The entries of a list control, published so that sheets see the property.
class TStrings : public TPersistent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TStrings(QObject* parent = nullptr) : TPersistent(parent) {}
};

// Context menus are not built from sheets; the type exists for the
// PopupMenu property, which always reads as none.
class TPopupMenu : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TPopupMenu(TComponent* owner = nullptr) : TComponent(owner) {}
};

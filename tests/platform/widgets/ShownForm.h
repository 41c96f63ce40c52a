#pragma once

#include "platform/Error.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/ApplicationStyle.h"
#include "platform/widgets/Form.h"
#include "support/EventProbe.h"

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

// A form on screen (offscreen platform) for driving widgets through the
// window handle, so that input goes where a real operator's would.
struct ShownForm {
    TForm form;

    ShownForm() { form.SetBounds(0, 0, 400, 300); }

    template <typename Control> Control* add(int left, int top, int width, int height) {
        auto* control = new Control(&form);
        control->SetParent(&form);
        control->SetBounds(left, top, width, height);
        return control;
    }

    void show() {
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    }

    QWindow* window() const { return form.Widget()->windowHandle(); }

    // Where a control's point lies in the window.
    QPoint at(const TControl* control, QPoint inside = {3, 3}) const {
        return control->Widget()->mapTo(form.Widget(), inside);
    }
    QPoint centreOf(const TControl* control) const {
        return at(control, control->Widget()->rect().center());
    }

    void click(const TControl* control) {
        QTest::mouseClick(window(), Qt::LeftButton, {}, centreOf(control));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window(), key, modifiers);
    }
    void type(const char* text) {
        for (; *text; ++text)
            QTest::keyClick(window(), *text);
    }
    void focus(const TControl* control) {
        control->Widget()->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return control->Widget()->hasFocus() ||
                   control->Widget()->isAncestorOf(QApplication::focusWidget());
        }));
    }
};

// Binds an event of the instance to the probe's Execute.
inline void bind(QObject* instance, const char* event, EventProbe& probe) {
    BindEvent(instance, event, FindPublishedMethod(&probe, "Execute"));
}

// Widget tests run with the program's own font and style, so that sizes are
// the ones sheets are laid out for.
class ProgramAppearance : public ::testing::Environment {
public:
    void SetUp() override { SetUpApplicationStyle(*qApp); }
};

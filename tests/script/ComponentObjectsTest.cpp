#include "script/ComponentObjects.h"

#include "ScriptTestRig.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"

#include <QTest>

// An event binding that runs a script, as sheets bind widget events.
class ScriptEvent : public QObject {
    Q_OBJECT
public:
    ScriptEvent(TScript& script, const char* text) : script_(script), text_(text) {}
    Q_INVOKABLE void Execute(QObject*) { script_.Run(text_); }

private:
    TScript& script_;
    QByteArray text_;
};

namespace {

using Names = QStringList;

// The engine over the real sheet widgets: a form W with an edit E and a combo
// box C (entries "zero", "one", "two").
class ComponentScriptTest : public ::testing::Test {
protected:
    ComponentScriptTest() {
        W = add<TForm>("W", nullptr);
        E = add<TEdit>("E", W);
        C = add<TComboBox>("C", W);
        for (const char* entry : {"zero", "one", "two"})
            C->AddItem(entry, nullptr);
    }
    ~ComponentScriptTest() override { delete W; }

    template <typename T> T* add(const char* name, TForm* form) {
        T* component = new T(form);
        if constexpr (!std::is_same_v<T, TForm>)
            component->SetParent(form);
        component->SetName(name);
        host.registry.append(component);
        return component;
    }
    void bind(QObject* widget, const char* event, const char* text) {
        auto* handler = new ScriptEvent(script, text);
        handler->setParent(widget);
        BindEvent(widget, event, FindPublishedMethod(handler, "Execute"));
    }
    void run(const char* text) { script.Run(text); }

    RecordingHost host;
    ComponentObjects objects;
    TScript script{host, objects, nullptr};
    QPointer<TForm> W;
    QPointer<TEdit> E;
    QPointer<TComboBox> C;
};

TEST_F(ComponentScriptTest, StatementsOnSheetWidgets) {
    C->SetItemIndex(1);
    run("E.Text:=C.Text; W.Caption:=E.Text+1+1;");
    EXPECT_EQ(E->Text(), "one");
    EXPECT_EQ(W->Caption(), "one11");
    run("E.Enabled:=C.ItemIndex=2; E.Text:=E.Enabled; C.ItemIndex:=E.Text=False;");
    EXPECT_FALSE(E->Enabled());
    EXPECT_EQ(E->Text(), "False");
    EXPECT_EQ(C->ItemIndex(), -1);
    run("W.Show; E.Show; W.Caption;");
    EXPECT_TRUE(W->Widget()->isVisible());
    run("W.Hide;");
    EXPECT_FALSE(W->Widget()->isVisible());
    EXPECT_EQ(host.calls, Names{"Message:Object Form don't support this function or property!"});
}

TEST_F(ComponentScriptTest, ErrorOfAChangeEventEndsTheAssigningScript) {
    bind(E, "OnChange", "Nope.Tag:=1;");
    C->SetItemIndex(1);
    EXPECT_EQ(errorOf([&] { run("E.Text:=changed; C.ItemIndex:=2;"); }),
              "Script - No object to assign 'Tag' to");
    EXPECT_EQ(E->Text(), "changed");
    EXPECT_EQ(C->ItemIndex(), 1);
}

// A button's click frees its own form; the next statement no longer finds it.
TEST_F(ComponentScriptTest, ClickThatFreesItsOwnForm) {
    for (const char* text : {"W.Destroy; W.Hide;", "Release; W.Hide;"}) {
        if (!W) {
            W = add<TForm>("W", nullptr);
            host.registry.removeAll(nullptr);
        }
        auto* button = add<TButton>("B", W);
        bind(button, "OnClick", text);
        QPointer<TButton> alive(button);
        W->Show();
        button->Click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return W.isNull() && alive.isNull(); })) << text;
        EXPECT_EQ(host.calls.last(), "HideMain") << text;
    }
}

} // namespace

#include "ComponentObjectsTest.moc"

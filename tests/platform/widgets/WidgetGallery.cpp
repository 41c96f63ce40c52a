// Builds a form with one control of each sheet class, laid out at the sizes
// sheets use (13-pixel labels, 21-pixel edits, 25-pixel buttons), and saves a
// picture of it: konfidor_widget_gallery <file.png>. Run it under xvfb-run to
// see the controls as an X server draws them.
#include "platform/Win1250.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/ApplicationStyle.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MenuItem.h"
#include "platform/widgets/PageControl.h"
#include "platform/widgets/SpinEdit.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

namespace {

template <typename Control>
Control* place(TWinControl* parent, int left, int top, int width, int height) {
    auto* control = new Control(parent);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

void set(QObject* control, const char* property, const char* utf8) {
    SetPropValue(control, property, Variant::fromWideText(QString::fromUtf8(utf8)));
}

void label(TWinControl* parent, int left, int top, const char* caption) {
    set(place<TLabel>(parent, left, top, 100, 13), "Caption", caption);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplicationStyle(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: konfidor_widget_gallery <file.png>\n");
        return 2;
    }

    TForm form;
    set(&form, "Caption", "Nastavení převodníku");
    form.SetClientWidth(440);
    form.SetClientHeight(290);

    auto* pages = place<TPageControl>(&form, 8, 8, 424, 236);
    auto* network = new TTabSheet(pages);
    set(network, "Caption", "Síť");
    network->SetPageControl(pages);
    auto* serial = new TTabSheet(pages);
    set(serial, "Caption", "Sériová linka");
    serial->SetPageControl(pages);

    auto* box = place<TGroupBox>(network, 8, 6, 400, 120);
    set(box, "Caption", "Parametry sítě");
    label(box, 12, 24, "IP adresa:");
    set(place<TEdit>(box, 132, 20, 140, 21), "Text", "192.168.1.254");
    label(box, 12, 54, "Heslo zařízení:");
    auto* password = place<TEdit>(box, 132, 50, 140, 21);
    set(password, "PasswordChar", "42");
    set(password, "Text", "tajné");
    label(box, 12, 84, "Časový limit (s):");
    auto* timeout = place<TSpinEdit>(box, 132, 80, 70, 22);
    set(timeout, "MaxValue", "600");
    set(timeout, "Value", "30");

    label(network, 16, 140, "Rychlost linky:");
    auto* speed = place<TComboBox>(network, 140, 136, 140, 21);
    set(speed, "Style", "2");
    for (const char* item : {"9600 Bd", "19200 Bd", "115200 Bd"})
        speed->AddItem(Win1250::fromWide(QString::fromUtf8(item)), nullptr);
    speed->SetItemIndex(2);
    auto* note = place<TLabel>(network, 16, 168, 390, 26);
    set(note, "AutoSize", "0");
    set(note, "WordWrap", "1");
    set(note, "Caption",
        "Změny se projeví po uložení, převodník se poté sám restartuje a přihlášení je nutné "
        "zopakovat.");

    place<TBevel>(&form, 8, 252, 424, 2)->SetShape(Vcl::TBevelShape::bsTopLine);
    auto* save = place<TButton>(&form, 270, 260, 75, 25);
    set(save, "Caption", "&Uložit");
    set(save, "Default", "1");
    auto* cancel = place<TButton>(&form, 357, 260, 75, 25);
    set(cancel, "Caption", "Zrušit");
    new TMenuItem(&form); // the menu item class has no window to show

    form.Show();
    if (!QTest::qWaitForWindowExposed(form.Widget()))
        return 1;
    QTest::qWait(200);
    return form.Widget()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}

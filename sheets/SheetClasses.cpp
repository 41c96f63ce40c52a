#include "sheets/SheetClasses.h"

#include "platform/components/ClassRegistry.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/GroupBox.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PageControl.h"
#include "platform/widgets/SpinEdit.h"

void RegisterSheetClasses() {
    RegisterClasses({&TForm::staticMetaObject, &TButton::staticMetaObject,
                     &TLabel::staticMetaObject, &TBevel::staticMetaObject, &TEdit::staticMetaObject,
                     &TSpinEdit::staticMetaObject, &TComboBox::staticMetaObject,
                     &TGroupBox::staticMetaObject, &TPageControl::staticMetaObject,
                     &TTabSheet::staticMetaObject});
}

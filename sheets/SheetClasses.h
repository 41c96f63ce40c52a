#pragma once

// Registers the ten widget classes that sheets may name (Form, Button, Label,
// Bevel, Edit, SpinEdit, ComboBox, GroupBox, PageControl, TabSheet) with their
// ancestors. The main window calls it once at start-up; calling it again
// changes nothing.
void RegisterSheetClasses();

// Any text run as a script of the rig's sample sheet: statements, function
// definitions and calls, and the windows' commands.
#include "FuzzSheetRig.h"
#include "FuzzTargets.h"

void FuzzTargets::script(const QByteArray& bytes) {
    FuzzSheetRig rig;
    rig.build(FuzzSheetRig::SampleSheet);
    rig.run(bytes);
}

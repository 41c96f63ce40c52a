// Any bytes as the one sheet file next to the program: found, built against the
// rig's device configuration, and freed.
#include "FuzzSheetRig.h"
#include "FuzzTargets.h"

void FuzzTargets::sheet(const QByteArray& bytes) {
    FuzzSheetRig rig;
    rig.build(bytes);
}

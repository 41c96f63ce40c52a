#include "FuzzTargets.h"

#include "platform/EntryGuard.h"
#include "platform/dialogs/OperatorDialogs.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// Every message box answered at once, as the check mode answers them.
class AnsweringDialogs : public OperatorDialogs {
public:
    QString chooseFileToWrite(const QString&, const QString&) override { return {}; }

protected:
    DialogAnswer present(const DialogRequest& request) override {
        return request.kind == DialogKind::Question ? DialogAnswer::No : DialogAnswer::Ok;
    }
};

} // namespace

void FuzzTargets::prepareProcess() {
    static AnsweringDialogs dialogs;
    OperatorDialogs::install(&dialogs);
    EntryGuard::setReporter([](const QString&) {});
    // The link stores each configuration in the working directory.
    static QTemporaryDir workDirectory;
    QDir::setCurrent(workDirectory.path());
}

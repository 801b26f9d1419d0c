#include "app/shell/program_starter.h"

#include <QProcess>
#include <QStandardPaths>

namespace kelvor::app {

bool DetachedProcessStarter::StartDetached(const QString& program, const QStringList& arguments,
                                           const QString& folder) {
    return QProcess::startDetached(program, arguments, folder);
}

bool DetachedProcessStarter::IsInstalled(const QString& program) const {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace kelvor::app

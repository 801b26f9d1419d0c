#pragma once

#include <QString>
#include <QStringList>

namespace kelvor::app {

// Starting other programs without waiting for them: the desktop's opener, a typed program, a
// terminal. Behind an interface so that no test starts a real program.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the program in the folder and returns at once; false when it cannot be started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments,
                               const QString& folder) = 0;
    // Whether a program of that name is on the search path.
    virtual bool IsInstalled(const QString& program) const = 0;
};

class DetachedProcessStarter : public ProgramStarter {
public:
    bool StartDetached(const QString& program, const QStringList& arguments,
                       const QString& folder) override;
    bool IsInstalled(const QString& program) const override;
};

} // namespace kelvor::app

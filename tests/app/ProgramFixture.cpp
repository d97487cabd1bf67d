#include "tests/app/ProgramFixture.h"

#include "controls/DirectoryListBox.h"
#include "platform/drives/Files.h"

#include <QTest>

ProgramFixture::ProgramFixture(const QString &workingDirectory, const QString &machineIni)
    : machine(machineIni),
      m_workingDirectory(workingDirectory)
{
    if (!platform::directoryExists(workingDirectory))
        machine.makeDirectory(workingDirectory);
}

QString ProgramFixture::settingsFile() const
{
    return platform::withoutRootBackslash(m_workingDirectory) + QStringLiteral("\\Orvel.ini");
}

TForm1 &ProgramFixture::start()
{
    m_windows.reset();
    if (platform::setCurrentDirectory(m_workingDirectory) != platform::dos::Ok)
        qFatal("cannot enter %s", qPrintable(m_workingDirectory));
    m_windows.emplace(createProgramWindows());
    TForm1 &form1 = *m_windows->form1;
    form1.show();
    if (!QTest::qWaitFor([&form1] { return form1.startupDone(); }, 5000))
        qFatal("the main window's start-up work did not run");
    return form1;
}

#include "tests/app/ProgramFixture.h"

#include "controls/DirectoryListBox.h"
#include "platform/Files.h"

#include <QTest>

ProgramFixture::ProgramFixture(const QString &workingDirectory)
    : m_workingDirectory(workingDirectory)
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
    m_aboutBox.reset();
    m_form6.reset();
    m_form5.reset();
    m_notfall.reset();
    m_restore.reset();
    form1.reset();
    if (platform::setCurrentDirectory(m_workingDirectory) != platform::dos::Ok)
        qFatal("cannot enter %s", qPrintable(m_workingDirectory));
    form1 = std::make_unique<TForm1>();
    m_restore = std::make_unique<TRestore>();
    m_notfall = std::make_unique<TNotfall>();
    m_form5 = std::make_unique<TForm5>();
    m_form6 = std::make_unique<TForm6>(form1->DirectoryListBox1);
    m_aboutBox = std::make_unique<TAboutBox>();
    form1->setDialogs(m_restore.get(), m_notfall.get(), m_form5.get(), m_form6.get(), m_aboutBox.get());
    form1->show();
    if (!QTest::qWaitFor([this] { return form1->startupDone(); }, 5000))
        qFatal("the main window's start-up work did not run");
    return *form1;
}

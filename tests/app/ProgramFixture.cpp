#include "tests/app/ProgramFixture.h"

#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "platform/drives/Files.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

TForm1 &ProgramFixture::start(Dialogs dialogs)
{
    m_windows.reset();
    if (platform::setCurrentDirectory(m_workingDirectory) != platform::dos::Ok)
        qFatal("cannot enter %s", qPrintable(m_workingDirectory));
    m_windows.emplace(dialogs == Dialogs::AtStart ? createProgramWindows() : createMainWindow());
    TForm1 &form1 = *m_windows->form1;
    if (dialogs == Dialogs::WhenNeeded)
        form1.setDialogMaker([this] { createDialogs(*m_windows); });
    form1.show();
    if (!QTest::qWaitFor([&form1] { return form1.startupDone(); }, 5000))
        qFatal("the main window's start-up work did not run");
    return form1;
}

void pressInDialogs(const QStringList &buttons, const std::function<void()> &action, QChar drive,
                    QString *driveShown)
{
    QStringList left = buttons;
    QWidget *pressed = nullptr;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (left.isEmpty() || !modal || modal == pressed || !modal->isVisible()
            || QApplication::activeWindow() != modal)
            return;
        pressed = modal;
        if (auto *box = modal->findChild<controls::DriveComboBox *>(QStringLiteral("DriveComboBox1"));
            box && !drive.isNull()) {
            box->setDrive(drive);
            if (driveShown)
                *driveShown = box->currentText();
        }
        modal->findChild<QPushButton *>(left.takeFirst())->click();
        if (left.isEmpty())
            modal->close();
    });
    watcher.start();
    action();
}

#include "tests/support/TestMachine.h"

#include "platform/drives/Files.h"
#include "platform/drives/Pc.h"

#include <QDir>
#include <QFile>

namespace {

const QString DefaultIni = QStringLiteral("[Windows]\n"
                                          "Directory=C:\\WINDOWS\n"
                                          "[Drives]\n"
                                          "A=floppy,floppy-a.img\n"
                                          "C=fixed,drive_c\n"
                                          "D=fixed,drive_d\n"
                                          "E=cdrom\n"
                                          "F=cdrom,cd-f\n");

[[noreturn]] void abortSetUp(const QString &what, int code, const QString &path)
{
    qFatal("TestMachine: %s %s failed with DOS error %d", qPrintable(what), qPrintable(path), code);
}

void check(const QString &what, int code, const QString &path)
{
    if (code != platform::dos::Ok)
        abortSetUp(what, code, path);
}

}  // namespace

TestMachine::TestMachine()
{
    install(DefaultIni);
}

TestMachine::TestMachine(const QString &machineIni)
{
    install(machineIni.isEmpty() ? DefaultIni : machineIni);
}

TestMachine::~TestMachine() = default;

QString TestMachine::folder() const
{
    return m_dir.path();
}

void TestMachine::makeCurrent()
{
    m_pc->makeCurrent();
}

void TestMachine::install(const QString &machineIni)
{
    if (!m_dir.isValid())
        qFatal("TestMachine: no temporary folder: %s", qPrintable(m_dir.errorString()));
    const QDir root(m_dir.path());
    for (const char *folder : {"drive_c/WINDOWS/TEMP", "drive_d", "cd-f"}) {
        if (!root.mkpath(QString::fromLatin1(folder)))
            qFatal("TestMachine: cannot create %s", folder);
    }
    QFile ini(root.filePath(QStringLiteral("machine.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(machineIni.toUtf8()) < 0)
        qFatal("TestMachine: cannot write machine.ini");
    ini.close();

    QString error;
    auto machine = platform::Machine::load(m_dir.path(), &error);
    if (!machine)
        qFatal("TestMachine: %s", qPrintable(error));
    m_pc = std::make_unique<platform::Pc>(std::move(machine));
    m_pc->makeCurrent();
    if (platform::machine().drive(u'C'))
        check(QStringLiteral("entering"), platform::setCurrentDirectory(QStringLiteral("C:\\")),
              QStringLiteral("C:\\"));
}

QString TestMachine::host(const QString &windowsPath) const
{
    const auto found = platform::hostPathOf(windowsPath);
    if (found.ok())
        return found.value;
    const QString parent = platform::directoryPart(windowsPath);
    if (parent.isEmpty() || parent == windowsPath)
        return {};
    const QString parentHost = host(parent);
    return parentHost.isEmpty() ? QString() : parentHost + u'/' + platform::fileNamePart(windowsPath);
}

void TestMachine::writeFile(const QString &windowsPath, const QByteArray &bytes, quint8 attributes)
{
    check(QStringLiteral("creating the directory of"),
          platform::forceDirectories(platform::directoryPart(windowsPath)), windowsPath);
    if (platform::fileExists(windowsPath))
        check(QStringLiteral("clearing attributes of"), platform::setFileAttributes(windowsPath, 0),
              windowsPath);
    check(QStringLiteral("writing"), platform::writeFile(windowsPath, bytes), windowsPath);
    check(QStringLiteral("setting attributes of"), platform::setFileAttributes(windowsPath, attributes),
          windowsPath);
}

QByteArray TestMachine::readFile(const QString &windowsPath) const
{
    const auto bytes = platform::readFile(windowsPath);
    if (!bytes.ok())
        abortSetUp(QStringLiteral("reading"), bytes.error, windowsPath);
    return bytes.value;
}

void TestMachine::makeDirectory(const QString &windowsPath)
{
    check(QStringLiteral("creating"), platform::forceDirectories(windowsPath), windowsPath);
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace platform {
class Pc;
}

// A fresh simulated PC in a temporary folder, the current PC from its construction until it is
// destroyed or another one is made current. machine.ini:
//   [Windows] Directory=C:\WINDOWS
//   [Drives]  A=floppy,floppy-a.img  C=fixed,drive_c  D=fixed,drive_d  E=cdrom  F=cdrom,cd-f
// drive_c holds C:\WINDOWS and C:\WINDOWS\TEMP; drive_d and cd-f exist and are empty; no floppy
// image exists (no disk inserted). The current directory starts at C:\.
class TestMachine {
public:
    TestMachine();
    // machineIni replaces the default machine.ini text (empty: the default); the drive folders
    // above are still made.
    explicit TestMachine(const QString &machineIni);
    ~TestMachine();

    QString folder() const;

    // Makes this PC the one the platform acts on, for a test with more than one.
    void makeCurrent();

    // Host path for a Windows path, resolved case-insensitively as far as it exists.
    QString host(const QString &windowsPath) const;

    // Test set-up and inspection through the platform layer; they QFAIL-free abort on error.
    void writeFile(const QString &windowsPath, const QByteArray &bytes, quint8 attributes = 32);
    QByteArray readFile(const QString &windowsPath) const;
    void makeDirectory(const QString &windowsPath);

private:
    void install(const QString &machineIni);
    QTemporaryDir m_dir;
    std::unique_ptr<platform::Pc> m_pc;  // declared after m_dir: gone before its folder
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh simulated PC in a temporary folder, installed as the current machine for the test's
// lifetime. machine.ini:
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

    // Host path for a Windows path, resolved case-insensitively as far as it exists.
    QString host(const QString &windowsPath) const;

    // Test set-up and inspection through the platform layer; they QFAIL-free abort on error.
    void writeFile(const QString &windowsPath, const QByteArray &bytes, quint8 attributes = 32);
    QByteArray readFile(const QString &windowsPath) const;
    void makeDirectory(const QString &windowsPath);

private:
    void install(const QString &machineIni);
    QTemporaryDir m_dir;
};

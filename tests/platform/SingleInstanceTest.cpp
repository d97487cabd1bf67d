#include "platform/machine/SingleInstance.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstance;

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_runtime;
    QTemporaryDir m_machine;
    QTemporaryDir m_otherMachine;
    QString m_name;

    // The exit code of a child process that tries to take the name: 0 when it got it.
    int acquireInChild()
    {
        const pid_t child = ::fork();
        if (child == 0) {
            SingleInstance other(m_name, m_machine.path());
            ::_exit(other.acquire() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        QVERIFY(m_machine.isValid());
        QVERIFY(m_otherMachine.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        m_name = QStringLiteral("SCR03154-test-%1").arg(QCoreApplication::applicationPid());
    }

    void secondHolderIsRefused()
    {
        SingleInstance first(m_name, m_machine.path());
        QVERIFY(first.acquire());
        QVERIFY(first.acquire());
        SingleInstance second(m_name, m_machine.path());
        QVERIFY(!second.acquire());
        QCOMPARE(acquireInChild(), 1);
        SingleInstance otherName(m_name + QStringLiteral("-anders"), m_machine.path());
        QVERIFY(otherName.acquire());
    }

    void nameIsFreeAgainAfterTheHolderEnds()
    {
        {
            SingleInstance first(m_name, m_machine.path());
            QVERIFY(first.acquire());
        }
        QCOMPARE(acquireInChild(), 0);
        SingleInstance again(m_name, m_machine.path());
        QVERIFY(again.acquire());
    }

    // A simulated PC is one Windows session: the name is held per machine folder, however its
    // path is spelled.
    void eachMachineHasItsOwnLock()
    {
        SingleInstance first(m_name, m_machine.path());
        QVERIFY(first.acquire());
        SingleInstance otherMachine(m_name, m_otherMachine.path());
        QVERIFY(otherMachine.acquire());
        const QString link = m_runtime.filePath(QStringLiteral("verweis"));
        QVERIFY(QFile::link(m_machine.path(), link));
        SingleInstance throughLink(m_name, link + QStringLiteral("/."));
        QVERIFY(!throughLink.acquire());
    }

    void lockLivesInTheSessionFolder()
    {
        SingleInstance holder(m_name, m_machine.path());
        QVERIFY(holder.acquire());
        struct stat machine;
        QCOMPARE(::stat(QFile::encodeName(m_machine.path()).constData(), &machine), 0);
        const QString file = QStringLiteral("%1/%2-%3-%4-%5.lock")
                                 .arg(m_runtime.path(), m_name)
                                 .arg(::getuid())
                                 .arg(quint64(machine.st_dev))
                                 .arg(quint64(machine.st_ino));
        QVERIFY2(QFile::exists(file), qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"

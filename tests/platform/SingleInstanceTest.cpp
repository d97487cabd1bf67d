#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstance;

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_runtime;
    QString m_name;

    // The exit code of a child process that tries to take the name: 0 when it got it.
    int acquireInChild()
    {
        const pid_t child = ::fork();
        if (child == 0) {
            SingleInstance other(m_name);
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
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        m_name = QStringLiteral("SCR03154-test-%1").arg(QCoreApplication::applicationPid());
    }

    void secondHolderIsRefused()
    {
        SingleInstance first(m_name);
        QVERIFY(first.acquire());
        QVERIFY(first.acquire());
        SingleInstance second(m_name);
        QVERIFY(!second.acquire());
        QCOMPARE(acquireInChild(), 1);
        SingleInstance otherName(m_name + QStringLiteral("-anders"));
        QVERIFY(otherName.acquire());
    }

    void nameIsFreeAgainAfterTheHolderEnds()
    {
        {
            SingleInstance first(m_name);
            QVERIFY(first.acquire());
        }
        QCOMPARE(acquireInChild(), 0);
        SingleInstance again(m_name);
        QVERIFY(again.acquire());
    }

    void lockLivesInTheSessionFolder()
    {
        SingleInstance holder(m_name);
        QVERIFY(holder.acquire());
        const QString file = QStringLiteral("%1/%2-%3.lock").arg(m_runtime.path(), m_name).arg(::getuid());
        QVERIFY2(QFile::exists(file), qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"

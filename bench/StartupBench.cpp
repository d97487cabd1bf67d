// Times the program's start until the main window's first paint against an empty QMainWindow of
// the same size, each a fresh process, taking turns; prints the medians and the ratio. Without a
// display it starts its own Xvfb.
#include "bench/BenchSupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>
#include <optional>

namespace {

using namespace bench;

constexpr int ProbeTimeoutMs = 30'000;

struct Probe {
    QString program;
    QStringList arguments;
    QString workingDirectory;
};

struct Start {
    double milliseconds = 0;
    QString size;  // "width height" of the painted window
};

// From starting the process to its "painted" line; the process is then waited for, so that the
// next start does not overlap its end.
Start timeStart(const Probe &probe, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(probe.workingDirectory);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(probe.program, probe.arguments);
    QByteArray line;
    while (!line.endsWith('\n')) {
        if (!process.waitForReadyRead(ProbeTimeoutMs)) {
            process.kill();
            process.waitForFinished(ProbeTimeoutMs);
            throw Failure(probe.program.toStdString() + " did not paint: " + line.toStdString());
        }
        line += process.readAll();
    }
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    if (!process.waitForFinished(ProbeTimeoutMs)) {
        process.kill();
        process.waitForFinished(ProbeTimeoutMs);
        throw Failure(probe.program.toStdString() + " did not end after painting");
    }
    const QString text = QString::fromLatin1(line).trimmed();
    if (!text.startsWith(QLatin1String("painted ")))
        throw Failure(probe.program.toStdString() + " said: " + text.toStdString());
    return {milliseconds, text.mid(8)};
}

// An Xvfb of our own on a free display, ended with the object.
class OwnDisplay {
public:
    OwnDisplay()
    {
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        QByteArray number;
        while (!number.endsWith('\n')) {
            if (!m_server.waitForReadyRead(ProbeTimeoutMs))
                throw Failure("Xvfb did not start (is the xvfb package installed?)");
            number += m_server.readAllStandardOutput();
        }
        m_name = u':' + QString::fromLatin1(number.trimmed());
    }
    ~OwnDisplay()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(ProbeTimeoutMs))
            m_server.kill();
        m_server.waitForFinished(ProbeTimeoutMs);
    }
    OwnDisplay(const OwnDisplay &) = delete;
    OwnDisplay &operator=(const OwnDisplay &) = delete;

    QString name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Times the program's start to its first paint against an empty QMainWindow."));
    options.addHelpOption();
    const QCommandLineOption machineOption(
        QStringLiteral("machine"), QStringLiteral("A demo PC made by tools/demo-pc (required)."),
        QStringLiteral("folder"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Timed starts of each side."),
                                        QStringLiteral("n"), QStringLiteral("15"));
    options.addOptions({machineOption, runsOption});
    options.process(app);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const QString machine = options.value(machineOption);
    const QString programDirectory = machine + QStringLiteral("/drive_c/Programme/Velko Save");
    if (machine.isEmpty() || !QFileInfo(programDirectory).isDir()) {
        std::fprintf(stderr, "StartupBench: give --machine DIR, a demo PC made by tools/demo-pc\n");
        return 1;
    }

    try {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        std::optional<OwnDisplay> display;
        if (environment.value(QStringLiteral("DISPLAY")).isEmpty()) {
            display.emplace();
            environment.insert(QStringLiteral("DISPLAY"), display->name());
        }
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        const QString here = QCoreApplication::applicationDirPath();
        const Probe program{here + QStringLiteral("/StartupProbe"), {}, programDirectory};
        // The first start also takes the window's size for the anchor, and warms both sides' caches.
        const QString size = timeStart(program, environment).size;
        const Probe bare{here + QStringLiteral("/BareWindowProbe"), size.split(u' '), programDirectory};
        timeStart(bare, environment);

        QList<double> ours;
        QList<double> anchor;
        for (int run = 0; run < runs; ++run) {
            ours.append(timeStart(program, environment).milliseconds);
            anchor.append(timeStart(bare, environment).milliseconds);
        }
        const double oursMedian = median(ours);
        const double anchorMedian = median(anchor);
        std::printf("Start to first paint (window %s), median of %d starts\n\n", qPrintable(size), runs);
        std::printf("%-22s %10s\n", "", "ms");
        std::printf("%-22s %10.1f\n", "Velko Save", oursMedian);
        std::printf("%-22s %10.1f\n", "bare QMainWindow", anchorMedian);
        std::printf("%-22s %10.2f\n", "ratio", oursMedian / anchorMedian);
        std::printf("\nEach start (ms), in the order taken:\nVelko Save   %s\nQMainWindow  %s\n",
                    qPrintable(joined(ours)), qPrintable(joined(anchor)));
    } catch (const Failure &failure) {
        std::fprintf(stderr, "StartupBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}

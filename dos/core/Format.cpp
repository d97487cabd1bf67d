#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Floppy.h"
#include "platform/machine/Machine.h"

namespace dos {

namespace {

// FORMAT's exit codes, as MS-DOS documents them.
constexpr int Formatted = 0;
constexpr int Stopped = 3;  // Ctrl+C, or no answer came
constexpr int Failed = 4;  // a fatal error

struct FormatRequest {
    QChar drive;
    bool quick = false;
    std::optional<QString> label;  // empty optional: ask for it
};

// format X: [/V[:LABEL]] [/Q] [/U]; null after the reason was shown.
std::optional<FormatRequest> parseRequest(Interpreter &shell, const QStringList &arguments)
{
    FormatRequest request;
    QStringList drives;
    for (const QString &argument : arguments) {
        const QString upper = argument.toUpper();
        if (!isSwitch(argument)) {
            drives.append(argument);
        } else if (upper == u"/Q") {
            request.quick = true;
        } else if (upper.startsWith(QStringLiteral("/V:"))) {
            request.label = argument.mid(3);
        } else if (upper == u"/V") {
            request.label.reset();
        } else if (upper != u"/U") {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return std::nullopt;
        }
    }
    const auto drive = onlyDrive(shell, drives);
    if (!drive)
        return std::nullopt;
    request.drive = *drive;
    if (platform::machine().drive(request.drive)->kind != platform::DriveKind::Floppy) {
        shell.printLine(message::FormatNoFloppy.arg(request.drive));
        return std::nullopt;
    }
    return request;
}

// One disk: the insert prompt, the label when none was given, then the quick format. The exit code.
int formatOneDisk(Interpreter &shell, const FormatRequest &request)
{
    shell.printLine(message::FormatInsertDisk.arg(request.drive));
    shell.print(message::FormatPressEnter);
    if (!shell.readLine())
        return Stopped;
    shell.printLine();
    auto label = request.label;
    int error = platform::dos::Ok;
    for (;;) {
        if (!label) {
            shell.print(message::FormatLabelPrompt);
            label = shell.readLine();
            if (!label)
                return Stopped;
        }
        error = platform::formatFloppy(request.drive, *label);
        if (error != platform::dos::InvalidParameter)
            break;
        shell.printLine(message::FormatBadLabel);
        // A label typed at the prompt may be typed again; one given with /V ends the program.
        if (request.label)
            return Failed;
        label.reset();
    }
    if (error) {
        shell.printLine(message::forError(error));
        shell.printLine(message::FormatAborted);
        return Failed;
    }
    shell.printLine(message::FormatChecking);
    shell.printLine(request.quick ? message::FormatQuick : message::FormatFull);
    shell.printLine(message::FormatDone);
    if (!label->trimmed().isEmpty())
        shell.printLine(message::FormatLabel.arg(label->toUpper()));
    shell.printLine();
    return Formatted;
}

}  // namespace

// The disk always gets a fresh, empty file system; /Q only changes what the screen says.
int formatProgram(Interpreter &shell, const QStringList &arguments)
{
    const auto request = parseRequest(shell, arguments);
    if (!request)
        return Failed;
    for (;;) {
        if (const int code = formatOneDisk(shell, *request))
            return code;
        // An empty answer asks again; no answer at all ends the program as N would.
        for (;;) {
            shell.print(message::FormatAnother);
            const auto answer = shell.readLine();
            if (!answer)
                return Formatted;
            const QString choice = answer->trimmed().toUpper();
            if (choice.startsWith(u'N'))
                return Formatted;
            if (choice.startsWith(u'J'))
                break;
        }
    }
}

}  // namespace dos

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A help request as the help viewer (velko-winhelp, started by Desktop::showHelp) takes it on
// its command line:
//   velko-winhelp HELPFILE --topic N     the topic with context number N
//   velko-winhelp HELPFILE --contents    the contents ("Hilfethemen")
// HELPFILE is a host path. A request to a viewer that already runs travels in the same form.
namespace platform {

struct HelpRequest {
    QString helpFile;
    int command = 0;  // help::ShowTopic or help::ShowContents
    int topic = 0;
};

// The arguments after the program name; nothing when they are not a request.
std::optional<HelpRequest> parseHelpRequest(const QStringList &arguments);
QStringList helpRequestArguments(const HelpRequest &request);

}  // namespace platform

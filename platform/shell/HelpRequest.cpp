#include "platform/shell/HelpRequest.h"

#include "platform/shell/Desktop.h"

namespace platform {

namespace {
const QString TopicOption = QStringLiteral("--topic");
const QString ContentsOption = QStringLiteral("--contents");
}  // namespace

std::optional<HelpRequest> parseHelpRequest(const QStringList &arguments)
{
    if (arguments.size() == 2 && arguments.at(1) == ContentsOption && !arguments.at(0).isEmpty())
        return HelpRequest{arguments.at(0), help::ShowContents, 0};
    if (arguments.size() != 3 || arguments.at(1) != TopicOption || arguments.at(0).isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const int topic = arguments.at(2).toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return HelpRequest{arguments.at(0), help::ShowTopic, topic};
}

QStringList helpRequestArguments(const HelpRequest &request)
{
    if (request.command == help::ShowContents)
        return {request.helpFile, ContentsOption};
    return {request.helpFile, TopicOption, QString::number(request.topic)};
}

}  // namespace platform

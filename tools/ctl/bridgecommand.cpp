#include "ctl/bridgecommand.h"

#include "controls/quoted.h"
#include "ctl/bridgeoptions.h"
#include "ctl/ctloptions.h"
#include "titles/titlerule.h"

#include <QStringDecoder>
#include <QStringList>

namespace velk {

namespace {

std::optional<BridgeCommand> refuse(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}

QString listText(const QList<quint8>& addresses) {
    QStringList names;
    for (quint8 address : addresses)
        names << BridgeOptions::addressName(address);
    return names.join(QLatin1Char(','));
}

std::optional<BridgeCommand> readSync(const QString& text, QString* why) {
    const QString word = text.trimmed().toUpper();
    if (word != QLatin1String("ON") && word != QLatin1String("OFF"))
        return refuse(why, QStringLiteral("sync %1: expected ON or OFF").arg(quoted(text)));
    BridgeCommand command;
    command.kind = BridgeCommand::Kind::Sync;
    command.syncOn = word == QLatin1String("ON");
    return command;
}

std::optional<BridgeCommand> readTime(const QString& text, QString* why) {
    BridgeCommand command;
    command.kind = BridgeCommand::Kind::Time;
    if (text.trimmed() != QLatin1String("now")) {
        command.clock = CtlOptions::readClock(text, why);
        if (!command.clock)
            return std::nullopt;
    }
    return command;
}

std::optional<BridgeCommand> readAddressed(const QString& path, const QString& text,
                                           const QList<quint8>& addresses, QString* why) {
    const QStringList levels = path.split(QLatin1Char('/'));
    const bool isTitle = levels.size() == 3 && levels.at(1) == QLatin1String("title") &&
                         levels.at(2) == QLatin1String("set");
    const bool isClear = levels.size() == 2 && levels.at(1) == QLatin1String("clear");
    if (!isTitle && !isClear)
        return refuse(why, QStringLiteral("not a command topic"));
    const std::optional<quint8> address = CtlOptions::readAddress(levels.at(0), why);
    if (!address)
        return std::nullopt;
    if (!addresses.contains(*address))
        return refuse(why, QStringLiteral("address %1: not one this bridge answers for (%2)")
                               .arg(quoted(levels.at(0)), listText(addresses)));
    BridgeCommand command;
    command.kind = isTitle ? BridgeCommand::Kind::Title : BridgeCommand::Kind::Clear;
    command.address = *address;
    if (isTitle) {
        const std::optional<QString> title = titlerule::accept(text, why);
        if (!title)
            return std::nullopt;
        command.title = *title;
    }
    return command;
}

} // namespace

std::optional<BridgeCommand> BridgeCommand::read(const QString& path, const QByteArray& payload,
                                                 const QList<quint8>& addresses, QString* why) {
    if (payload.size() > BridgeOptions::kLargestPayload)
        return refuse(why, QStringLiteral("a payload of %1 bytes; at most %2 are taken")
                               .arg(payload.size())
                               .arg(BridgeOptions::kLargestPayload));
    // A byte-order mark stays a character, refused as any other the displays cannot show.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(payload);
    if (utf8.hasError())
        return refuse(why, QStringLiteral("the payload is not valid UTF-8"));
    if (path == QLatin1String("sync/set"))
        return readSync(text, why);
    if (path == QLatin1String("time/set"))
        return readTime(text, why);
    return readAddressed(path, text, addresses, why);
}

CtlOptions BridgeCommand::ctlCommand() const {
    CtlOptions command;
    command.address = address;
    command.title = title;
    command.clock = clock;
    switch (kind) {
    case Kind::Title:
        command.command = CtlOptions::Command::Title;
        break;
    case Kind::Clear:
        command.command = CtlOptions::Command::Clear;
        break;
    case Kind::Time:
        command.command = CtlOptions::Command::Time;
        break;
    case Kind::Sync: // writes nothing
        command.command = CtlOptions::Command::Sync;
        break;
    }
    return command;
}

} // namespace velk

#include "ChannelList.h"

#include "Config.h"
#include "IniFiles.h"

#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHostAddress>
#include <QUrl>

namespace directory {

namespace {

// The section model changes only when the file does; a section that went away between listing
// and selecting reads as one without keys.
std::shared_ptr<quillet::clsSection> SectionAt(int Position)
{
    const auto sections = core::IniManager()->Sections();
    if (Position < 1 || Position > sections->Count())
        return nullptr;
    try {
        return sections->Item(Position);
    } catch (const quillet::ItemNotFound&) {
        return nullptr;
    }
}

} // namespace

std::vector<core::IniName> ChannelList::Types()
{
    core::OpenIniFile(QString::fromLatin1(core::Config::ChannelFile));
    std::vector<core::IniName> types;
    const auto sections = core::IniManager()->Sections();
    const int32_t count = sections->Count();
    for (int32_t i = 1; i <= count; ++i) {
        if (const auto section = SectionAt(i))
            types.push_back(core::IniName::FromBytes(section->Name()));
    }
    return types;
}

std::vector<core::IniName> ChannelList::Channels(int TypeIndex)
{
    core::OpenIniFile(QString::fromLatin1(core::Config::ChannelFile));
    std::vector<core::IniName> channels;
    const auto section = SectionAt(TypeIndex + 1);
    if (!section)
        return channels;
    const auto values = section->Values();
    const int32_t count = values->Count();
    for (int32_t j = 1; j <= count; ++j) {
        try {
            channels.push_back(core::IniName::FromBytes(values->Item(j)->Name()));
        } catch (const quillet::ItemNotFound&) {
        }
    }
    return channels;
}

std::string ChannelList::Address(const std::string& Type, const std::string& Channel)
{
    core::OpenIniFile(QString::fromLatin1(core::Config::ChannelFile));
    return core::IniManager()->GetValue(Type, Channel, "");
}

LastPlay LastPlay::Read()
{
    using core::Config::LastPlayChannel;
    using core::Config::LastPlayType;
    core::OpenIniFile(QString::fromLatin1(LastPlayType.File));
    const auto ini = core::IniManager();
    std::string type = ini->GetValue(LastPlayType.Section, LastPlayType.Name, "");
    std::string channel = ini->GetValue(LastPlayChannel.Section, LastPlayChannel.Name, "");
    return {core::IniName::FromBytes(std::move(type)),
            core::IniName::FromBytes(std::move(channel))};
}

bool LastPlay::Write(const std::string& Type, const std::string& Channel)
{
    using core::Config::LastPlayChannel;
    using core::Config::LastPlayType;
    core::OpenIniFile(QString::fromLatin1(LastPlayType.File));
    const auto ini = core::IniManager();
    const bool typeWritten = ini->WriteValue(LastPlayType.Section, LastPlayType.Name, Type);
    const bool channelWritten =
        ini->WriteValue(LastPlayChannel.Section, LastPlayChannel.Name, Channel);
    return typeWritten && channelWritten;
}

int FindExact(const QStringList& Entries, const QString& Text)
{
    for (int i = 0; i < Entries.size(); ++i) {
        if (Entries.at(i).compare(Text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IsLoopbackAddress(const QString& Address)
{
    QUrl url(Address.trimmed());
    if (url.host().isEmpty())
        url = QUrl::fromUserInput(Address.trimmed()); // "127.0.0.1:8601" without a scheme
    QString host = url.host();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString ListNotice(core::ChannelListFetch Fetch, const QString& Server,
                   const std::optional<QDateTime>& ListStored)
{
    QString notice;
    if (Fetch == core::ChannelListFetch::NotReached)
        notice = QCoreApplication::translate("directory", "Could not reach %1").arg(Server);
    else if (Fetch == core::ChannelListFetch::NoList)
        notice = QCoreApplication::translate("directory", "No channel list at %1").arg(Server);
    else
        return {};
    if (ListStored)
        notice +=
            QLatin1Char('\n') + QCoreApplication::translate("directory", "showing the list from %1")
                                    .arg(ListStored->toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    return notice;
}

std::optional<QDateTime> StoredListTime()
{
    if (ChannelList::Types().empty())
        return std::nullopt;
    const QFileInfo file(core::ProgramFolder() + QLatin1Char('/') +
                         QLatin1String(core::Config::ChannelFile));
    return file.lastModified();
}

} // namespace directory

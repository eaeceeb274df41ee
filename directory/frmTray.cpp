#include "frmTray.h"

#include "Address.h"
#include "Artwork.h"
#include "CNetConn.h"
#include "ChannelList.h"
#include "Config.h"
#include "DirectoryWindows.h"
#include "Docking.h"
#include "FormSkin.h"
#include "KeyboardAccess.h"
#include "MyFunction.h"
#include "ProgramState.h"
#include "Questions.h"
#include "SaveSetting.h"
#include "WebAd.h"
#include "WindowRegistry.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace directory {

namespace {

constexpr int kNameBytes = Qt::UserRole; // the name as read from the file

const char kOfflineText[] = QT_TRANSLATE_NOOP(
    "directory::frmTray",
    "You are no longer connected to Internet!!. Please active internet connection and try again");
const QString kProgramTitle = QStringLiteral("Corvane net player");
// The lists' wells (0x00BBGGRR): the advert's colour while it has no page.
constexpr quint32 kWellColour = 0x00140c06;

QListWidgetItem* Selected(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

std::string NameBytes(const QListWidgetItem* item)
{
    return item ? item->data(kNameBytes).toByteArray().toStdString() : std::string();
}

void Fill(QListWidget* list, const std::vector<core::IniName>& names)
{
    for (const core::IniName& name : names) {
        auto* item = new QListWidgetItem(name.Shown, list);
        item->setData(kNameBytes, QByteArray::fromStdString(name.Bytes));
    }
}

QStringList Texts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QString Counted(const QString& what, int count)
{
    return what + QStringLiteral(" (") + QString::number(count) + QStringLiteral(")");
}

} // namespace

frmTray::frmTray(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QString::fromLatin1(core::WindowName::Directory));
    setWindowTitle(QString());
    BuildControls();
    Form_Load();
}

void frmTray::BuildControls()
{
    setFont(QFont(QStringLiteral("Arial")));
    Skin = new controls::FormSkin(this);
    Skin->setObjectName(QStringLiteral("Skin"));
    Skin->setPicture(SkinPicture());

    const QString labelStyle = QStringLiteral("color: white; background: transparent;");
    Label3 = new QLabel(tr("Channel type(00)"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(12, 8, 160, 18);
    Label3->setStyleSheet(labelStyle);
    ListType = new QListWidget(this);
    ListType->setObjectName(QStringLiteral("ListType"));
    ListType->setGeometry(12, 28, 160, 172);

    Label2 = new QLabel(tr("Channels (00)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(188, 8, 160, 18);
    Label2->setStyleSheet(labelStyle);
    ListChannel = new QListWidget(this);
    ListChannel->setObjectName(QStringLiteral("ListChannel"));
    ListChannel->setGeometry(188, 28, 160, 172);

    for (QListWidget* list : {ListType, ListChannel}) {
        // Entries stay in file order; a selection is one entry, made by a click or by FindItem.
        list->setSortingEnabled(false);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // Light entries in the skin's dark wells; the selection in the buttons' face colour.
        list->setStyleSheet(
            QStringLiteral(
                "QListWidget { background: #060c14; color: #e8eef5; border: 1px solid #274666; }"
                "QListWidget::item:selected { background: #2b4f75; color: #ffffff; }") +
            controls::FocusRingStyle(QStringLiteral("QListWidget")));
        // Up and Down choose in the list, not the player's volume.
        controls::KeepListKeys(*list);
    }
    setAccessibleName(tr("Channel directory"));
    ListType->setAccessibleName(tr("Channel types"));
    ListChannel->setAccessibleName(tr("Channels"));

    WebAd = new controls::WebAd(this);
    WebAd->setObjectName(QStringLiteral("WebAd"));
    WebAd->setGeometry(12, 208, 336, 80);
    WebAd->setToolTip(tr("Click for more information"));

    BuildNotice();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);

    // A selection made again by FindItem (the timer's second restore) changes nothing and runs
    // nothing: the stream that just started is not restarted. A user's click on the selected
    // channel does run it, so a channel refused while offline can be tried again.
    connect(ListType, &QListWidget::itemSelectionChanged, this, &frmTray::ListType_Click);
    connect(ListChannel, &QListWidget::itemSelectionChanged, this, &frmTray::ListChannel_Click);
    connect(ListChannel, &QListWidget::itemClicked, this, &frmTray::ListChannel_ItemClicked);
    ListChannel->viewport()->installEventFilter(this);
    connect(WebAd, &controls::WebAd::Click, this, &frmTray::WebAd_Click);
    connect(Timer1, &QTimer::timeout, this, &frmTray::Timer1_Timer);
}

void frmTray::BuildNotice()
{
    // In the skin's colours, like the lists' wells; the advert it covers has no page then anyway.
    WebAd->setBackColor(kWellColour);
    fraNotice = new QFrame(this);
    fraNotice->setObjectName(QStringLiteral("fraNotice"));
    fraNotice->setGeometry(WebAd->geometry());
    fraNotice->setStyleSheet(QStringLiteral(
        "QFrame#fraNotice { background: #060c14; border: 1px solid #274666; }"
        "QLabel { color: #e8eef5; background: transparent; }"
        "QPushButton { color: #ffffff; background: #2b4f75; border: 1px solid #3d6a98;"
        " padding: 2px 8px; }"
        "QPushButton:focus { border-color: #9cc3ea; }"));
    lblNotice = new QLabel(fraNotice);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setTextFormat(Qt::PlainText);
    lblNotice->setWordWrap(true);
    lblNotice->setGeometry(8, 4, fraNotice->width() - 16, 44);
    btnServer = new QPushButton(tr("Server address\u2026"), fraNotice);
    btnServer->setObjectName(QStringLiteral("btnServer"));
    btnServer->setAccessibleName(tr("Server address"));
    btnServer->adjustSize();
    btnServer->move(fraNotice->width() - btnServer->width() - 8,
                    fraNotice->height() - btnServer->height() - 6);
    connect(btnServer, &QPushButton::clicked, this, &frmTray::btnServer_Click);
    fraNotice->hide();
}

QImage frmTray::SkinPicture()
{
    const QImage artwork = controls::LoadArtwork(QStringLiteral(":/artwork/skins/frmTray.png"));
    if (!artwork.isNull())
        return artwork;
    // Without the artwork the window still needs its size and a surface the labels read on.
    QImage plain(360, 300, QImage::Format_ARGB32_Premultiplied);
    plain.fill(QColor(0x30, 0x30, 0x34));
    QPainter paint(&plain);
    paint.setPen(QColor(0x60, 0x60, 0x68));
    paint.drawRect(plain.rect().adjusted(0, 0, -1, -1));
    return plain;
}

void frmTray::Form_Load()
{
    Skin->move(0, 0);
    Skin->MakeSkin(true);
    Skin->lower();
    DockUnderPlayer();
    Fill(ListType, ChannelList::Types());
    RestoreLastPlay();
    WebAd->Navigate(core::Config::Read(core::Config::AdURL));
    ShowListNotice();
    Timer1->start();
}

void frmTray::ShowListNotice()
{
    const QString notice =
        ListNotice(core::LastChannelListFetch(), core::State().ServerURL(), StoredListTime());
    lblNotice->setText(notice);
    fraNotice->setVisible(!notice.isEmpty());
    if (!notice.isEmpty())
        fraNotice->raise();
}

void frmTray::btnServer_Click()
{
    core::ShowWindow(QString::fromLatin1(core::WindowName::Settings));
}

void frmTray::DockUnderPlayer()
{
    if (const QWidget* player = core::FindWindow(QString::fromLatin1(core::WindowName::Player))) {
        const QRect at = player->frameGeometry();
        move(core::PlaceDocked(core::DirectoryDockPosition(at), frameGeometry().size(), at, core::DockSide::Below,
                               core::AvailableAreaAt(at)));
    } else
        core::CenterForm(*this);
}

void frmTray::RestoreLastPlay()
{
    const LastPlay last = LastPlay::Read();
    FindItem(ListType, last.Type.Shown);
    FindItem(ListChannel, last.Channel.Shown);
}

void frmTray::FindItem(QListWidget* lst, const QString& strText)
{
    const int index = FindExact(Texts(lst), strText);
    if (index < 0)
        return;
    lst->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    lst->setFocus();
}

QString frmTray::SelectedType() const
{
    const QListWidgetItem* item = Selected(ListType);
    return item ? item->text() : QString();
}

QString frmTray::SelectedChannel() const
{
    const QListWidgetItem* item = Selected(ListChannel);
    return item ? item->text() : QString();
}

QString frmTray::SelectedAddress() const
{
    const QListWidgetItem* type = Selected(ListType);
    const QListWidgetItem* channel = Selected(ListChannel);
    if (!type || !channel)
        return {};
    return core::ShowBytes(ChannelList::Address(NameBytes(type), NameBytes(channel)));
}

void frmTray::ListType_Click()
{
    if (!Selected(ListType))
        return;
    const int position = ListType->row(Selected(ListType));
    m_ChannelAtPress = nullptr;
    ListChannel->clear();
    Fill(ListChannel, ChannelList::Channels(position));
    Label3->setText(Counted(tr("Channel type"), ListType->count()));
    Label2->setText(Counted(tr("Channels"), ListChannel->count()));
}

void frmTray::ListChannel_Click()
{
    const QListWidgetItem* channel = Selected(ListChannel);
    if (!channel)
        return;
    // Everything is read first: handing over to the player may run other handlers that re-bind
    // the INI store or change the selection.
    const std::string type = NameBytes(Selected(ListType));
    const std::string name = NameBytes(channel);
    const QString address = core::ShowBytes(ChannelList::Address(type, name));

    if (!IsLoopbackAddress(address) && !core::CNetConn().IsConnected()) {
        core::Ask().Message(this, kProgramTitle, tr(kOfflineText),
                            core::Questions::Icon::Information);
        return;
    }
    if (auto* player =
            core::FindWindow<core::ChannelPlayer>(QString::fromLatin1(core::WindowName::Player)))
        player->PlayChannel(address);
    core::State().SetPlayStopped(false);
    if (!LastPlay::Write(type, name))
        core::TellUnsaved(this, core::Config::LastPlayType);
}

bool frmTray::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListChannel->viewport() && event->type() == QEvent::MouseButtonPress)
        m_ChannelAtPress = Selected(ListChannel);
    return QWidget::eventFilter(watched, event);
}

void frmTray::ListChannel_ItemClicked(QListWidgetItem* item)
{
    // A click that changed the selection has run the handling already.
    if (item && item == m_ChannelAtPress && item->isSelected())
        ListChannel_Click();
    m_ChannelAtPress = nullptr;
}

void frmTray::WebAd_Click()
{
    const QString address = core::Config::Read(core::Config::AdClickURL);
    const QUrl page = core::WebAddress(address);
    if (page.isEmpty()) {
        if (!address.trimmed().isEmpty())
            qWarning("Not opening the advert's address \"%s\": only http and https addresses are "
                     "opened",
                     qUtf8Printable(address));
        return;
    }
    QDesktopServices::openUrl(page);
}

void frmTray::Timer1_Timer()
{
    RestoreLastPlay();
    Timer1->stop();
}

void RegisterWindows()
{
    core::RegisterWindow(QString::fromLatin1(core::WindowName::Directory),
                         [] { return new frmTray; });
}

} // namespace directory

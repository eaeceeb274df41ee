#include "NowPlayingCard.h"

#include "KeyboardAccess.h"
#include "Palette.h"
#include "PlayerTray.h"
#include "ProgramState.h"
#include "SystemTray.h"
#include "WindowRegistry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace player {

namespace {

using State = platform::MediaPlayer::State;

constexpr qreal DesignHeight = 241; // the skin's media area
constexpr int CountdownMs = 250;

QFont CardFont(qreal pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(8, qRound(pixels)));
    font.setBold(bold);
    return font;
}

QString Elided(const QString& Text, const QFont& Font, int Width)
{
    return QFontMetrics(Font).elidedText(Text, Qt::ElideRight, Width);
}

// The lines above the history, laid out for a card of this size; a line with nothing to say
// takes no room.
struct Lines
{
    QRect channel, station, rule, title, state, heading;
    QFont channelFont, stationFont, titleFont, stateFont, headingFont;

    Lines(const QRect& Card, qreal Unit, const NowPlaying& Account)
    {
        const int margin = qRound(12 * Unit);
        const int width = Card.width() - 2 * margin;
        channelFont = CardFont(16 * Unit, true);
        stationFont = CardFont(11 * Unit);
        titleFont = CardFont(13 * Unit);
        stateFont = CardFont(11 * Unit);
        headingFont = CardFont(10 * Unit, true);
        int y = margin;
        auto take = [&](const QFont& font, int lines, int gap) {
            const int height = QFontMetrics(font).lineSpacing() * lines;
            const QRect line(margin, y, width, height);
            y += height + qRound(gap * Unit);
            return line;
        };
        channel = take(channelFont, 1, 1);
        station = take(stationFont, Account.StationLine().isEmpty() ? 0 : 1, 6);
        rule = QRect(margin, y, qRound(40 * Unit), qMax(1, qRound(Unit)));
        y += rule.height() + qRound(7 * Unit);
        // The title wraps to a second line, never a third.
        const QFontMetrics metrics(titleFont);
        const QRect wrapped =
            metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, Account.Title());
        const int titleLines =
            Account.Title().isEmpty() ? 0 : qBound(1, wrapped.height() / metrics.lineSpacing(), 2);
        this->title = take(titleFont, titleLines, titleLines > 0 ? 4 : 0);
        state = take(stateFont, 1, 7);
        heading = take(headingFont, 1, 2);
    }
};

void PaintAccentRule(QPainter& Painter, const QRect& Rule)
{
    QLinearGradient gradient(Rule.topLeft(), Rule.topRight());
    QColor faded = artwork::Accent;
    faded.setAlpha(0);
    gradient.setColorAt(0, artwork::Accent);
    gradient.setColorAt(0.7, artwork::Accent);
    gradient.setColorAt(1, faded);
    Painter.fillRect(Rule, gradient);
}

bool Troubled(State Now)
{
    return Now == State::Failed || Now == State::Reconnecting || Now == State::Ended;
}

} // namespace

NowPlayingCard::NowPlayingCard(platform::MediaPlayer* Media, std::function<QString()> Channel,
                               QWidget* parent)
    : QWidget(parent), m_Channel(std::move(Channel))
{
    setObjectName(QStringLiteral("NowPlaying"));
    setAccessibleName(tr("Now playing"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_Clock.start();
    m_Countdown.setInterval(CountdownMs);
    connect(&m_Countdown, &QTimer::timeout, this, &NowPlayingCard::Refresh);
    for (int i = 0; i < NowPlaying::HistorySize; ++i) {
        auto* row = new QLabel(this);
        row->setTextFormat(Qt::PlainText);
        row->setCursor(Qt::PointingHandCursor);
        row->setToolTip(tr("Click to copy the title"));
        row->setAccessibleName(tr("Copy title"));
        row->setFocusPolicy(Qt::StrongFocus);
        controls::KeepButtonKeys(*row); // Space copies here rather than stopping the player
        row->setStyleSheet(
            QStringLiteral("color: %1; background: transparent;").arg(artwork::TextDim.name()));
        row->installEventFilter(this);
        row->hide();
        m_Rows << row;
    }
    Follow(Media);
}

void NowPlayingCard::Follow(platform::MediaPlayer* Media)
{
    connect(Media, &platform::MediaPlayer::StateChanged, this, [this, Media](State Now) {
        m_Account.SetState(Now, Media->errorText());
        // The directory names the channel once the player has its address.
        if (Now == State::Opening)
            QTimer::singleShot(0, this, [this] {
                m_Account.SetChannel(m_Channel());
                Refresh();
            });
        Refresh();
    });
    connect(Media, &platform::MediaPlayer::Reconnecting, this, [this](int WaitMs) {
        m_Account.SetReconnectWait(WaitMs, Now());
        Refresh();
    });
    connect(Media, &platform::MediaPlayer::TitleChanged, this, [this](const QString& Title) {
        m_Account.SetTitle(Title);
        Refresh();
    });
    connect(Media, &platform::MediaPlayer::StationChanged, this,
            [this](const QString& Name, int Kbps) {
                m_Account.SetStation(Name, Kbps);
                Refresh();
            });
}

QString NowPlayingCard::StateLine() const
{
    return m_Account.StateLine(Now());
}

void NowPlayingCard::Refresh()
{
    if (m_Account.CountingDown())
        m_Countdown.start();
    else
        m_Countdown.stop();
    LayOutRows();
    update();
    const QString told = m_Account.Tip(QString(), Now(), 1000);
    if (told != m_sTold) {
        m_sTold = told;
        // What the card paints, for a screen reader: the channel, the station, the title, the
        // state.
        setAccessibleDescription(told);
        emit Changed();
    }
}

qreal NowPlayingCard::Unit() const
{
    return qMax(1.0, height() / DesignHeight);
}

void NowPlayingCard::LayOutRows()
{
    const qreal unit = Unit();
    const Lines lines(rect(), unit, m_Account);
    // Ten rows fit under a one-line title in the window; full screen has room for all.
    const QFont font = CardFont(10 * unit);
    const int rowHeight = QFontMetrics(font).lineSpacing();
    const QStringList heard = m_Account.History();
    int y = lines.heading.bottom() + 1;
    for (int i = 0; i < m_Rows.size(); ++i) {
        QLabel* row = m_Rows[i];
        const bool fits = y + rowHeight <= height() - qRound(3 * unit);
        row->setVisible(i < heard.size() && fits);
        if (!row->isVisible()) {
            continue;
        }
        row->setFont(font);
        row->setGeometry(lines.title.left(), y, lines.title.width(), rowHeight);
        row->setText(Elided(heard[i], font, lines.title.width()));
        row->setProperty("title", heard[i]);
        row->setAccessibleDescription(heard[i]);
        y += rowHeight;
    }
}

void NowPlayingCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, height());
    face.setColorAt(0, artwork::BodyBottom);
    face.setColorAt(1, artwork::Well);
    painter.fillRect(rect(), face);

    const Lines lines(rect(), Unit(), m_Account);
    const State now = m_Account.state();
    auto text = [&](const QRect& Where, const QFont& Font, const QColor& Colour,
                    const QString& Line) {
        painter.setFont(Font);
        painter.setPen(Colour);
        painter.drawText(Where, Qt::AlignLeft | Qt::AlignTop, Elided(Line, Font, Where.width()));
    };
    const QString channel =
        m_Account.Channel().isEmpty() && now == State::Stopped && StateLine().isEmpty()
            ? tr("Choose a channel in the directory")
            : m_Account.Channel();
    text(lines.channel, lines.channelFont, artwork::Text, channel);
    text(lines.station, lines.stationFont, artwork::TextDim, m_Account.StationLine());
    PaintAccentRule(painter, lines.rule);
    painter.setFont(lines.titleFont);
    painter.setPen(artwork::Text);
    painter.drawText(lines.title, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     m_Account.Title());
    text(lines.state, lines.stateFont, Troubled(now) ? artwork::Accent : artwork::TextDim,
         StateLine());
    if (!m_Account.History().isEmpty())
        text(lines.heading, lines.headingFont, artwork::TextDim, tr("Heard this session"));
}

void NowPlayingCard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutRows();
}

bool NowPlayingCard::eventFilter(QObject* watched, QEvent* event)
{
    auto* row = qobject_cast<QLabel*>(watched);
    if (!row || !m_Rows.contains(row))
        return QWidget::eventFilter(watched, event);
    auto copy = [this, row] {
        const QString title = row->property("title").toString();
        QGuiApplication::clipboard()->setText(title);
        emit Copied(title);
    };
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
            return false;
        copy();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true; // a row is a button, not a handle to drag the window by
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && row->rect().contains(mouse->position().toPoint()))
            copy();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void FollowInTrayTip(const NowPlayingCard& Card)
{
    auto tell = [&Card] {
        auto* tray =
            core::FindWindow<core::TrayIconMenu>(QString::fromLatin1(core::WindowName::TrayMenu));
        if (tray)
            tray->SetTip(Card.Account().Tip(core::State().PlayerTitle(), Card.Now(),
                                            controls::SystemTray::MaxTipLength));
    };
    QObject::connect(&Card, &NowPlayingCard::Changed, &Card, tell);
    QObject::connect(&core::State(), &core::ProgramState::PlayerTitleChanged, &Card, tell);
}

} // namespace player

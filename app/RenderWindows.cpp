// corvane-render-windows OUTDIR: every window of the program in its usual states, written as PNG
// files (and all of them on one sheet, "all.png") so that the look can be reviewed side by side,
// and every text they show in "texts.txt", in the user's language, for reviewing translations.
// It runs on a temporary program folder with sample settings and channels: the user's files are
// neither read nor changed, every address points at a closed local port, and no question waits
// for an answer. Run it under Xvfb (the developer notes in README.md give the command).
#include "Config.h"
#include "PlayerHandOver.h"
#include "ProgramFolder.h"
#include "Questions.h"
#include "StartupEnvironment.h"
#include "Translations.h"
#include "WindowRegistry.h"
#include "dcButton.h"
#include "frmLoad.h"
#include "frmMessage.h"
#include "frmSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace {

// Nobody is there to answer: every question is cancelled, every message acknowledged.
class NoAnswers : public core::Questions
{
  public:
    std::optional<QString> Folder(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QString> Text(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    void Message(QWidget*, const QString&, const QString&, Icon) override {}
};

// Port 9 (discard) on the loopback: nothing listens there, so every fetch fails at once.
const char kSettings[] = "[Server]\r\nURL=http://127.0.0.1:9/\r\n"
                         "[LastPlay]\r\nType=Jazz\r\nChannel=Late Night Jazz\r\n"
                         "[Player]\r\nVolume=70\r\n";
const char kChannels[] = "ok\r\n"
                         "[Jazz]\r\nLate Night Jazz=http://127.0.0.1:9\r\n"
                         "Swing Street=http://127.0.0.1:9\r\n"
                         "Bossa Lounge=http://127.0.0.1:9\r\n"
                         "[News]\r\nWorld Service=http://127.0.0.1:9\r\n"
                         "[Rock]\r\nClassic Rock=http://127.0.0.1:9\r\n"
                         "[TV]\r\nCity Channel=http://127.0.0.1:9\r\n";
const char kRemoteSettings[] = "ok\r\n[Info]\r\nTitle=Corvane net player\r\n"
                               "[InfoViewer]\r\nShow=0\r\nHomePage=about:blank\r\n"
                               "[Message]\r\nFontSize=10\r\nFontColor=0\r\n";

void WriteFile(const QDir& folder, const char* name, const char* text)
{
    QFile file(folder.filePath(QString::fromLatin1(name)));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

// Lets the windows finish loading and painting.
void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Controls without a name of their own go by their class.
QString ControlName(const QObject* control)
{
    return control->objectName().isEmpty() ? QString::fromLatin1(control->metaObject()->className())
                                           : control->objectName();
}

class Renderer
{
  public:
    explicit Renderer(const QString& out) : m_Out(out) {}

    // The window as the screen shows it: the skin's holes stay transparent.
    void Grab(QWidget* window, const QString& name)
    {
        if (!window) {
            std::fprintf(stderr, "no window for %s\n", qPrintable(name));
            m_Failed = true;
            return;
        }
        window->show();
        Settle(400);
        const QPixmap shot = window->grab();
        QImage image(shot.size(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(shot.devicePixelRatio());
        image.fill(Qt::transparent);
        QPainter painter(&image);
        if (!window->mask().isEmpty())
            painter.setClipRegion(window->mask());
        painter.drawPixmap(0, 0, shot);
        painter.end();
        const QString path = m_Out.filePath(name + QStringLiteral(".png"));
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_Failed = true;
            return;
        }
        std::printf("%s\n", qPrintable(path));
        m_Shots.push_back({name, image});
        ListTexts(window, name);
    }

    // One line per text: window, control, what kind of text, the text.
    void ListTexts(const QWidget* window, const QString& name)
    {
        QFile file(m_Out.filePath(QStringLiteral("texts.txt")));
        if (!file.open(QIODevice::Append | QIODevice::Text))
            return;
        const auto line = [&](const QObject* control, const char* kind, const QString& text) {
            if (!text.isEmpty())
                file.write(QStringLiteral("%1 %2 %3: %4\n")
                               .arg(name, ControlName(control), QLatin1String(kind), text)
                               .toUtf8());
        };
        line(window, "title", window->windowTitle());
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (const auto* label = qobject_cast<const QLabel*>(control))
                line(control, "text", label->text());
            if (const auto* button = qobject_cast<const QAbstractButton*>(control))
                line(control, "text", button->text());
            if (const auto* button = qobject_cast<const controls::dcButton*>(control))
                line(control, "text", button->Caption());
            line(control, "tip", control->toolTip());
        }
    }

    // Every picture on one dark sheet, in rows, each under its name.
    void Sheet()
    {
        constexpr int Gap = 24, Caption = 18, RowWidth = 1600;
        QList<QRect> places;
        int x = Gap, y = Gap, rowHeight = 0, width = 0;
        for (const auto& shot : m_Shots) {
            const QSize size = shot.image.deviceIndependentSize().toSize();
            if (x > Gap && x + size.width() > RowWidth) {
                x = Gap;
                y += rowHeight + Caption + Gap;
                rowHeight = 0;
            }
            places.push_back(QRect(QPoint(x, y + Caption), size));
            x += size.width() + Gap;
            width = qMax(width, x);
            rowHeight = qMax(rowHeight, size.height());
        }
        QImage sheet(width, y + rowHeight + Caption + Gap, QImage::Format_RGB32);
        sheet.fill(QColor(0x3a, 0x3f, 0x47));
        QPainter painter(&sheet);
        painter.setPen(QColor(0xee, 0xee, 0xee));
        for (qsizetype i = 0; i < places.size(); ++i) {
            painter.drawText(places[i].topLeft() - QPoint(0, 5), m_Shots[i].name);
            painter.drawImage(places[i], m_Shots[i].image);
        }
        painter.end();
        const QString path = m_Out.filePath(QStringLiteral("all.png"));
        m_Failed |= !sheet.save(path);
        std::printf("%s\n", qPrintable(path));
    }

    bool Failed() const { return m_Failed; }

  private:
    struct Shot
    {
        QString name;
        QImage image;
    };
    QDir m_Out;
    std::vector<Shot> m_Shots;
    bool m_Failed = false;
};

QWidget* Open(const char* name)
{
    return core::ShowWindow(QString::fromLatin1(name));
}

void RenderStartup(Renderer& render)
{
    auto* splash = new app::frmLoad;
    // Shown as it first appears: no download starts, no fade runs.
    splash->TimerGetSett.stop();
    splash->Timer3.stop();
    render.Grab(splash, QStringLiteral("frmLoad"));
    splash->close();

    auto* settings = static_cast<app::frmSettings*>(Open(core::WindowName::Settings));
    render.Grab(settings, QStringLiteral("frmSettings"));
    if (!settings)
        return;
    // What Edit leaves: the address editable, Save and Cancel offered.
    settings->txtServerURL->setReadOnly(false);
    settings->txtServerURL->setFocus();
    settings->btnSave->SetEnabled(true);
    settings->btnCancel->SetEnabled(true);
    settings->btnEdit->SetEnabled(false);
    render.Grab(settings, QStringLiteral("frmSettings-editing"));
    settings->close();
}

void RenderRecorder(Renderer& render)
{
    QWidget* recorder = Open(core::WindowName::Recorder);
    render.Grab(recorder, QStringLiteral("frmRecord"));
    if (!recorder)
        return;
    // How it looks while it records, without a station to record from.
    if (auto* toggle = recorder->findChild<QPushButton*>(QStringLiteral("CmdRecord"))) {
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(true);
        toggle->setText(QCoreApplication::translate("recorder::frmRecord", "STOP"));
    }
    for (auto* label : recorder->findChildren<QLabel*>())
        label->setEnabled(true);
    if (auto* rec = recorder->findChild<QLabel*>(QStringLiteral("lblStatus")))
        rec->show();
    render.Grab(recorder, QStringLiteral("frmRecord-recording"));
    recorder->close();
}

} // namespace

int main(int argc, char** argv)
{
    // The same start as the program's own.
    app::PrepareStartupEnvironment(false);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    app::InstallTranslations(application);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("CORVANE_MPV_AO"))
        qputenv("CORVANE_MPV_AO", "null"); // the message chime stays silent
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    QFile::remove(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("texts.txt")));
    Renderer render(QString::fromLocal8Bit(argv[1]));

    QTemporaryDir folder;
    const QDir programFolder(folder.path());
    WriteFile(programFolder, core::Config::SettingsFile, kSettings);
    WriteFile(programFolder, core::Config::ChannelFile, kChannels);
    WriteFile(programFolder, core::Config::RSettingsFile, kRemoteSettings);
    core::OverrideProgramFolder(folder.path());
    core::SetQuestions(std::make_unique<NoAnswers>());
    app::RegisterWindows();

    RenderStartup(render);
    render.Grab(Open(core::WindowName::Player), QStringLiteral("frmPlayer"));
    render.Grab(Open(core::WindowName::Directory), QStringLiteral("frmTray"));
    RenderRecorder(render);
    render.Grab(player::ShowMessage(QStringLiteral("Tonight from 9 pm: a live concert from the "
                                                   "city hall on Late Night Jazz."),
                                    nullptr),
                QStringLiteral("frmMessage"));
    render.Grab(Open(core::WindowName::InfoViewer), QStringLiteral("frmInfoViewer"));
    render.Grab(Open(core::WindowName::About), QStringLiteral("frmAbout"));
    render.Sheet();

    // Ends without tearing the windows down one by one: the media and web views have nothing
    // left to do, and the pictures are written.
    folder.remove();
    std::fflush(stdout);
    std::_Exit(render.Failed() ? 1 : 0);
}

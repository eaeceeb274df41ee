// corvane-artwork: paints every skin, button image and icon of the program and synthesises its
// message chime. The build runs it; nothing it makes is kept in the repository.
//
//   corvane-artwork --out DIR [--wav FILE] [--icons HICOLOR_DIR]
//
// DIR receives skins/, buttons/, icons/ and artwork.qrc (prefix /artwork) listing all of them.

#include "Catalogues.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

namespace {

bool Fail(const QString& what)
{
    std::fprintf(stderr, "corvane-artwork: %s\n", qPrintable(what));
    return false;
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Fail(QStringLiteral("cannot write %1").arg(path));
    return true;
}

bool WriteImage(const QString& path, const QImage& image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
        return Fail(QStringLiteral("cannot write %1").arg(path));
    return true;
}

QByteArray ResourceList(const artwork::Catalogue& made)
{
    QByteArray qrc;
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/artwork\">\n";
    for (const artwork::Artwork& item : made)
        out << "  <file>" << item.path << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    return qrc;
}

// The icon again under the desktop's icon theme layout, <dir>/<N>x<N>/apps/corvane.png.
bool WriteThemeIcons(const QString& hicolor, const artwork::Catalogue& icons)
{
    for (const artwork::Artwork& icon : icons) {
        const int size = icon.image.width();
        const QString path = QStringLiteral("%1/%2x%2/apps/corvane.png").arg(hicolor).arg(size);
        if (!WriteImage(path, icon.image))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Painting text needs a platform, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Paints the artwork of Corvane net player."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Artwork folder."),
                                 QStringLiteral("dir"));
    const QCommandLineOption wav(QStringLiteral("wav"), QStringLiteral("Where msg.wav goes."),
                                 QStringLiteral("file"));
    const QCommandLineOption icons(QStringLiteral("icons"),
                                   QStringLiteral("A hicolor icon theme folder for the icon."),
                                   QStringLiteral("dir"));
    parser.addOptions({out, wav, icons});
    parser.process(application);
    if (!parser.isSet(out)) {
        Fail(QStringLiteral("--out is required"));
        return 2;
    }

    const QString folder = parser.value(out);
    artwork::Catalogue made = artwork::Skins();
    const artwork::Catalogue buttons = artwork::Buttons();
    const artwork::Catalogue theIcon = artwork::Icons();
    for (const artwork::Catalogue* more : {&buttons, &theIcon})
        made.insert(made.end(), more->begin(), more->end());
    for (const artwork::Artwork& item : made)
        if (!WriteImage(folder + QLatin1Char('/') + item.path, item.image))
            return 1;
    if (parser.isSet(icons) && !WriteThemeIcons(parser.value(icons), theIcon))
        return 1;
    if (parser.isSet(wav) && !WriteBytes(parser.value(wav), artwork::ChimeWav()))
        return 1;
    // The list last: the build takes its date as the sign that everything above is there.
    if (!WriteBytes(folder + QStringLiteral("/artwork.qrc"), ResourceList(made)))
        return 1;
    return 0;
}

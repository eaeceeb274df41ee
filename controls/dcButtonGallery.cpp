// dcbutton-gallery PATH: renders every button style in every state into one picture, for
// reviewing the look after a change to the drawing. Runs on any display, offscreen included:
//   QT_QPA_PLATFORM=offscreen build/bin/dcbutton-gallery /tmp/gallery.png
// Says on stderr where a state that should look different from the normal one does not.
#include "dcButton.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <cstdio>

using namespace controls;

namespace {

constexpr int CellW = 104, CellH = 34, LabelW = 110, HeaderH = 22;
const char* const Columns[] = {"normal",  "hot",     "pressed",      "disabled",    "checked",
                               "focused", "picture", "pic disabled", "raised text", "shape 1"};

// A silver-backed picture: the silver is the default mask colour and shows the face through.
QImage SamplePicture()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(0xC0, 0xC0, 0xC0));
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 200));
    p.drawEllipse(2, 2, 11, 11);
    p.setBrush(QColor(240, 190, 40));
    p.drawRect(6, 6, 4, 4);
    return img;
}

void ShowColumn(dcButton& b, int column, const QImage& picture)
{
    if (column >= 6 && column <= 8)
        b.SetPictureNormal(picture);
    if (column == 8)
        b.SetSpecialEffect(1);
    if (column == 9)
        b.SetButtonShape(1);
    if (column == 4) {
        b.SetCheckBoxMode(true);
        b.SetValue(true);
    } else if (column == 3 || column == 7) {
        b.SetEnabled(false);
    } else {
        if (column == 5)
            b.setFocus();
        b.RedrawButton(column == 1 || column == 2 ? column : 0, true);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: dcbutton-gallery PATH\n"
                             "Renders every dcButton style in every state into the image PATH.\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QImage picture = SamplePicture();
    const int columns = int(std::size(Columns)), rows = 13;
    // The focused look needs an active window.
    QWidget window;
    window.show();
    window.activateWindow();
    const QDeadlineTimer deadline(5'000);
    while (!window.isActiveWindow() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    QImage gallery(LabelW + CellW * columns, HeaderH + CellH * rows, QImage::Format_RGB32);
    gallery.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter out(&gallery);
    for (int c = 0; c < columns; ++c)
        out.drawText(QRect(LabelW + CellW * c, 0, CellW, HeaderH), Qt::AlignCenter, Columns[c]);

    int alike = 0;
    for (int r = 0; r < rows; ++r) {
        // Styles 0-11 in their own colour schemes, then the program's own dark-grey buttons.
        const int style = r < 12 ? r : 5;
        const QString title = r < 12 ? QString("style %1").arg(style) : "5, 0x404040";
        out.drawText(QRect(4, HeaderH + CellH * r, LabelW - 4, CellH),
                     Qt::AlignVCenter | Qt::AlignLeft, title);
        QList<QImage> faces;
        for (int c = 0; c < columns; ++c) {
            dcButton b(&window, "cmdSample");
            b.setGeometry(4, 4, 96, 28);
            b.SetButtonStyle(style);
            if (r < 12)
                b.ColorScheme(style);
            else
                b.SetBackColor(0x404040);
            b.SetForeColor(0x80000012);
            b.SetCaption("&Browse");
            b.show();
            ShowColumn(b, c, picture);
            faces << b.grab().toImage();
            const QPoint at(LabelW + CellW * c + 4, HeaderH + CellH * r + 3);
            out.save();
            out.setClipRegion(b.mask().translated(at));
            out.drawImage(at, faces.last());
            out.restore();
        }
        // The classic style 6 has no hover look.
        for (int c : {1, 2, 3, 5, 6}) {
            if (faces[0] == faces[c] && !(c == 1 && style == 6)) {
                std::fprintf(stderr, "%s: \"%s\" looks like \"normal\"\n", qPrintable(title),
                             Columns[c]);
                ++alike;
            }
        }
    }
    out.end();
    if (!gallery.save(path)) {
        std::fprintf(stderr, "dcbutton-gallery: cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return alike == 0 ? 0 : 3;
}

// Renders every button style in every state into one picture for reviewing the look:
//   ctest -R dcButtonGallery   (or run build/tests/test_controls_dcbutton_gallery)
// writes dcButton-gallery.png into the build folder, or to the path in DCBUTTON_GALLERY.
#include "dcButton.h"

#include <QDir>
#include <QPainter>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int CellW = 104, CellH = 34, LabelW = 110, HeaderH = 22;
constexpr QSize ButtonSize(96, 28);

// A silver-backed picture: the silver is the default mask colour and shows the face through.
QImage SamplePicture()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(0xC0, 0xC0, 0xC0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 200));
    p.drawEllipse(2, 2, 11, 11);
    p.setBrush(QColor(240, 190, 40));
    p.drawRect(6, 6, 4, 4);
    return img;
}

struct Column
{
    const char* title;
    std::function<void(dcButton&)> setUp; // puts the button in the look to show
};

QString GalleryPath()
{
    const QByteArray env = qgetenv("DCBUTTON_GALLERY");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    const QByteArray bin = qgetenv("CORVANE_BINARY_DIR");
    return QDir(bin.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(bin))
        .filePath("dcButton-gallery.png");
}

} // namespace

TEST(dcButtonGallery, RendersEveryStyleInEveryState)
{
    const QImage picture = SamplePicture();
    const std::vector<Column> columns = {
        {"normal", [](dcButton& b) { b.RedrawButton(0, true); }},
        {"hot", [](dcButton& b) { b.RedrawButton(1, true); }},
        {"pressed", [](dcButton& b) { b.RedrawButton(2, true); }},
        {"disabled", [](dcButton& b) { b.SetEnabled(false); }},
        {"checked",
         [](dcButton& b) {
             b.SetCheckBoxMode(true);
             b.SetValue(true);
         }},
        {"focused",
         [](dcButton& b) {
             b.setFocus();
             b.RedrawButton(0, true);
         }},
        {"picture",
         [&picture](dcButton& b) {
             b.SetPictureNormal(picture);
             b.RedrawButton(0, true);
         }},
        {"pic disabled",
         [&picture](dcButton& b) {
             b.SetPictureNormal(picture);
             b.SetEnabled(false);
         }},
        {"raised text",
         [&picture](dcButton& b) {
             b.SetPictureNormal(picture);
             b.SetSpecialEffect(1);
             b.RedrawButton(0, true);
         }},
        {"shape 1",
         [](dcButton& b) {
             b.SetButtonShape(1);
             b.RedrawButton(0, true);
         }},
    };
    struct Row
    {
        QString title;
        int style;
        quint32 back; // 0: the style's own scheme
        quint32 fore;
    };
    std::vector<Row> rows;
    for (int style = 0; style <= 11; ++style)
        rows.push_back({QString("style %1").arg(style), style, 0, 0x80000012});
    // The program's own buttons: dark grey in the window's text colour.
    rows.push_back({"5, 0x404040", 5, 0x404040, 0x80000012});

    QWidget window;
    window.resize(200, 60);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 15000));

    QImage gallery(LabelW + CellW * int(columns.size()), HeaderH + CellH * int(rows.size()),
                   QImage::Format_RGB32);
    gallery.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter out(&gallery);
    out.setPen(Qt::black);
    for (size_t c = 0; c < columns.size(); ++c)
        out.drawText(QRect(LabelW + CellW * int(c), 0, CellW, HeaderH), Qt::AlignCenter,
                     columns[c].title);

    for (size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        out.drawText(QRect(4, HeaderH + CellH * int(r), LabelW - 4, CellH),
                     Qt::AlignVCenter | Qt::AlignLeft, row.title);
        QList<QImage> faces;
        for (size_t c = 0; c < columns.size(); ++c) {
            auto b = std::make_unique<dcButton>(&window, "cmdSample");
            b->setGeometry(QRect(QPoint(4, 4), ButtonSize));
            b->SetButtonStyle(row.style);
            if (row.back)
                b->SetBackColor(row.back);
            else
                b->ColorScheme(row.style);
            b->SetForeColor(row.fore);
            b->SetCaption("&Browse");
            b->show();
            columns[c].setUp(*b);
            const QImage face = b->grab().toImage();
            faces << face;
            const QPoint at(LabelW + CellW * int(c) + 4, HeaderH + CellH * int(r) + 3);
            out.save();
            out.setClipRegion(b->mask().translated(at));
            out.drawImage(at, face);
            out.restore();
        }
        // The looks a review relies on really differ.
        EXPECT_NE(faces[0], faces[2]) << row.title.toStdString();
        EXPECT_NE(faces[0], faces[3]) << row.title.toStdString();
        EXPECT_NE(faces[0], faces[5]) << row.title.toStdString();
        EXPECT_NE(faces[0], faces[6]) << row.title.toStdString();
    }
    out.end();
    const QString path = GalleryPath();
    ASSERT_TRUE(gallery.save(path)) << path.toStdString();
    std::printf("gallery: %s\n", qPrintable(path));
}

// Stand-ins for the window chrome of controls/ until it is in this tree.
#pragma once

#if __has_include("dcButton.h")
#include "dcButton.h"
#else
#include <QPushButton>

class dcButton : public QPushButton
{
    Q_OBJECT
  public:
    explicit dcButton(QWidget* parent = nullptr, const QString& name = QString())
        : QPushButton(parent)
    {
        setObjectName(name);
        connect(this, &QPushButton::clicked, this, &dcButton::Click);
    }
    void SetCaption(const QString& caption) { setText(caption); }
    void SetEnabled(bool on) { setEnabled(on); }
    bool Enabled() const { return isEnabled(); }
    void SetButtonStyle(int) {}
    void SetBackColor(unsigned) {}
  signals:
    void Click();
};
#endif

#if __has_include("FormSkin.h")
#include "FormSkin.h"
#include "MakeSk.h"
#else
#include <QBitmap>
#include <QImage>
#include <QLabel>
#include <QRegion>
#include <QWidget>

inline QRegion RegionFromPicture(const QImage& picture)
{
    QRegion region;
    if (picture.isNull())
        return region;
    const QRgb transparent = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y) {
        int start = -1;
        for (int x = 0; x <= picture.width(); ++x) {
            const bool opaque = x < picture.width() && picture.pixel(x, y) != transparent;
            if (opaque && start < 0)
                start = x;
            else if (!opaque && start >= 0) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    return region;
}

inline int SetWindowOpacity(QWidget* window, int alpha)
{
    if (alpha < 0 || alpha > 255)
        return 1;
    window->setWindowOpacity(alpha / 255.0);
    return 0;
}

inline void MakeTopmost(QWidget* window)
{
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

class FormSkin : public QWidget
{
  public:
    explicit FormSkin(QWidget* parent) : QWidget(parent), m_pic(new QLabel(this)) {}
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage& image)
    {
        m_picture = image;
        m_pic->setPixmap(QPixmap::fromImage(image));
        m_pic->resize(image.size());
    }
    void MakeSkin(bool TF)
    {
        if (!TF)
            return;
        resize(m_picture.size());
        QWidget* window = parentWidget();
        window->setWindowFlag(Qt::FramelessWindowHint, true);
        window->resize(size());
        window->setMask(RegionFromPicture(m_picture));
    }
    QWidget* pic() const { return m_pic; }

  private:
    QImage m_picture;
    QLabel* m_pic;
};
#endif

#include "VideoViews.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>

namespace platform {

namespace {

bool GlContextAtHand()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        return false;
    }
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    return context.create() && context.makeCurrent(&surface);
}

void PaintBlack(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

bool UseOpenGlVideo()
{
    const QByteArray forced = qgetenv("CORVANE_MPV_RENDER");
    if (forced == "gl" || forced == "sw") {
        return forced == "gl";
    }
    static const bool atHand = GlContextAtHand();
    return atHand;
}

GlVideoView::GlVideoView(QWidget* parent) : QOpenGLWidget(parent)
{
    PaintBlack(this);
}

GlVideoView::~GlVideoView()
{
    Release();
}

void GlVideoView::Release()
{
    if (context()) {
        disconnect(context(), nullptr, this, nullptr);
    }
    if (onContextGone && context()) {
        makeCurrent();
        onContextGone();
        doneCurrent();
    }
    onContextReady = nullptr;
    onContextGone = nullptr;
    onPaint = nullptr;
}

void GlVideoView::SetBlank(bool blank)
{
    if (m_blank != blank) {
        m_blank = blank;
        update();
    }
}

void GlVideoView::initializeGL()
{
    // Without shared contexts Qt gives the widget a new context when it moves to another
    // top-level window (full screen); the engine must let go of the old one first.
    connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { ContextGone(); },
        Qt::DirectConnection);
    if (onContextReady) {
        onContextReady();
    }
}

void GlVideoView::ContextGone()
{
    if (onContextGone) {
        makeCurrent();
        onContextGone();
        doneCurrent();
    }
}

void GlVideoView::paintGL()
{
    if (onPaint && !m_blank) {
        onPaint(defaultFramebufferObject(), size() * devicePixelRatio());
        return;
    }
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
}

SoftwareVideoView::SoftwareVideoView(QWidget* parent) : QWidget(parent)
{
    PaintBlack(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize SoftwareVideoView::PixelSize() const
{
    return size() * devicePixelRatio();
}

QImage& SoftwareVideoView::Canvas(QSize pixels)
{
    const int paddedWidth = (pixels.width() + 15) / 16 * 16;
    if (m_canvas.width() != paddedWidth || m_canvas.height() != pixels.height()) {
        m_canvas = QImage(paddedWidth, pixels.height(), QImage::Format_RGB32);
        m_canvas.fill(Qt::black);
    }
    m_drawn = pixels;
    return m_canvas;
}

void SoftwareVideoView::Clear()
{
    m_canvas = QImage();
    m_drawn = QSize();
    update();
}

void SoftwareVideoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_canvas.isNull() && !m_drawn.isEmpty()) {
        const QRectF target(QPointF(0, 0), QSizeF(m_drawn) / devicePixelRatio());
        painter.drawImage(target, m_canvas, QRectF(QPointF(0, 0), QSizeF(m_drawn)));
    }
}

void SoftwareVideoView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (onResized) {
        onResized();
    }
}

FullScreenWindow::FullScreenWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    PaintBlack(this);
    setWindowTitle(QStringLiteral("Corvane net player"));
    setFocusPolicy(Qt::StrongFocus);
}

void FullScreenWindow::Hold(const QList<QWidget*>& layers)
{
    m_layers = layers;
    for (QWidget* layer : layers) {
        const bool shown = layer->isVisibleTo(layer->parentWidget());
        layer->setParent(this);
        layer->setGeometry(rect());
        layer->setVisible(shown);
        layer->raise();
    }
}

void FullScreenWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && onLeave) {
        onLeave();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FullScreenWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager (Alt+F4): the video goes back rather than with the window.
    event->ignore();
    if (onLeave) {
        onLeave();
    }
}

void FullScreenWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (QWidget* layer : m_layers) {
        if (layer->parentWidget() == this) {
            layer->setGeometry(rect());
        }
    }
}

} // namespace platform

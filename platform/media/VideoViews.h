#pragma once
// The surfaces the media component shows its video on. They know nothing of the engine: the
// component hands them what to do when a GL context comes and goes and when a frame is due, and
// keeps every engine call in its own file.
#include <QImage>
#include <QOpenGLWidget>
#include <QWidget>

#include <functional>

namespace platform {

// Whether video goes through OpenGL: CORVANE_MPV_RENDER=gl|sw decides when set (the tests cover
// both), else a GL context must be at hand (never on the offscreen platform).
bool UseOpenGlVideo();

// Video through OpenGL: the engine draws into this widget's framebuffer.
class GlVideoView : public QOpenGLWidget
{
  public:
    explicit GlVideoView(QWidget* parent = nullptr);
    ~GlVideoView() override;

    std::function<void()> onContextReady; // context current; may run again after a reparent
    std::function<void()> onContextGone;  // context current, about to be destroyed
    std::function<void(unsigned fbo, QSize pixels)> onPaint;

    // Runs onContextGone now (with the context current) and forgets every callback.
    void Release();
    // Blank: black, without asking the engine for a frame, until a frame of the next stream.
    void SetBlank(bool blank);
    bool Blank() const { return m_blank; }

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    void ContextGone();

    bool m_blank = true;
};

// Video drawn by the engine in software into an image that this widget paints; used where
// OpenGL is missing.
class SoftwareVideoView : public QWidget
{
  public:
    explicit SoftwareVideoView(QWidget* parent = nullptr);

    // The image to draw into, in device pixels, reallocated when the size changed. Lines are
    // padded to 64 bytes so the engine's scaler takes its fast path.
    QImage& Canvas(QSize pixels);
    QSize PixelSize() const;
    void Clear();

    std::function<void()> onResized;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage m_canvas;
    QSize m_drawn;
};

// The frameless full-screen window the video (and what covers it) moves into; Esc or closing it
// asks to return.
class FullScreenWindow : public QWidget
{
  public:
    FullScreenWindow();
    // The layers, bottom first, each filling the window.
    void Hold(const QList<QWidget*>& layers);

    std::function<void()> onLeave;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QList<QWidget*> m_layers;
};

} // namespace platform

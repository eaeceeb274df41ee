// A browser page that never shows a dialog of its own: alerts, confirmations, prompts and
// script errors are swallowed, and nothing opens new windows.
#pragma once

#include <QWebEnginePage>

namespace controls {

class WebAdPage : public QWebEnginePage
{
    Q_OBJECT
  public:
    using QWebEnginePage::QWebEnginePage;

    int SwallowedDialogs() const { return m_swallowed; }

  protected:
    void javaScriptAlert(const QUrl&, const QString&) override { ++m_swallowed; }
    bool javaScriptConfirm(const QUrl&, const QString&) override
    {
        ++m_swallowed;
        return false;
    }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override
    {
        ++m_swallowed;
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override
    {
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

  private:
    int m_swallowed = 0;
};

} // namespace controls

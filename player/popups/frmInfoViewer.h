// The information viewer: a skinned window with an embedded browser showing the operator's home
// page ("RSettings.ini" [InfoViewer] HomePage, read afresh whenever it is needed), with Home,
// Back, Forward and Refresh. Pages never open dialogs of their own.
#pragma once

#include <QWidget>

class QLabel;
class QToolButton;
class QWebEngineView;

namespace controls {
class FormSkin;
class WebAdPage;
} // namespace controls

namespace player {

class frmInfoViewer : public QWidget
{
    Q_OBJECT

  public:
    explicit frmInfoViewer(QWidget* parent = nullptr);

    controls::FormSkin* Skin;
    QLabel* Picture1;
    QWebEngineView* Browser;
    QToolButton* btnHome;
    QToolButton* btnPre;
    QToolButton* btnNext;
    QToolButton* btnRefresh;
    QLabel* picBtn;
    QLabel* lblTitle;
    QLabel* lblURL;
    QLabel* Image4;
    QLabel* ingClose;

    // The page the browser shows; it swallows every script dialog and counts them.
    controls::WebAdPage* Page() const { return pPage; }

  private:
    void Form_Load();
    void NavigateHome();
    void btnHome_Click();
    void btnPre_Click();
    void btnNext_Click();
    void btnRefresh_Click();
    void ingClose_Click();
    QToolButton* MakeButton(const char* Name, const QString& Tip, const QString& Image,
                            const QString& Stand, int Left);

    controls::WebAdPage* pPage;
};

} // namespace player

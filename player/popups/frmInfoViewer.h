// The information viewer: a skinned window with an embedded browser showing the operator's home
// page ("RSettings.ini" [InfoViewer] HomePage, read afresh whenever it is needed), with Home,
// Back, Forward and Refresh. Pages never open dialogs of their own. Without the web module the
// window says that pages cannot be shown, in the browser's place.
#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace controls {
class FormSkin;
class WebPageView;
} // namespace controls

namespace player {

class frmInfoViewer : public QWidget
{
    Q_OBJECT

  public:
    explicit frmInfoViewer(QWidget* parent = nullptr);

    controls::FormSkin* Skin;
    QLabel* Picture1;
    // Made once the window is on screen; null until then, and without the web module.
    controls::WebPageView* Browser = nullptr;
    QLabel* lblNoBrowser; // shown in its place then
    QToolButton* btnHome;
    QToolButton* btnPre;
    QToolButton* btnNext;
    QToolButton* btnRefresh;
    QLabel* picBtn;
    QLabel* lblTitle;
    QLabel* lblURL;
    QLabel* Image4;
    QLabel* ingClose;

  private:
    void Form_Load();
    void MakeBrowser();
    void NavigateHome();
    void btnHome_Click();
    void btnPre_Click();
    void btnNext_Click();
    void btnRefresh_Click();
    void ingClose_Click();
    QToolButton* MakeButton(const char* Name, const QString& Tip, const QString& Image,
                            const QString& Stand, int Left);
};

} // namespace player

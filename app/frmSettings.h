// The server URL dialog: shows "Settings.ini" [Server] URL and lets the user change it. A change
// takes effect at the next start.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace controls {
class FormSkin;
class dcButton;
} // namespace controls

namespace app {

class frmSettings : public QWidget
{
    Q_OBJECT

  public:
    explicit frmSettings(QWidget* parent = nullptr);

    controls::FormSkin* Skin;
    // The background artwork: the skin's own picture, so it drags the window as every skin does.
    QWidget* Picture1;
    QLabel* Label1;
    QLineEdit* txtServerURL;
    controls::dcButton* btnEdit;
    controls::dcButton* btnCancel;
    controls::dcButton* btnSave;
    controls::dcButton* dcButton1;
    QLabel* ingClose;

  private:
    void Form_Load();
    void btnEdit_Click();
    void btnSave_Click();
    void btnCancel_Click();
    void dcButton1_Click();
    void ingClose_Click();

    controls::dcButton* MakeButton(const char* name, const QString& caption, const QString& tip,
                                   int left, int top, int width);
};

} // namespace app

// The About window: the program's name and version on a skinned picture, centred and above the
// other windows, closed by either of its buttons and moved by dragging the picture.
#pragma once

#include <QWidget>

class QLabel;

namespace controls {
class FormSkin;
class dcButton;
} // namespace controls

namespace player {

class frmAbout : public QWidget
{
    Q_OBJECT

  public:
    explicit frmAbout(QWidget* parent = nullptr);

    controls::FormSkin* Skin;
    QLabel* pic;
    QLabel* lblVersion;
    controls::dcButton* btnBrowse;
    controls::dcButton* dcButton1;

    // "Corvane net player" and the version it was built as.
    static QString VersionText();

  private:
    void Form_Load();
    void btnBrowse_Click();
    void dcButton1_Click();
};

} // namespace player

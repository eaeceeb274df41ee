#include "OleColor.h"

#include <QApplication>
#include <QPalette>

namespace corvane {

namespace {

// The system colour indexes a design can refer to, by their nearest palette role.
bool RoleFor(quint32 index, QPalette::ColorGroup& group, QPalette::ColorRole& role)
{
    group = QPalette::Active;
    switch (index) {
    case 1:  // desktop
    case 12: // application workspace
    case 4:  // menu
    case 15: // button face
        role = QPalette::Button;
        return true;
    case 5: // window background
        role = QPalette::Base;
        return true;
    case 6:  // window frame
    case 16: // button shadow
        role = QPalette::Dark;
        return true;
    case 7: // menu text
    case 8: // window text
        role = QPalette::Text;
        return true;
    case 9:  // active title text
    case 14: // highlight text
        role = QPalette::HighlightedText;
        return true;
    case 2:  // active title bar
    case 13: // highlight
        role = QPalette::Highlight;
        return true;
    case 17: // grey text
        group = QPalette::Disabled;
        role = QPalette::Text;
        return true;
    case 18: // button text
        role = QPalette::ButtonText;
        return true;
    case 20: // 3D highlight
        role = QPalette::Light;
        return true;
    case 21: // 3D dark shadow
        role = QPalette::Shadow;
        return true;
    case 22: // 3D light
        role = QPalette::Midlight;
        return true;
    case 23: // tool tip text
        role = QPalette::ToolTipText;
        return true;
    case 24: // tool tip background
        role = QPalette::ToolTipBase;
        return true;
    default:
        return false;
    }
}

} // namespace

QColor TranslateColor(quint32 colour)
{
    if (!(colour & SystemColourFlag))
        return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (!RoleFor(colour & ~SystemColourFlag, group, role))
        return Qt::black;
    return QApplication::palette().color(group, role);
}

} // namespace corvane

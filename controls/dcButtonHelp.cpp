// What a form designer shows for each member of the button.
#include "dcButton.h"

#include <QHash>

namespace controls {

namespace {

struct HelpEntry
{
    const char* text;
    const char* category; // properties only
};

const QHash<QString, HelpEntry>& HelpTable()
{
    static const QHash<QString, HelpEntry> table = {
        {"BackColor", {"Returns/sets the background color used for the button.", ";Appearance"}},
        {"ButtonShape",
         {"Returns/sets a value to determine the shape used to draw the button.", ";Appearance"}},
        {"ButtonStyle",
         {"Returns/sets a value to determine the style used to draw the button.", ";Appearance"}},
        {"Caption", {"Returns/sets the text displayed in the button.", ";Appearance"}},
        {"CheckBoxMode",
         {"Returns/sets the type of control the button will observe.", ";Behavior"}},
        {"Enabled",
         {"Returns/sets a value to determine whether the button can respond to events.",
          ";Behavior"}},
        {"Font", {"Returns/sets the Font used to display text on the button.", ";Font"}},
        {"FontBold", {"Returns/sets bold font style.", ";Font"}},
        {"FontItalic", {"Returns/sets italic font style.", ";Font"}},
        {"FontStrikethru", {"Returns/sets strikethrough font style.", ";Font"}},
        {"FontUnderline", {"Returns/sets underline font style.", ";Font"}},
        {"FontName", {"Specifies the name of the font used for the button caption.", ";Font"}},
        {"FontSize",
         {"Specifies the size (in points) of the font used for the button caption.", ";Font"}},
        {"ForeColor", {"Returns/sets the text color of the button caption.", ";Misc"}},
        {"HandPointer",
         {"Returns/sets a value to determine whether the control uses the system's hand pointer "
          "as its cursor.",
          ";Misc"}},
        {"hwnd", {"Returns a handle that uniquely identifies the control.", ";Misc"}},
        {"MaskColor", {"Returns/sets a color in a button's picture to be transparent.", ";Misc"}},
        {"MouseIcon", {"Sets a custom mouse icon for the button.", ";Misc"}},
        {"MousePointer",
         {"Returns/sets the type of mouse pointer displayed when cursor over the button.",
          ";Misc"}},
        {"PictureAlignment",
         {"Returns/sets a value to determine where to draw the picture in the button.", ";Misc"}},
        {"PictureDown",
         {"Returns/sets the picture displayed when the control is pressed down or in checked "
          "state.",
          ";Misc"}},
        {"PictureHot",
         {"Returns/sets the picture displayed when the cursor is over the control.", ";Misc"}},
        {"PictureNormal",
         {"Returns/sets the picture displayed on a normal state button.", ";Misc"}},
        {"PictureOpacity",
         {"Returns/sets a value in percent how the pictures will be blended to the button.",
          ";Misc"}},
        {"PictureSize",
         {"Returns/sets a value to determine the size of the picture to draw.", ";Misc"}},
        {"PictureSizeH",
         {"Returns/sets the standard/custom height of the defined pictures in pixels.", ";Misc"}},
        {"PictureSizeW",
         {"Returns/sets the standard/custom width of the defined pictures in pixels.", ";Misc"}},
        {"SpecialEffect",
         {"Returns/sets a value to determine the effect applied to button caption and icon.",
          ";Misc"}},
        {"UseMaskColor",
         {"Returns/sets a value to determine whether to use MaskColor to create transparent "
          "areas of the picture.",
          ";Misc"}},
        {"Value", {"Returns/sets the value or state of the button.", ";Behavior"}},
        {"ColorScheme",
         {"Set BackColor to the default background color of a button style.", nullptr}},
        {"OverrideColor", {"Override the predefined color property of the button.", nullptr}},
        {"SetPopupMenu",
         {"Set the control to handle popup operation to the specified menu and settings.",
          nullptr}},
        {"UnsetPopupMenu",
         {"Unset the control handling popup operation and restores regular button events.",
          nullptr}},
        {"Refresh", {"Forces a complete repaint of the button.", nullptr}},
        {"Click",
         {"Occurs when the user presses and then releases a mouse button over the button.",
          nullptr}},
        {"DblClick", {"Occurs when the user clicks over the button twice.", nullptr}},
        {"KeyDown",
         {"Occurs when the user presses a key while the button has the focus.", nullptr}},
        {"KeyPress", {"Occurs when the user presses and releases an ANSI key.", nullptr}},
        {"KeyUp", {"Occurs when the user releases a key while the button has the focus.", nullptr}},
        {"MouseDown",
         {"Occurs when the user presses the mouse button while the button has the focus.",
          nullptr}},
        {"MouseEnter",
         {"Occrus when the cursor moves around the button for the first time.", nullptr}},
        {"MouseLeave", {"Occurs when the cursor leaves/moves outside the button.", nullptr}},
        {"MouseMove", {"Occurs when the cursor moves over the button.", nullptr}},
        {"MouseUp",
         {"Occurs when the user releases the mouse button while the button has the focus.",
          nullptr}},
    };
    return table;
}

} // namespace

QString dcButton::HelpText(const QString& member)
{
    const auto it = HelpTable().constFind(member);
    return it == HelpTable().cend() ? QString() : QString::fromUtf8(it->text);
}

QString dcButton::PropertyCategory(const QString& property)
{
    const auto it = HelpTable().constFind(property);
    if (it == HelpTable().cend() || !it->category)
        return QString();
    return QString::fromLatin1(it->category);
}

} // namespace controls

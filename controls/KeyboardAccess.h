// Keyboard and screen-reader use of the skinned windows: the focus ring drawn in the artwork's
// colours, the keys a focused control keeps for itself, Esc on the popups, and the accessible
// names that follow the tooltips.
#pragma once

#include <QString>
#include <functional>

class QPainter;
class QRect;
class QWidget;

namespace controls {

// The ring around a focused picture button: the artwork's amber accent, inside Area; Round for
// the round buttons, whose shape would cut a rectangle's corners off.
void DrawFocusRing(QPainter& Painter, const QRect& Area, bool Round = false);
// The same ring around a list, as a style sheet rule.
QString FocusRingStyle(const QString& Selector);

// The keys a focused button presses with (Space, Return, Enter): they reach Button before any
// window shortcut on the same key.
void KeepButtonKeys(QWidget& Button);
// Up and Down move in a focused list before any window shortcut on them.
void KeepListKeys(QWidget& List);

// Esc in Window runs Close, the handler of its close picture.
void CloseOnEscape(QWidget& Window, std::function<void()> Close);

// Every control of Window a person operates that has neither an accessible name nor a caption
// takes its tooltip as its name. Run after the window set its tooltips.
void NameControlsAfterToolTips(QWidget& Window);

// A picture button that is on or off (the directory shown): screen readers see it checked or
// not, and hear when that changes.
void AnnounceChecked(QWidget& Control, bool Checked);

} // namespace controls

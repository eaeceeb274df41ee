// Writes down every event a SystemTray raises, in order, as short words ("Left", "Click1+0"...).
#pragma once

#include "SystemTray.h"

#include <QStringList>

struct TrayRecorder
{
    QStringList events;
    explicit TrayRecorder(SystemTray& tray)
    {
        auto note = [this](const char* word) { return [this, word] { events << word; }; };
        QObject::connect(&tray, &SystemTray::LeftClick, note("Left"));
        QObject::connect(&tray, &SystemTray::RightClick, note("Right"));
        QObject::connect(&tray, &SystemTray::MiddleClick, note("Middle"));
        QObject::connect(&tray, &SystemTray::LeftDblClick, note("LeftDbl"));
        QObject::connect(&tray, &SystemTray::RightDblClick, note("RightDbl"));
        QObject::connect(&tray, &SystemTray::MiddleDblClick, note("MiddleDbl"));
        QObject::connect(&tray, &SystemTray::Other, note("Other"));
        QObject::connect(&tray, &SystemTray::MouseClick, [this](int button, int shift) {
            events << QStringLiteral("Click%1+%2").arg(button).arg(shift);
        });
        QObject::connect(&tray, &SystemTray::MouseDblClick, [this](int button, int shift) {
            events << QStringLiteral("DblClick%1+%2").arg(button).arg(shift);
        });
    }
    // The events without the "Other" of pointer moves that came before the first click.
    QStringList WithoutLeadingOthers() const
    {
        QStringList rest = events;
        while (!rest.isEmpty() && rest.first() == "Other")
            rest.removeFirst();
        return rest;
    }
};

#include "ProgramState.h"

#include <QApplication>
#include <QWidget>

QString ServerURL;
int16_t FadeAlpha = 0;
int16_t FadeTarget = 0;
bool PlayStopped = false;
QString PlayerTitle;
bool ProgramEnding = false;

void EndProgram()
{
    ProgramEnding = true;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        window->hide();
    // exit() ends the main loop and every nested loop running on this thread.
    QCoreApplication::exit(0);
}

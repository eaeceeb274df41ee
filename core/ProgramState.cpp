#include "ProgramState.h"

namespace core {

void ProgramState::SetServerURL(const QString& URL)
{
    if (URL == m_sServerURL)
        return;
    m_sServerURL = URL;
    emit ServerURLChanged(URL);
}

void ProgramState::SetPlayStopped(bool Stopped)
{
    if (Stopped == m_bPlayStopped)
        return;
    m_bPlayStopped = Stopped;
    emit PlayStoppedChanged(Stopped);
}

void ProgramState::SetPlayerTitle(const QString& Title)
{
    if (Title == m_sPlayerTitle)
        return;
    m_sPlayerTitle = Title;
    emit PlayerTitleChanged(Title);
}

ProgramState& State()
{
    static ProgramState state;
    return state;
}

} // namespace core

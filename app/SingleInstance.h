// One running player per user and program folder: two would fight over the settings files and
// the relay's port 8000. The first start listens on a local socket; a second start finds it,
// asks it to come to the front, and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace app {

class SingleInstance : public QObject
{
    Q_OBJECT

  public:
    enum class Claim {
        First,      // this process is the running instance (listening when it could)
        Raised,     // another instance runs and has come to the front
        Unanswered, // another instance accepted the request but did not confirm in time
    };

    // ServerPath: the socket's full path, see ServerPathFor.
    explicit SingleInstance(QString ServerPath, QObject* Parent = nullptr);
    ~SingleInstance() override;

    // The socket for this user and this program folder, in the user's runtime folder
    // (XDG_RUNTIME_DIR), else in the temporary folder with the user's id in the name.
    static QString ServerPathFor(const QString& ProgramFolder);

    // Asks a running instance to come to the front, else becomes the running instance. A socket
    // left by an instance that crashed answers nobody and is replaced. Waits at most TimeoutMs
    // for a running instance to answer.
    Claim ClaimOrRaise(int TimeoutMs);

    // Whether this instance listens for later starts.
    bool IsListening() const { return m_Server.isListening(); }
    QString ServerPath() const { return m_Path; }

  signals:
    // A later start asked to bring this program to the front.
    void RaiseRequested();

  private:
    bool AskRunningToRaise(int TimeoutMs, bool& Answered);
    bool Listen();
    void OnNewConnection();

    QString m_Path;
    QLocalServer m_Server;
};

} // namespace app

#include "Processes.h"

#include <QDir>
#include <QFile>
#include <map>
#include <vector>

namespace {

// "pid (comm) state ppid ...": comm may hold spaces and parentheses, so read after the last ')'.
bool ReadStat(const QString& Pid, char& State, pid_t& Parent)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(Pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stat = file.readAll();
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 2 || fields[0].isEmpty())
        return false;
    State = fields[0][0];
    Parent = fields[1].toInt();
    return true;
}

} // namespace

std::set<pid_t> Descendants(pid_t Root)
{
    std::multimap<pid_t, pid_t> children;
    const auto entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        char state = 0;
        pid_t parent = 0;
        if (number && ReadStat(entry, state, parent))
            children.emplace(parent, pid);
    }
    std::set<pid_t> found;
    std::vector<pid_t> queue{Root};
    while (!queue.empty()) {
        const pid_t pid = queue.back();
        queue.pop_back();
        const auto [first, last] = children.equal_range(pid);
        for (auto it = first; it != last; ++it) {
            if (found.insert(it->second).second)
                queue.push_back(it->second);
        }
    }
    return found;
}

bool ProcessLives(pid_t Pid)
{
    char state = 0;
    pid_t parent = 0;
    return ReadStat(QString::number(Pid), state, parent) && state != 'Z' && state != 'X';
}

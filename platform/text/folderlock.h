#pragma once
// A folder held by one process at a time: an advisory lock on the folder
// itself, which the system drops when the process ends, however it ends, so
// that no lock outlives the copy of the program that took it.
#include <QString>

namespace platform
{

class FolderLock
{
public:
    enum class State {
        Held,    // this object holds the folder until it is destroyed
        Busy,    // another process, or another FolderLock, holds it
        Unknown, // the system cannot lock it (no such folder, a file system
                 // without locks): nothing is held, nothing is known
    };

    // Tries once, without waiting.
    explicit FolderLock(const QString &folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    State state() const { return m_state; }

private:
    int m_fd = -1;
    State m_state = State::Unknown;
};

} // namespace platform

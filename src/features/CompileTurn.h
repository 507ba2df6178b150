#pragma once
// Two copies of the program never compile the same document at once, which
// would have two compilers write the same DVI, log and auxiliary files. A
// compile runs its compiler only in the document's turn: a lock that every
// program on the machine knows by the document's full path, as Windows
// compares names. While another copy holds it, the compile waits with the
// window handling its messages.
#include <memory>
#include <string>

#include "features/Application.h"

// The lock's name for a document's full path: the same for every spelling
// that differs only in letter case, free of backslashes and of a fixed length.
std::string compileLockName(const std::string& fullPath);

class CompileTurn {
public:
    // Waits for the document's turn, or until the end of the program is
    // requested. Should the system refuse the lock, the turn is taken at once:
    // the compile then runs as it would alone.
    CompileTurn(Application& app, const std::string& texPath);
    // False when the end of the program was requested first.
    bool taken() const { return taken_; }

private:
    std::unique_ptr<platform::SharedLock> lock_; // released when the turn ends
    bool taken_ = false;
};

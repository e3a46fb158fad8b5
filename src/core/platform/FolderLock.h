#pragma once

#include <QString>

#include <memory>

namespace platform {

// A lock on a folder, held by one process at a time: while a compile writes its batch file and
// multirom there, a second compile into that folder (another window, vellmore-cli) is refused
// instead of taking the first one's flash.bat for a leftover. The system lets it go with the
// process, however that ends.
class FolderLock {
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when another process holds the folder's lock.
    bool held() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace platform

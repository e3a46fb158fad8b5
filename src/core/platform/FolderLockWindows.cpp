// A folder's lock on Windows: a named mutex of the user's session, named after the folder as
// Windows compares names (letter case aside), so that no file of Vellmore's stands in the folder.
#include "platform/FolderLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace platform {

struct FolderLock::Private {
    HANDLE mutex = nullptr;
    bool held = false;
};

FolderLock::FolderLock(const QString& folder) : d(new Private)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key =
        QCryptographicHash::hash(QDir::toNativeSeparators(canonical.isEmpty() ? folder : canonical).toLower().toUtf8(),
                                 QCryptographicHash::Sha1);
    const QString name = QStringLiteral("Local\\Vellmore-compile-") + QString::fromLatin1(key.toHex());
    d->mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()));
    if (!d->mutex) {
        d->held = true; // no lock to be had: the compile goes on as it would have
        return;
    }
    const DWORD waited = WaitForSingleObject(d->mutex, 0);
    d->held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

FolderLock::~FolderLock()
{
    if (d->mutex) {
        if (d->held)
            ReleaseMutex(d->mutex);
        CloseHandle(d->mutex);
    }
}

bool FolderLock::held() const
{
    return d->held;
}

} // namespace platform

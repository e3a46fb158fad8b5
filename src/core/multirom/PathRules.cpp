#include "multirom/PathRules.h"

#include "platform/Platform.h"

namespace multirom {

QString composeInFolder(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return QString(); // an unknown folder is never taken for the root
    QString path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(platform::separator()).append(name);
    return path;
}

QString composeGamePath(const QString& folder, const QString& name)
{
    if (folder == platform::primaryRoot())
        return folder + name;
    return composeInFolder(folder, name);
}

QString composeOutputPath(const QString& folder)
{
    const QString path = composeInFolder(folder, multiromName);
#ifdef Q_OS_WIN
    for (const QString& drive : {QStringLiteral("C:\\\\"), QStringLiteral("D:\\\\")}) {
        if (path == drive + multiromName)
            return drive.left(3) + multiromName;
    }
    return path;
#else
    const QString doubled = platform::primaryRoot() + platform::separator() + multiromName;
    return path == doubled ? platform::primaryRoot() + multiromName : path;
#endif
}

QString multiromProbePath(const QString& folder)
{
    return composeInFolder(folder, multiromName);
}

} // namespace multirom

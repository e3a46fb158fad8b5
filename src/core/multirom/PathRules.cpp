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
    for (const QString& root : platform::tidiedOutputRoots()) {
        if (path == root + platform::separator() + multiromName)
            return root + multiromName;
    }
    return path;
}

QString multiromProbePath(const QString& folder)
{
    return composeInFolder(folder, multiromName);
}

} // namespace multirom

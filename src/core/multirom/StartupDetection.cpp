#include "multirom/StartupDetection.h"

#include "multirom/PathRules.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"

namespace multirom {

QString toolLookupName()
{
    return toolName.toLower();
}

QStringList startupFileNames()
{
    return {loaderName, toolLookupName()};
}

StartupPaths composeStartupPaths(const QHash<QString, QString>& found, const QString& browserFolder)
{
    const bool keepDiskName = platform::fileNamesAreCaseSensitive();
    StartupPaths paths;
    if (found.contains(loaderName))
        paths.loader = composeInFolder(browserFolder, keepDiskName ? found.value(loaderName) : loaderName);
    if (found.contains(toolLookupName()))
        paths.tool = composeInFolder(browserFolder, keepDiskName ? found.value(toolLookupName()) : toolName);
    paths.output = multiromProbePath(browserFolder);
    return paths;
}

QHash<QString, QString> detectStartupFiles(const QString& searchFolder)
{
    platform::FolderQuery query;
    query.findIgnoringCase = startupFileNames();
    return platform::readFolder(searchFolder, query).found;
}

} // namespace multirom

#include "multirom/StartupDetection.h"

#include "multirom/PathRules.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"

namespace multirom {

namespace {
QString toolLookupName()
{
    return toolName.toLower();
}
} // namespace

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

StartupPaths detectStartupPaths(const QString& searchFolder, const QString& browserFolder)
{
    platform::FolderQuery query;
    query.findIgnoringCase = startupFileNames();
    return composeStartupPaths(platform::readFolder(searchFolder, query).found, browserFolder);
}

} // namespace multirom

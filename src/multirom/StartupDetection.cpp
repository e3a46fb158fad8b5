#include "multirom/StartupDetection.h"

#include "multirom/PathRules.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"

namespace multirom {

StartupPaths detectStartupPaths(const QString& searchFolder, const QString& browserFolder)
{
    const QString toolLookupName = toolName.toLower();
    const QHash<QString, QString> found =
        platform::findOrdinaryFilesIgnoringCase(searchFolder, {loaderName, toolLookupName});
    const bool keepDiskName = platform::fileNamesAreCaseSensitive();

    StartupPaths paths;
    if (found.contains(loaderName))
        paths.loader = composeInFolder(browserFolder, keepDiskName ? found.value(loaderName) : loaderName);
    if (found.contains(toolLookupName))
        paths.tool = composeInFolder(browserFolder, keepDiskName ? found.value(toolLookupName) : toolName);
    paths.output = multiromProbePath(browserFolder);
    return paths;
}

} // namespace multirom

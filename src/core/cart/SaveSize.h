#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace cart {

// The four sizes of a save bank's backup. The tool takes each as its size code, 1 to 4.
enum class SaveSize { K32 = 1, K64, K128, K256 };

inline int sizeCode(SaveSize size)
{
    return int(size);
}

// The bytes of a whole backup: 32,768 to 262,144.
inline qint64 sizeBytes(SaveSize size)
{
    return qint64(32 * 1024) << (sizeCode(size) - 1);
}

// "32K" to "256K", as the save window's options and the messages say it.
inline QString sizeName(SaveSize size)
{
    return QString::number(32 << (sizeCode(size) - 1)) + QLatin1Char('K');
}

// The size a name gives ("128K", any letter case), or nothing.
inline std::optional<SaveSize> saveSizeNamed(const QString& name)
{
    for (const SaveSize size : {SaveSize::K32, SaveSize::K64, SaveSize::K128, SaveSize::K256}) {
        if (name.compare(sizeName(size), Qt::CaseInsensitive) == 0)
            return size;
    }
    return std::nullopt;
}

} // namespace cart

#include "controls/DialogHistoryKeeper.h"

#include "platform/Platform.h"

#include <QSettings>

namespace {

const QString organization = QStringLiteral("QtProject");
const QString group = QStringLiteral("FileDialog");

} // namespace

DialogHistoryKeeper::DialogHistoryKeeper() : m_existed(platform::userSettingsExist(organization))
{
    if (!m_existed)
        return;
    QSettings settings(QSettings::UserScope, organization);
    settings.beginGroup(group);
    for (const QString& key : settings.allKeys())
        m_before.insert(key, settings.value(key));
}

DialogHistoryKeeper::~DialogHistoryKeeper()
{
    {
        QSettings settings(QSettings::UserScope, organization);
        settings.remove(group);
        settings.beginGroup(group);
        for (auto entry = m_before.cbegin(); entry != m_before.cend(); ++entry)
            settings.setValue(entry.key(), entry.value());
        settings.endGroup();
        settings.sync();
    }
    if (!m_existed)
        platform::removeUserSettings(organization);
}

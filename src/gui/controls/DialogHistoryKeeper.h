#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

// Qt's file dialog writes its history where every Qt program of the user reads it (the registry
// on Windows). Vellmore keeps nothing there: while a keeper lives a dialog may write, and when
// it goes the dialog's settings are as they were before, down to whether they existed at all.
class DialogHistoryKeeper {
public:
    DialogHistoryKeeper();
    ~DialogHistoryKeeper();
    DialogHistoryKeeper(const DialogHistoryKeeper&) = delete;
    DialogHistoryKeeper& operator=(const DialogHistoryKeeper&) = delete;

private:
    bool m_existed = false;
    QMap<QString, QVariant> m_before;
};

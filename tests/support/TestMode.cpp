// Every test runs with Qt's test mode on, so that nothing it does (a file dialog's history, for
// one) reaches the settings of the user who runs the suite.
#include <QStandardPaths>

namespace {
const bool testModeOn = [] {
    QStandardPaths::setTestModeEnabled(true);
    return true;
}();
} // namespace

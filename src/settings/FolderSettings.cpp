#include "FolderSettings.h"

#include <QDir>

// Placeholder until the settings file lands.
QString defaultFolder() { return QDir::currentPath(); }
void PASS_READ(SharedState& state, const QString&)
{
    state.PASS_NAME1 = state.PASS_NAME2 = defaultFolder();
}
bool PASS_WRITE(const SharedState&, const QString&) { return true; }

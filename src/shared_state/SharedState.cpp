#include "shared_state/SharedState.h"

#include <QDir>

QString joinFolder(const QString& folder, const QString& name)
{
    return folder + QDir::separator() + name;
}

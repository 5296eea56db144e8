#include "tool_window/ToolWindow.h"

#include <QMessageBox>

namespace {

WarningFn& hook()
{
    static WarningFn current;
    return current;
}

} // namespace

void showWarningBox(QWidget* parent, const QString& message)
{
    if (hook()) {
        hook()(message);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kToolTitle), message, QMessageBox::Ok,
                    parent);
    box.exec();
}

WarningBoxHook::WarningBoxHook(WarningFn hookFn) : previous_(std::move(hook()))
{
    hook() = std::move(hookFn);
}

WarningBoxHook::~WarningBoxHook()
{
    hook() = std::move(previous_);
}

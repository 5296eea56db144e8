#include "tool_window/ToolWindow.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

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
    // A short message makes a box narrower than its title bar needs, and the window manager
    // cuts the title ("M…er"): the box keeps room for the whole title, in a bold title font, and
    // the title bar's icon and buttons (about 150 px).
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont bold = box.font();
        bold.setBold(true);
        const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) * 5 / 4 + 150;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
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

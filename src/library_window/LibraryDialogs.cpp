#include "library_window/LibraryDialogs.h"

#include "tool_window/ToolWindow.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

class LibraryDialogText {
    Q_DECLARE_TR_FUNCTIONS(LibraryDialogs)
public:
    static QString lapFiles() { return tr("Import lap files"); }
    static QString lapFilter() { return tr("Lap files (*.BIL *.bil);;All files (*)"); }
    static QString folder() { return tr("Import a folder of lap files"); }
    static QString newLibrary() { return tr("Start a new lap library"); }
    static QString libraryFilter() { return tr("Lap libraries (*.sqlite);;All files (*)"); }
};

} // namespace

LibraryDialogs LibraryDialogs::standard()
{
    LibraryDialogs d;
    d.openLapFiles = [](QWidget* parent, const QString& folder) {
        return QFileDialog::getOpenFileNames(parent, LibraryDialogText::lapFiles(), folder,
                                             LibraryDialogText::lapFilter());
    };
    d.openFolder = [](QWidget* parent, const QString& folder) {
        return QFileDialog::getExistingDirectory(parent, LibraryDialogText::folder(), folder);
    };
    d.newLibrary = [](QWidget* parent, const QString& proposed) {
        return QFileDialog::getSaveFileName(parent, LibraryDialogText::newLibrary(), proposed,
                                            LibraryDialogText::libraryFilter());
    };
    d.ask = [](QWidget* parent, const QString& text, const QStringList& answers) {
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(kToolTitle), text,
                        QMessageBox::NoButton, parent);
        std::vector<QAbstractButton*> buttons;
        for (qsizetype i = 0; i < answers.size(); ++i)
            buttons.push_back(box.addButton(answers[i], i == 0 ? QMessageBox::AcceptRole
                                                               : QMessageBox::RejectRole));
        box.addButton(QMessageBox::Cancel);
        if (!buttons.empty())
            box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
        box.exec();
        const auto found = std::find(buttons.begin(), buttons.end(), box.clickedButton());
        return found == buttons.end() ? -1 : int(found - buttons.begin());
    };
    return d;
}

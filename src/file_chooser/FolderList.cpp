#include "file_chooser/FolderList.h"

#include "file_chooser/DriveSystem.h"
#include "file_chooser/RoomyRowDelegate.h"

#include <QDir>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString indent(int level)
{
    return QString(level * 2, QLatin1Char(' '));
}

} // namespace

FolderList::FolderList(const DriveSystem& drives, QWidget* parent)
    : QListWidget(parent), drives_(drives)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new RoomyRowDelegate(this));
    connect(this, &QAbstractItemView::activated, this, &FolderList::open);
}

FileResult<> FolderList::setPath(const QString& folder)
{
    const QString path = listableFolder(folder);
    if (path.isEmpty())
        return FileResult<>::failure(
            folderErrorMessage(folder.isEmpty() ? QString() : normalFolder(folder)));
    if (path.compare(path_, kPathCase) == 0)
        return {};
    path_ = path;
    rebuild();
    emit pathChanged(path_);
    return {};
}

void FolderList::open(const QModelIndex& index)
{
    const QString target = index.data(kPathRole).toString();
    if (!setPath(target).ok())
        rebuild(); // the folder went away meanwhile: show what is there now
}

void FolderList::rebuild()
{
    clear();
    const QChar sep = QDir::separator();
    const QString drive = drives_.driveOf(path_);
    QString root = drive.isEmpty() ? QString() : normalFolder(drives_.driveRoot(drive));
    const QString rootPrefix = root.endsWith(sep) ? root : root + sep;
    if (root.isEmpty() ||
        !(path_.compare(root, kPathCase) == 0 || path_.startsWith(rootPrefix, kPathCase)))
        root = QDir::toNativeSeparators(QDir(path_).rootPath());

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The path from the root down to the current folder.
    auto* rootItem = new QListWidgetItem(openIcon, root, this);
    rootItem->setData(kPathRole, root);
    int level = 0;
    QString walked = root;
    const QStringList parts = path_.mid(root.size()).split(sep, Qt::SkipEmptyParts);
    QListWidgetItem* current = rootItem;
    for (const QString& part : parts) {
        walked = walked.endsWith(sep) ? walked + part : walked + sep + part;
        current = new QListWidgetItem(openIcon, indent(++level) + part, this);
        current->setData(kPathRole, walked);
    }

    // The subfolders of the current folder.
    const QStringList subfolders =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(closedIcon, indent(level + 1) + name, this);
        item->setData(kPathRole, path_.endsWith(sep) ? path_ + name : path_ + sep + name);
    }
    setCurrentItem(current);
}

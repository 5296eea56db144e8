#include "file_chooser/FileList.h"

#include "file_chooser/DriveSystem.h"
#include "file_chooser/RoomyRowDelegate.h"

#include <QDirIterator>
#include <algorithm>

namespace {

bool nameLess(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

FileList::FileList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setItemDelegate(new RoomyRowDelegate(this));
}

void FileList::setPattern(const QString& pattern)
{
    if (pattern == pattern_)
        return;
    pattern_ = pattern;
    relist();
}

FileResult<> FileList::setFolder(const QString& folder)
{
    const QString path = listableFolder(folder);
    if (path.isEmpty())
        return FileResult<>::failure(
            folderErrorMessage(folder.isEmpty() ? QString() : normalFolder(folder)));
    // The opening steps set the same folder twice; listing a large folder once is enough.
    if (path.compare(folder_, kPathCase) == 0)
        return {};
    folder_ = path;
    relist();
    return {};
}

QStringList FileList::selectedNames() const
{
    QStringList names;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected())
            names << item(i)->text();
    }
    return names;
}

void FileList::relist()
{
    if (folder_.isEmpty())
        return;
    // Files only: no folders, no hidden files, no devices or broken links.
    QDirIterator it(folder_, QStringList{pattern_}, QDir::Files | QDir::NoDotAndDotDot);
    QStringList names;
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    std::sort(names.begin(), names.end(), nameLess);
    clear();
    addItems(names);
}

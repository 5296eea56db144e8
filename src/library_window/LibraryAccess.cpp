#include "library_window/LibraryAccess.h"

#include <QFileInfo>

LibraryAccess::LibraryAccess(QString path, QObject* parent) : QObject(parent), path_(std::move(path))
{
}

LibraryAccess::~LibraryAccess() = default;

LapLibrary* LibraryAccess::library()
{
    if (!library_ && !tried_) {
        tried_ = true;
        auto opened = LapLibrary::open(path_, LapLibrary::Mode::ReadWrite);
        if (opened.ok())
            library_ = std::move(*opened.value);
        else
            error_ = opened.error;
    }
    return library_.get();
}

LapLibrary* LibraryAccess::existing()
{
    if (library_ || tried_)
        return library_.get();
    return QFileInfo::exists(path_) ? library() : nullptr;
}

bool LibraryAccess::switchTo(const QString& path)
{
    auto opened = LapLibrary::open(path, LapLibrary::Mode::ReadWrite);
    if (!opened.ok()) {
        error_ = opened.error;
        return false;
    }
    path_ = path;
    library_ = std::move(*opened.value);
    tried_ = true;
    error_ = {};
    emit switched();
    emit changed();
    return true;
}

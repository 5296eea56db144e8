#pragma once

#include "lap_library/LapLibrary.h"

#include <QObject>
#include <QString>
#include <memory>

// The lap library the windows of one run share: opened once, at the default place (or
// MIREN_LIBRARY), or at another the user starts a new library in. Whoever changes it says so,
// and every window that shows it reads it again.
class LibraryAccess : public QObject {
    Q_OBJECT

public:
    explicit LibraryAccess(QString path = LapLibrary::defaultPath(), QObject* parent = nullptr);
    ~LibraryAccess() override;

    QString path() const { return path_; }
    // The library, opened (or made, where there is none yet) at the first call; nullptr when it
    // cannot be opened, and error() says why.
    LapLibrary* library();
    // The library only where there is one already: nothing is made for a mere look.
    LapLibrary* existing();
    const LibraryError& error() const { return error_; }
    // Opens the library at path instead, making it where there is none; the old one is left as
    // it is. False, with error(), when it cannot be opened.
    bool switchTo(const QString& path);

    void notifyChanged() { emit changed(); }

signals:
    // Sessions or sheets changed.
    void changed();
    // Another library took the place of the old one.
    void switched();

private:
    QString path_;
    std::unique_ptr<LapLibrary> library_;
    LibraryError error_;
    bool tried_ = false;
};

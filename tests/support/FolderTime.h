#pragma once

#include <QDateTime>
#include <QString>

// Sets the modification time of a folder (QFile cannot open one to do it); true on success.
bool set_folder_modified(const QString& path, const QDateTime& modified);

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The 163 picture files in frame order, for the benchmark programs.
inline QStringList pictureFiles()
{
    QStringList files;
    for (int n = 0; n <= 130; ++n)
        files << QString("/toaster_%1.png").arg(n, 4, 10, QChar('0'));
    for (int n = 0; n <= 29; ++n)
        files << QString("/police_%1.png").arg(n, 4, 10, QChar('0'));
    files << "/toast.png"
          << "/toast-burnt.png";
    return files;
}

inline QString resourcesFolder() { return QCoreApplication::applicationDirPath() + "/Resources"; }

#pragma once

#include <QString>
#include <QStringList>

// The file names of the 163 pictures in frame order, as the loader reads them.
class ArtworkNames {
public:
    static QStringList all()
    {
        QStringList names;
        for (int n = 0; n <= 130; ++n)
            names << QStringLiteral("toaster_%1.png").arg(n, 4, 10, QChar('0'));
        for (int n = 0; n <= 29; ++n)
            names << QStringLiteral("police_%1.png").arg(n, 4, 10, QChar('0'));
        names << QStringLiteral("toast.png") << QStringLiteral("toast-burnt.png");
        return names;
    }
};

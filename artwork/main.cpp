// Draws the animation's pictures: quillamere-artwork [FOLDER] [--contact-sheet FILE]
#include "artwork/ArtworkFrames.h"
#include "artwork/ContactSheet.h"
#include "platform/RuntimeException.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Runs in the build, where there may be no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString folder, sheet;
    bool wrongUse = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size() && !wrongUse; ++i) {
        if (args[i] == QStringLiteral("--contact-sheet") && i + 1 < args.size())
            sheet = args[++i];
        else if (args[i].startsWith(QStringLiteral("-")) || !folder.isEmpty())
            wrongUse = true;
        else
            folder = args[i];
    }
    if (wrongUse || (folder.isEmpty() && sheet.isEmpty())) {
        std::fprintf(stderr, "usage: quillamere-artwork [FOLDER] [--contact-sheet FILE]\n");
        return 2;
    }
    try {
        if (!folder.isEmpty())
            ArtworkFrames::writeAll(folder);
        if (!sheet.isEmpty())
            ContactSheet::write(sheet);
    } catch (const platform::RuntimeException& e) {
        std::fprintf(stderr, "quillamere-artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}

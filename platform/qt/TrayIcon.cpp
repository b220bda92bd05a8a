#include "platform/qt/TrayIcon.h"

#include "platform/Application.h"
#include "platform/MenuBar.h"
#include "platform/Picture.h"
#include "platform/RGBSurface.h"
#include "platform/Runtime.h"
#include "platform/qt/Conversions.h"
#include "platform/qt/EventBoundary.h"
#include "platform/qt/MenuBuilder.h"
#include "platform/qt/MenuChoice.h"
#include "platform/qt/WindowRegistry.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <memory>

namespace platform::qt {
namespace {

    struct Tray {
        bool started = false;
        std::unique_ptr<QSystemTrayIcon> icon;
        std::unique_ptr<QMenu> menu;
        // The picture the icon shows, so that it is converted once.
        std::shared_ptr<Picture> picture;
    };

    Tray& tray()
    {
        // Never destroyed: the icon goes in the finalisers, or not at all
        // when the process ends from inside Qt.
        static Tray& t = *new Tray;
        return t;
    }

    QIcon iconOf(const Picture* picture)
    {
        if (!picture)
            return {};
        const std::shared_ptr<RGBSurface> surface = picture->RGBSurface();
        QImage image(static_cast<int>(picture->Width()), static_cast<int>(picture->Height()), QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            // The surface counts transparency where Qt counts opacity.
            for (int x = 0; x < image.width(); ++x)
                line[x] = surface->Pixel(x, y) ^ 0xFF000000u;
        }
        return QIcon(QPixmap::fromImage(image));
    }

} // namespace

void StartTray()
{
    tray().started = true;
    RefreshTray();
}

void RefreshTray()
{
    auto& t = tray();
    if (!t.started || !QCoreApplication::instance())
        return;
    std::shared_ptr<Application> app = GetAppObject();
    std::shared_ptr<MenuBar> bar = app ? app->MenuBar() : nullptr;
    if (!bar) {
        ReleaseTray();
        return;
    }
    // Made and shown whether or not a tray runs now: from then on Qt
    // watches the tray selection and puts the icon into a tray that starts
    // later or restarts.
    if (!t.icon)
        t.icon = std::make_unique<QSystemTrayIcon>();
    if (t.picture != app->TrayPicture()) {
        t.picture = app->TrayPicture();
        t.icon->setIcon(iconOf(t.picture.get()));
    }
    t.icon->setToolTip(ToQt(app->TrayToolTip()));
    auto menu = std::make_unique<QMenu>();
    // The tray's menu items carry no key equivalents: the windows' own do.
    AddMenus(
        menu.get(), *bar, menu.get(),
        [](const std::shared_ptr<MenuItem>& item) {
            Deliver([&] { Choose(item, WindowOfWidget(QApplication::activeWindow())); });
        },
        false);
    t.icon->setContextMenu(menu.get());
    t.menu = std::move(menu);
    t.icon->setVisible(!t.icon->icon().isNull());
}

void ReleaseTray()
{
    auto& t = tray();
    t.menu.reset();
    t.icon.reset();
    t.picture.reset();
}

bool TrayIconShown()
{
    const auto& t = tray();
    return t.icon && t.icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace platform::qt

#include "WindowMainProbe.h"

#include "platform/Screen.h"
#include "sprites/SpriteBurnedToast.h"
#include "sprites/SpriteToast.h"

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Window ids of _NET_CLIENT_LIST_STACKING, bottom first.
std::vector<unsigned long> stacking()
{
    QString out = run("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" });
    std::vector<unsigned long> ids;
    int hash = out.indexOf('#');
    if (hash < 0)
        return ids;
    for (const QString& part : out.mid(hash + 1).split(',', Qt::SkipEmptyParts))
        ids.push_back(part.trimmed().toULong(nullptr, 16));
    return ids;
}

std::ptrdiff_t positionIn(const std::vector<unsigned long>& ids, unsigned long id)
{
    auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : it - ids.begin();
}

} // namespace

// Under openbox: a window made for the screen and set to its full frame is a
// desktop window beneath an ordinary one, and it shows our pictures.
TEST(Desktop, LiesBeneathOrdinaryWindowsAndShowsTheArtwork)
{
    auto screen = platform::Screen::ScreenAt(0);
    auto w = std::make_shared<WindowMain>(0);
    w->SetBounds({ 0, 0, static_cast<double>(screen.Width()), static_cast<double>(screen.Height()) });
    ASSERT_TRUE(pumpUntil([&] { return WindowMainProbe::textureNames(*w).size() == 163; }, 15000));
    // Sprites in view at once, besides those the spawn tick brings in.
    for (int i = 0; i < 4; ++i) {
        std::shared_ptr<Sprite> s = i % 2 ? std::shared_ptr<Sprite>(std::make_shared<SpriteToast>())
                                          : std::shared_ptr<Sprite>(std::make_shared<SpriteBurnedToast>());
        s->x = static_cast<float>(300 + 200 * i);
        s->y = static_cast<float>(300 + 50 * i);
        s->z(0.5f + 0.1f * static_cast<float>(i));
        ExtendsSpriteArray::InsertSorted(WindowMainProbe::sprites(*w), s);
    }
    unsigned long id = xWindowOf(*w);
    EXPECT_EQ(w->Width(), screen.Width());
    EXPECT_EQ(w->Height(), screen.Height());
    EXPECT_TRUE(run("xprop", { "-id", QString::number(id), "_NET_WM_WINDOW_TYPE" }).contains("_NET_WM_WINDOW_TYPE_DESKTOP"));

    QProcess xlogo;
    xlogo.start("xlogo", { "-geometry", "200x200+100+100" });
    ASSERT_TRUE(xlogo.waitForStarted());
    ASSERT_TRUE(pumpUntil([&] { return stacking().size() >= 2; }, 5000));
    // Activating and raising the desktop window must not lift it.
    run("xdotool", { "windowactivate", "--sync", QString::number(id) });
    run("xdotool", { "windowraise", QString::number(id) });
    pumpFor(500);
    auto ids = stacking();
    unsigned long logo = 0;
    for (auto other : ids)
        if (other != id)
            logo = other;
    EXPECT_GE(positionIn(ids, id), 0);
    EXPECT_LT(positionIn(ids, id), positionIn(ids, logo)) << "the desktop window is not beneath xlogo";
    xlogo.kill();
    xlogo.waitForFinished();

    pumpFor(1500);
    QProcess import;
    import.start("import", { "-window", "root", "png:-" });
    pumpUntil([&] { return import.state() == QProcess::NotRunning || import.waitForFinished(50); }, 10000);
    QImage shot = QImage::fromData(import.readAllStandardOutput(), "PNG");
    ASSERT_FALSE(shot.isNull());
    int toastColoured = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) {
            QColor c = shot.pixelColor(x, y);
            if (c.red() > 60 && c.red() > c.blue() + 20)
                ++toastColoured; // golden and brown tones of the toast
        }
    EXPECT_GT(toastColoured, 500) << "no artwork on screen";
    w->Close();
}

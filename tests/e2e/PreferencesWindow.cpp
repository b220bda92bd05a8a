#include "PreferencesWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <limits>

namespace e2e {

using namespace xtools;

void ensureGuiApplication()
{
    // The tests make one only when they need it, on the test's own display.
    if (QGuiApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = { name, nullptr };
    new QGuiApplication(argc, argv);
}

namespace {

    int grey(QRgb c) { return qGray(c); }

    // Mean difference between the drawn text and the screen at an offset,
    // over the text's bounding rows and columns.
    double difference(const QImage& text, const QImage& screen, QPoint at)
    {
        long sum = 0;
        for (int y = 0; y < text.height(); ++y) {
            for (int x = 0; x < text.width(); ++x) {
                QPoint p = at + QPoint(x, y);
                if (!screen.rect().contains(p))
                    return std::numeric_limits<double>::max();
                sum += std::abs(grey(text.pixel(x, y)) - grey(screen.pixel(p)));
            }
        }
        return static_cast<double>(sum) / static_cast<double>(text.width() * text.height());
    }

} // namespace

PreferencesWindow::PreferencesWindow(WindowId id)
    : id_(id)
{
}

QRect PreferencesWindow::content() const
{
    QRect area = geometry(id_);
    int menuBar = std::max(0, area.height() - contentHeight);
    return QRect(area.x(), area.y() + menuBar, area.width(), area.height() - menuBar);
}

QRect PreferencesWindow::box(int index) const
{
    QRect c = content();
    return QRect(c.x() + 20, c.y() + 20 + 40 * index, 384, 20);
}

void PreferencesWindow::click(int index) const
{
    // On the indicator: a click anywhere on the box toggles it.
    QRect b = box(index);
    xtools::click(QPoint(b.x() + 7, b.center().y()));
}

void PreferencesWindow::clickRepeatedly(int index, int repeat, int delayMs) const
{
    QRect b = box(index);
    xtools::clickRepeatedly(QPoint(b.x() + 7, b.center().y()), repeat, delayMs);
}

bool PreferencesWindow::painted(const QImage& screen) const
{
    QRect c = content().adjusted(3, 3, -3, -3);
    for (QPoint corner : { c.topLeft(), c.topRight(), c.bottomLeft(), c.bottomRight() }) {
        if (!screen.rect().contains(corner) || grey(screen.pixel(corner)) < 200)
            return false;
    }
    return true;
}

bool PreferencesWindow::ticked(const QImage& screen, int index) const
{
    // The indicator is the small square at the left end of the box; the
    // check mark is the only dark ink inside its frame.
    QRect b = box(index);
    QRect inside(b.x() + 3, b.y() + 6, 9, 9);
    int dark = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (screen.rect().contains(x, y) && grey(screen.pixel(x, y)) < 110)
                ++dark;
        }
    }
    return dark >= 6;
}

QString PreferencesWindow::caption(const QImage& screen, int index, const QStringList& candidates) const
{
    return matchCaption(screen, box(index), candidates);
}

QString PreferencesWindow::matchCaption(
    const QImage& screen, const QRect& b, const QStringList& candidates, std::vector<double>* scores)
{
    ensureGuiApplication();
    QRgb background = screen.pixel(b.right() - 2, b.center().y());
    QString best;
    double bestScore = std::numeric_limits<double>::max();
    for (const QString& candidate : candidates) {
        QFont font = QGuiApplication::font();
        QFontMetrics metrics(font);
        QImage text(metrics.horizontalAdvance(candidate) + 2, metrics.height(), QImage::Format_RGB32);
        text.fill(background);
        {
            QPainter painter(&text);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(1, metrics.ascent(), candidate);
        }
        double score = std::numeric_limits<double>::max();
        for (int dy = -6; dy <= 6; ++dy) {
            for (int x = b.x() + 12; x <= b.x() + 40; ++x)
                score = std::min(score, difference(text, screen, QPoint(x, b.center().y() - text.height() / 2 + dy)));
        }
        if (scores)
            scores->push_back(score);
        if (score < bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

} // namespace e2e

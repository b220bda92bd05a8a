#pragma once

#include "tests/support/XTools.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace e2e {

// Makes this process a Qt client of the test's display, once: for fonts, and
// to see the screens as Qt sees them.
void ensureGuiApplication();

// The program's preferences window as the user sees it: one check box per
// screen, in rows 40 pixels apart, read from screenshots and clicked with
// the pointer.
class PreferencesWindow {
public:
    static constexpr int contentWidth = 424;
    static constexpr int contentHeight = 264;

    explicit PreferencesWindow(xtools::WindowId id);

    xtools::WindowId id() const { return id_; }
    // The content area in root coordinates: the window's own area less the
    // menu bar shown above the content.
    QRect content() const;
    QRect box(int index) const;
    void click(int index) const;
    void clickRepeatedly(int index, int repeat, int delayMs) const;

    // Whether the screen shows the window painted: its light background in
    // all four corners of the content area (Qt shows a window's first
    // painting all at once).
    bool painted(const QImage& screen) const;
    bool ticked(const QImage& screen, int index) const;
    // Which of the candidate captions the box shows, judged by matching
    // each candidate drawn in the application font against the screenshot.
    QString caption(const QImage& screen, int index, const QStringList& candidates) const;

    // The same for a box at a known place on a screenshot; the scores, if
    // asked for, are the candidates' mean grey differences (0 is exact).
    static QString matchCaption(
        const QImage& screen, const QRect& box, const QStringList& candidates, std::vector<double>* scores = nullptr);

private:
    xtools::WindowId id_;
};

} // namespace e2e

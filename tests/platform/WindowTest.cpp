#include "PlatformTestSupport.h"
#include "tests/support/XTools.h"

#include "platform/CheckBox.h"
#include "platform/Label.h"
#include "platform/OpenGLSurface.h"
#include "platform/Timer.h"
#include "platform/Window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform_test;

namespace {

// Records the framework's events in the order they arrive.
class RecordingWindow : public platform::Window {
public:
    explicit RecordingWindow(std::int64_t type = TypePlainBox)
        : type_(type)
    {
        Constructor();
    }

    void Layout() override
    {
        log.push_back("Layout");
        SetWidth(926);
        SetHeight(648);
        SetMinimumWidth(64);
        SetMinimumHeight(64);
        SetMaximumWidth(32000);
        SetMaximumHeight(32000);
        SetType(type_);
        SetTitle("Recording");
        SetResizeable(false);
    }
    void CreateControls() override { log.push_back("CreateControls"); }
    void AddMenuHandlers(platform::Window& window) override
    {
        log.push_back(&window == this ? "AddMenuHandlers" : "AddMenuHandlers(other window)");
    }
    void Event_Open() override
    {
        log.push_back("Open");
        QWidget* top = TopLevel(*this);
        nativeAtOpen = top && top->testAttribute(Qt::WA_WState_Created) && top->winId() != 0;
        mappedAtOpen = top && top->isVisible();
        boundsAtOpen = Bounds();
        if (onOpen)
            onOpen(*this);
    }
    void Event_Resized() override
    {
        log.push_back("Resized");
        sizes.emplace_back(Width(), Height());
    }
    void Event_Close() override { log.push_back("Close"); }

    std::vector<std::string> log;
    std::vector<std::pair<std::int64_t, std::int64_t>> sizes;
    bool nativeAtOpen = false;
    bool mappedAtOpen = true;
    platform::Rect boundsAtOpen;
    std::function<void(RecordingWindow&)> onOpen;

private:
    std::int64_t type_;
};

int count(const std::vector<std::string>& log, const std::string& what)
{
    return static_cast<int>(std::count(log.begin(), log.end(), what));
}

} // namespace

TEST(Window, ConstructionEventsThenOpenOnceBeforeTheFirstMap)
{
    auto window = std::make_shared<RecordingWindow>();
    EXPECT_EQ(window->log, (std::vector<std::string> { "Layout", "CreateControls", "AddMenuHandlers" }));
    // The creator places the window right after construction, as the
    // application does with a screen's frame.
    window->SetBounds({ 10, 20, 800, 600 });
    ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
    Spin(100);

    EXPECT_EQ(count(window->log, "Open"), 1);
    EXPECT_TRUE(window->nativeAtOpen);
    EXPECT_FALSE(window->mappedAtOpen);
    EXPECT_EQ(window->boundsAtOpen.Width, 800);
    EXPECT_EQ(window->boundsAtOpen.Height, 600);
    const QRect shown = TopLevel(*window)->geometry();
    EXPECT_EQ(shown, QRect(10, 20, 800, 600));
    window->Close();
}

TEST(Window, ResizedAfterEverySizeChangeAndClampedToTheLimits)
{
    auto window = std::make_shared<RecordingWindow>();
    window->onOpen = [](RecordingWindow& w) {
        // A width raised by one and lowered again: two size changes.
        w.SetWidth(w.Width() + 1);
        w.SetWidth(w.Width() - 1);
    };
    ASSERT_TRUE(WaitUntil([&] { return count(window->log, "Open") == 1; }));
    EXPECT_EQ(window->sizes, (std::vector<std::pair<std::int64_t, std::int64_t>> { { 927, 648 }, { 926, 648 } }));

    struct Case {
        platform::Rect bounds;
        std::int64_t width, height;
    };
    const Case cases[] = {
        { { 0, 0, 10, 10 }, 64, 64 }, // below the minimum
        { { 0, 0, 300, 200.9 }, 300, 200 }, // truncated toward zero
        { { 0, 0, 63.9, 64.7 }, 64, 64 }, // truncated, then raised to the minimum
        { { 5, 5, 40000, 100 }, 32000, 100 }, // above the maximum
        { { 0, 0, 300, 200 }, 300, 200 },
    };
    for (const auto& c : cases) {
        window->sizes.clear();
        window->SetBounds(c.bounds);
        EXPECT_EQ(window->Width(), c.width);
        EXPECT_EQ(window->Height(), c.height);
        ASSERT_EQ(window->sizes.size(), 1u) << c.bounds.Width;
        EXPECT_EQ(window->sizes.back(), std::make_pair(c.width, c.height));
    }
    // No change, no event.
    window->sizes.clear();
    window->SetBounds({ 7, 9, 300, 200 });
    EXPECT_TRUE(window->sizes.empty());
    EXPECT_EQ(window->Left(), 7);
    EXPECT_EQ(window->Top(), 9);
    // Reports from the window system about sizes we asked for are not new changes.
    Spin(300);
    EXPECT_TRUE(window->sizes.empty());
    window->Close();
}

TEST(Window, CloseRaisesCloseOnceAndReleasesTheWindow)
{
    auto window = std::make_shared<RecordingWindow>();
    ASSERT_TRUE(WaitUntil([&] { return count(window->log, "Open") == 1; }));
    std::weak_ptr<RecordingWindow> weak = window;
    auto* log = &window->log;
    window->Close();
    window->Close();
    EXPECT_EQ(count(*log, "Close"), 1);
    EXPECT_EQ(window->Handle(), 0);
    EXPECT_TRUE(window->IsClosed());
    window.reset();
    EXPECT_TRUE(weak.expired()); // the framework let go of it at Close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Window, TheFrameworkKeepsAnOpenWindowAliveUntilItIsClosed)
{
    std::weak_ptr<RecordingWindow> weak;
    {
        auto window = std::make_shared<RecordingWindow>();
        weak = window;
        ASSERT_TRUE(WaitUntil([&] { return count(window->log, "Open") == 1; }));
    }
    ASSERT_FALSE(weak.expired());
    weak.lock()->Close();
    EXPECT_TRUE(weak.expired());
}

namespace {

// Lets the event loop run what was queued before this call: work queued for
// the next turn of the loop runs in the order it was queued.
bool RunQueuedWork()
{
    auto ran = std::make_shared<bool>(false);
    QTimer::singleShot(0, qApp, [ran] { *ran = true; });
    return WaitUntil([&] { return *ran; });
}

} // namespace

TEST(Window, AWindowReleasedBeforeItOpenedIsGoneWithoutOpening)
{
    // Records the window's events where they outlive the window.
    class Watched : public RecordingWindow {
    public:
        explicit Watched(std::vector<std::string>& seen)
            : seen_(seen)
        {
        }
        void Event_Open() override { seen_.push_back("Open"); }
        void Event_Close() override { seen_.push_back("Close"); }

    private:
        std::vector<std::string>& seen_;
    };
    std::vector<std::string> seen;
    std::weak_ptr<platform::Window> weak;
    QPointer<QWidget> widget;
    {
        auto window = std::make_shared<Watched>(seen);
        weak = window;
        widget = TopLevel(*window);
        ASSERT_NE(widget, nullptr);
    }
    EXPECT_TRUE(weak.expired()) << "the framework holds a window that never opened";
    ASSERT_TRUE(RunQueuedWork()); // the queued opening, which finds nothing to open
    EXPECT_TRUE(seen.empty()) << testing::PrintToString(seen);
    EXPECT_TRUE(!widget || !widget->testAttribute(Qt::WA_WState_Created)) << "a native window was made";
    EXPECT_TRUE(!widget || !widget->isVisible()) << "the window was shown";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(widget.isNull()) << "the window's widget outlived it";
}

TEST(Window, AWindowClosedBeforeItOpenedNeverOpens)
{
    auto window = std::make_shared<RecordingWindow>();
    window->Close();
    ASSERT_TRUE(RunQueuedWork());
    EXPECT_EQ(count(window->log, "Open"), 0);
    EXPECT_EQ(count(window->log, "Close"), 1);
}

TEST(Window, DesignValuesOutsideTheSupportedOnesAreRefused)
{
    auto window = std::make_shared<RecordingWindow>();
    EXPECT_THROW(window->SetType(1), platform::OutOfBoundsException);
    EXPECT_THROW(window->SetDefaultLocation(4), platform::OutOfBoundsException);
    EXPECT_THROW(window->SetBounds({ 0, 0, std::nan(""), 10 }), platform::OutOfBoundsException);
    window->Close();
}

namespace {

class ControlsWindow : public platform::Window {
public:
    ControlsWindow() { Constructor(); }
    void Layout() override
    {
        SetWidth(400);
        SetHeight(300);
        SetType(TypePlainBox);
    }
    void CreateControls() override
    {
        auto surface = std::make_shared<platform::OpenGLSurface>(*this);
        AddControl("Surface", surface);
        surface->SetLeft(0);
        surface->SetTop(0);
        surface->SetWidth(400);
        surface->SetHeight(300);
        surface->SetLockRight(true);
        surface->SetLockBottom(true);
        auto label = std::make_shared<platform::Label>(*this);
        AddControl("LabelDebug", label);
        label->SetLeft(20);
        label->SetTop(42);
        label->SetText("Untitled");
        label->SetVisible(false);
        windowDuringConstruction = label->Window();
        ownerDuringConstruction = label->OwnerWindow();
    }
    std::shared_ptr<platform::Window> windowDuringConstruction;
    platform::Window* ownerDuringConstruction = nullptr;
};

} // namespace

TEST(Window, ControlsAreFoundByNameAndArraysNumberTheirMembersInOrder)
{
    auto window = std::make_shared<ControlsWindow>();
    EXPECT_EQ(window->ownerDuringConstruction, window.get());
    EXPECT_EQ(window->windowDuringConstruction, nullptr);

    ASSERT_NE(window->ControlAs<platform::OpenGLSurface>("Surface"), nullptr);
    EXPECT_EQ(window->ControlAs<platform::Label>("LabelDebug")->Text(), "Untitled");
    EXPECT_EQ(window->FindControl("Nothing"), nullptr);
    EXPECT_THROW(window->ControlAs<platform::Label>("Surface"), platform::IllegalCastException);
    EXPECT_EQ(window->ControlAt(0)->Name(), "Surface");
    EXPECT_EQ(window->ControlAt(1)->Name(), "LabelDebug");
    EXPECT_EQ(window->ControlAt(0)->Window(), window);

    // A control array: the first member keeps 0, the later ones get the next index.
    std::vector<std::shared_ptr<platform::CheckBox>> boxes;
    for (int i = 0; i < 4; ++i) {
        auto box = std::make_shared<platform::CheckBox>(*window);
        box->SetIndex(0);
        window->AddControl("CheckBoxScreen", box);
        boxes.push_back(box);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes[i]->Index(), i);
        EXPECT_EQ(window->FindControl("CheckBoxScreen", i), boxes[i]);
    }
    EXPECT_EQ(window->FindControl("CheckBoxScreen"), boxes[0]);
    EXPECT_EQ(window->FindControl("CheckBoxScreen", 4), nullptr);

    // Single names are unique; arrays and singles do not mix; none is refused.
    EXPECT_THROW(window->AddControl("Surface", std::make_shared<platform::Label>(*window)), platform::RuntimeException);
    EXPECT_THROW(
        window->AddControl("CheckBoxScreen", std::make_shared<platform::Label>(*window)), platform::RuntimeException);
    EXPECT_THROW(window->AddControl("X", nullptr), platform::NilObjectException);
    auto other = std::make_shared<ControlsWindow>();
    EXPECT_THROW(window->AddControl("Foreign", std::make_shared<platform::Label>(*other)), platform::RuntimeException);
    EXPECT_THROW(window->AddControl("CheckBoxScreen", boxes[1]), platform::RuntimeException);
    other->Close();
    window->Close();
}

TEST(Window, ASurfaceLockedOnAllSidesCoversTheContentAreaAtAnySize)
{
    auto window = std::make_shared<ControlsWindow>();
    auto surface = window->ControlAs<platform::OpenGLSurface>("Surface");
    auto label = window->ControlAs<platform::Label>("LabelDebug");
    for (auto [w, h] : { std::pair { 1920, 1080 }, std::pair { 64, 64 }, std::pair { 927, 648 } }) {
        window->SetBounds({ 0, 0, double(w), double(h) });
        EXPECT_EQ(surface->Left(), 0);
        EXPECT_EQ(surface->Top(), 0);
        EXPECT_EQ(surface->Width(), w);
        EXPECT_EQ(surface->Height(), h);
        EXPECT_EQ(label->Left(), 20); // locked left and top only: stays put
        EXPECT_EQ(label->Top(), 42);
    }
    ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
    EXPECT_FALSE(label->Visible());
    window->Close();
}

TEST(Window, CheckBoxRaisesActionOnEveryChangeOfValue)
{
    auto window = std::make_shared<ControlsWindow>();
    auto box = std::make_shared<platform::CheckBox>(*window);
    window->AddControl("Box", box);
    std::vector<bool> seen;
    box->Action = [&](platform::CheckBox& sender) {
        EXPECT_EQ(&sender, box.get());
        seen.push_back(sender.Value());
    };
    box->SetCaption("Main Screen");
    EXPECT_EQ(box->Caption(), "Main Screen");
    box->SetValue(true);
    box->SetValue(true); // unchanged: nothing
    box->SetValue(false);
    EXPECT_EQ(seen, (std::vector<bool> { true, false }));
    // An exception from an Action raised by code reaches the code that set the value.
    box->Action = [](platform::CheckBox&) { throw platform::NilObjectException("nil window"); };
    EXPECT_THROW(box->SetValue(true), platform::NilObjectException);
    EXPECT_TRUE(box->Value());
    window->Close();
}

TEST(Window, AClickQueuedForACheckBoxThatIsReleasedReachesNothing)
{
    auto window = std::make_shared<ControlsWindow>();
    auto box = std::make_shared<platform::CheckBox>(*window);
    int actions = 0;
    box->Action = [&](platform::CheckBox&) { ++actions; };
    const QPointer<QCheckBox> native = TopLevel(*window)->findChild<QCheckBox*>();
    ASSERT_TRUE(native);
    bool clicked = false;
    QObject observer;
    QObject::connect(native, &QCheckBox::clicked, &observer, [&] { clicked = true; });
    // The box outlives its control until the event loop deletes it; a click
    // queued before then still runs.
    QMetaObject::invokeMethod(native, "click", Qt::QueuedConnection);
    box.reset();
    ASSERT_TRUE(WaitUntil([&] { return clicked; }));
    EXPECT_EQ(actions, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(native.isNull());
    window->Close();
}

namespace {

std::string xprop(const platform::Window& window, const char* property)
{
    return xtools::property(TopLevel(window)->winId(), QString::fromLatin1(property)).toStdString();
}

QStringList values(const platform::Window& window, const char* property)
{
    return xtools::propertyValues(TopLevel(window)->winId(), QString::fromLatin1(property));
}

} // namespace

TEST(WindowFrames, APlainBoxHasNoFrameAndATitledWindowHasOne)
{
    auto plain = std::make_shared<RecordingWindow>(platform::Window::TypePlainBox);
    plain->SetBounds({ 0, 0, 640, 480 });
    auto titled = std::make_shared<RecordingWindow>(platform::Window::TypeDocument);
    titled->SetBounds({ 100, 100, 424, 264 });
    ASSERT_TRUE(WaitUntil([&] {
        return xprop(*plain, "_NET_FRAME_EXTENTS").find('=') != std::string::npos
            && xprop(*titled, "_NET_FRAME_EXTENTS").find('=') != std::string::npos;
    }));

    // Motif hints: flags, functions, decorations: the decorations field in use, and empty.
    const QStringList motif = values(*plain, "_MOTIF_WM_HINTS");
    ASSERT_GE(motif.size(), 3) << xprop(*plain, "_MOTIF_WM_HINTS");
    EXPECT_TRUE(motif[0].toUInt(nullptr, 0) & 0x2) << xprop(*plain, "_MOTIF_WM_HINTS");
    EXPECT_EQ(motif[2].toUInt(nullptr, 0), 0u) << xprop(*plain, "_MOTIF_WM_HINTS");
    EXPECT_EQ(values(*plain, "_NET_FRAME_EXTENTS"), (QStringList { "0", "0", "0", "0" }));

    // Left, right, top, bottom.
    const QStringList extents = values(*titled, "_NET_FRAME_EXTENTS");
    ASSERT_EQ(extents.size(), 4) << xprop(*titled, "_NET_FRAME_EXTENTS");
    EXPECT_GT(extents[2].toInt(), 0) << "no title bar: " << xprop(*titled, "_NET_FRAME_EXTENTS");
    EXPECT_NE(xprop(*titled, "WM_NAME").find("\"Recording\""), std::string::npos);

    // Sizes stay those of the content area under the window manager too.
    EXPECT_EQ(titled->Width(), 424);
    EXPECT_EQ(titled->Height(), 264);
    EXPECT_EQ(plain->Width(), 640);
    EXPECT_EQ(plain->Height(), 480);
    plain->Close();
    titled->Close();
}

namespace {

// A resizeable titled window of 400 x 300 that logs Resizing too, once it
// is framed, mapped and placed by the window manager, so that what follows
// is a resize alone.
class Resizeable : public RecordingWindow {
public:
    Resizeable()
        : RecordingWindow(TypeDocument)
    {
    }
    void Event_Resizing() override { log.push_back("Resizing"); }
};

std::shared_ptr<Resizeable> framedResizeable()
{
    auto window = std::make_shared<Resizeable>();
    window->SetResizeable(true);
    window->SetBounds({ 50, 50, 400, 300 });
    QWidget* const widget = TopLevel(*window);
    const xtools::WindowId id = widget->winId();
    EXPECT_TRUE(WaitUntil([&] {
        return xprop(*window, "_NET_FRAME_EXTENTS").find('=') != std::string::npos && xtools::viewable(id)
            && xtools::geometry(id).size() == QSize(400, 300) && widget->size() == QSize(400, 300);
    }));
    window->sizes.clear();
    window->log.clear();
    return window;
}

} // namespace

TEST(WindowFrames, ASizeChangeByTheWindowManagerRaisesResizingAndResized)
{
    auto window = framedResizeable();
    ASSERT_FALSE(HasFailure());
    const xtools::WindowId id = TopLevel(*window)->winId();
    xtools::resize(id, { 500, 350 });
    ASSERT_TRUE(WaitUntil([&] { return window->Width() == 500; }));
    EXPECT_EQ(window->Height(), 350);
    ASSERT_GE(window->log.size(), 2u);
    EXPECT_EQ(window->log[0], "Resizing");
    EXPECT_EQ(window->log[1], "Resized");
    EXPECT_EQ(window->sizes.back(), std::make_pair(std::int64_t { 500 }, std::int64_t { 350 }));
    window->Close();
}

// Qt forwards a resize to a widget only when the widget's size changes, and
// sets the new size before it forwards the event. Under load the event for
// an earlier size can arrive after the widget took a later one, and then
// there is none for the later size. This filter delivers the first resize
// that changes the widget's size as such a late event, carrying the former size.
class LateResize : public QObject {
public:
    explicit LateResize(QSize former)
        : former_(former)
    {
    }
    bool delivered = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (delivered || event->type() != QEvent::Resize || !event->spontaneous()
            || static_cast<QWidget*>(watched)->size() == former_)
            return false;
        delivered = true;
        QResizeEvent late(former_, former_);
        // As QtTest delivers its spontaneous events: sendEvent would clear the mark.
        QSpontaneKeyEvent::setSpontaneous(&late);
        QCoreApplication::instance()->notify(watched, &late);
        return true;
    }

private:
    QSize former_;
};

TEST(WindowFrames, AResizeEventThatArrivesLateStillReportsTheSizeTheWindowHas)
{
    auto window = framedResizeable();
    ASSERT_FALSE(HasFailure());
    QWidget* const widget = TopLevel(*window);
    const xtools::WindowId id = widget->winId();
    LateResize late({ 400, 300 });
    widget->installEventFilter(&late);
    xtools::resize(id, { 500, 350 });
    ASSERT_TRUE(WaitUntil([&] { return late.delivered; }));
    widget->removeEventFilter(&late);
    EXPECT_EQ(widget->size(), QSize(500, 350));
    EXPECT_EQ(window->Width(), 500);
    EXPECT_EQ(window->Height(), 350);
    EXPECT_EQ(window->log, (std::vector<std::string> { "Resizing", "Resized" }));
    window->Close();
}

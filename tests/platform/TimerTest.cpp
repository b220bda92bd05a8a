#include "PlatformTestSupport.h"

#include "platform/Timer.h"
#include "platform/WeakRef.h"
#include "platform/Window.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace platform_test;

namespace {

class TimerWindow : public platform::Window {
public:
    TimerWindow() { Constructor(); }
    void Layout() override { SetType(TypePlainBox); }
    void CreateControls() override
    {
        auto timer = std::make_shared<platform::Timer>(*this);
        AddControl("TimerUpdate", timer);
        timer->SetRunMode(platform::Timer::RunModeMultiple);
        timer->SetPeriod(35);
        timer->SetEnabled(true);
        ControlAs<platform::Timer>("TimerUpdate")->Action = [this](platform::Timer& t) { TimerUpdate_Action(t); };
    }
    void TimerUpdate_Action(platform::Timer& timer)
    {
        ++fired;
        senderWasMine = &timer == ControlAs<platform::Timer>("TimerUpdate").get();
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    int fired = 0;
    bool senderWasMine = false;
    bool onMainThread = true;
};

} // namespace

TEST(Timer, ARepeatingTimerFiresOnTheMainThreadUntilItsWindowCloses)
{
    auto window = std::make_shared<TimerWindow>();
    auto timer = window->ControlAs<platform::Timer>("TimerUpdate");
    EXPECT_EQ(timer->Period(), 35);
    EXPECT_EQ(timer->RunMode(), platform::Timer::RunModeMultiple);
    ASSERT_TRUE(WaitUntil([&] { return window->fired >= 5; }));
    EXPECT_TRUE(window->senderWasMine);
    EXPECT_TRUE(window->onMainThread);
    EXPECT_EQ(timer->Window(), window);

    window->Close();
    const int firedAtClose = window->fired;
    Spin(200);
    EXPECT_EQ(window->fired, firedAtClose);
    EXPECT_FALSE(timer->IsRunning());
}

TEST(Timer, ATimerOutlivingItsWindowAnswersNoneAndNeverFires)
{
    std::shared_ptr<platform::Timer> timer;
    platform::WeakRef<platform::Window> weakWindow;
    {
        auto window = std::make_shared<TimerWindow>();
        timer = window->ControlAs<platform::Timer>("TimerUpdate");
        weakWindow = platform::WeakRef<platform::Window>(window);
        ASSERT_TRUE(WaitUntil([&] { return window->fired > 0; }));
        window->Close();
    }
    EXPECT_EQ(weakWindow.Value(), nullptr);
    EXPECT_EQ(timer->Window(), nullptr);
    EXPECT_EQ(timer->OwnerWindow(), nullptr);
    int fired = 0;
    timer->Action = [&](platform::Timer&) { ++fired; };
    timer->SetEnabled(true);
    Spin(150);
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(timer->IsRunning());
}

TEST(Timer, ModesAndPeriods)
{
    auto window = std::make_shared<TimerWindow>();
    auto single = std::make_shared<platform::Timer>(*window);
    window->AddControl("Single", single);
    int fired = 0;
    single->Action = [&](platform::Timer&) { ++fired; };
    single->SetPeriod(10);
    single->SetRunMode(platform::Timer::RunModeSingle);
    ASSERT_TRUE(WaitUntil([&] { return fired > 0; }));
    Spin(150); // time for a second firing, which must not come
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(single->RunMode(), platform::Timer::RunModeOff);

    EXPECT_THROW(single->SetPeriod(-1), platform::OutOfBoundsException);
    EXPECT_THROW(single->SetRunMode(3), platform::OutOfBoundsException);
    single->SetRunMode(platform::Timer::RunModeMultiple);
    single->SetEnabled(false);
    Spin(60);
    EXPECT_EQ(fired, 1);
    window->Close();
}

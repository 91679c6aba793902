#include "widgets/EzRgnBtn.h"
#include "widgets/ImageList.h"
#include "widgets/Keyboard.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using katalog::PaintMode;
using katalog::TEzRgnBtn;
using katalog::TImageList;

namespace {

QImage solid(QColor c, QSize size = {40, 20}) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TImageList listOf(std::initializer_list<QColor> colours, QSize size = {40, 20}) {
    TImageList l;
    for (const QColor& c : colours)
        l.add(solid(c, size));
    return l;
}

// Counts paint events, to tell an immediate redraw from a deferred one.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

}  // namespace

class EzRgnBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->setAutoFillBackground(true);
        QPalette pal = host->palette();
        pal.setColor(QPalette::Window, Qt::green);
        host->setPalette(pal);
        host->resize(300, 200);
        btn = new TEzRgnBtn(host.get());
        btn->move(50, 50);
        btn->resize(120, 60);  // a design size; the picture decides
        full = listOf({Qt::red, Qt::yellow, Qt::blue, Qt::gray});
        btn->setImageList(&full);
        QObject::connect(btn, &TEzRgnBtn::clicked, [this] { ++clicks; });
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        away();
        katalog::keys::setCuesShown(false);
    }
    void TearDown() override {
        // QTest keeps its own idea of the held buttons: let go of everything, away from the
        // place where the next test's button will be shown.
        QTest::mouseRelease(host.get(), Qt::LeftButton, {}, {1, 1});
        away();
        host.reset();
    }

    // The pointer rests on the button, or away from it, with no button held.
    void over() { QTest::mouseMove(btn, {10, 10}); }
    void away() { QTest::mouseMove(host.get(), {5, 5}); }
    void press(QPoint at = {10, 10}) { QTest::mousePress(btn, Qt::LeftButton, {}, at); }
    void drag(QPoint to) { QTest::mouseMove(btn, to); }
    void release(QPoint at = {10, 10}) { QTest::mouseRelease(btn, Qt::LeftButton, {}, at); }
    // The colour the button really draws.
    QColor drawn() { return btn->grab().toImage().pixelColor(2, 2); }

    std::unique_ptr<QWidget> host;
    TEzRgnBtn* btn = nullptr;
    TImageList full;
    int clicks = 0;
};

TEST_F(EzRgnBtnTest, ShowsThePictureOfItsStateAndTakesItsSize) {
    EXPECT_EQ(btn->size(), QSize(40, 20));
    const struct {
        const char* state;
        std::function<void()> enter;
        QColor shown;
    } cases[] = {
        {"idle", [] {}, Qt::red},
        {"mouse over", [&] { over(); }, Qt::yellow},
        {"pressed", [&] { over(); press(); }, Qt::blue},
        {"pressed, dragged off", [&] { over(); press(); drag({-5, -5}); }, Qt::red},
        {"pressed, dragged back", [&] { over(); press(); drag({-5, -5}); drag({8, 8}); }, Qt::blue},
        {"disabled", [&] { btn->setButtonEnabled(false); }, Qt::gray},
        {"disabled, mouse over", [&] { btn->setButtonEnabled(false); over(); }, Qt::gray},
        {"disabled, pressed", [&] { btn->setButtonEnabled(false); over(); press(); }, Qt::gray},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        c.enter();
        EXPECT_EQ(btn->currentImage().pixelColor(0, 0), c.shown);
        EXPECT_EQ(drawn(), c.shown);
        release({-5, -5});
        away();
        btn->setButtonEnabled(true);
        EXPECT_EQ(btn->currentImage().pixelColor(0, 0), QColor(Qt::red));
    }
}

TEST_F(EzRgnBtnTest, ATwoPictureListShowsIdleWhenPressedOrDisabled) {
    TEzRgnBtn two(host.get());
    TImageList l = listOf({Qt::red, Qt::yellow});
    two.setImageList(&l);
    two.show();
    QTest::mouseMove(&two, {5, 5});
    EXPECT_EQ(two.currentImage().pixelColor(0, 0), QColor(Qt::yellow));
    QTest::mousePress(&two, Qt::LeftButton, {}, {5, 5});
    EXPECT_TRUE(two.pressed());
    EXPECT_EQ(two.currentImage().pixelColor(0, 0), QColor(Qt::red));
    QTest::mouseRelease(&two, Qt::LeftButton, {}, {5, 5});
    two.setButtonEnabled(false);
    EXPECT_EQ(two.currentImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(two.grab().toImage().pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(EzRgnBtnTest, AShorterListKeepsThePicturesItLacks) {
    TImageList two = listOf({Qt::cyan, Qt::magenta}, {30, 30});
    btn->setImageList(&two);
    EXPECT_EQ(btn->picIdle().pixelColor(0, 0), QColor(Qt::cyan));
    EXPECT_EQ(btn->picUp().pixelColor(0, 0), QColor(Qt::magenta));
    EXPECT_EQ(btn->picDown().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(btn->picDsbld().pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(btn->size(), QSize(30, 30));
    btn->setButtonEnabled(false);
    EXPECT_EQ(btn->size(), QSize(40, 20));  // the old disabled picture's size
    EXPECT_EQ(drawn(), QColor(Qt::gray));

    // No list at all keeps everything.
    btn->setImageList(nullptr);
    EXPECT_EQ(btn->picIdle().pixelColor(0, 0), QColor(Qt::cyan));
    EXPECT_EQ(btn->imageList(), nullptr);
}

TEST_F(EzRgnBtnTest, TheSameListAgainDoesNotRefresh) {
    full.clear();
    full.add(solid(Qt::black));
    btn->setImageList(&full);
    EXPECT_EQ(btn->picIdle().pixelColor(0, 0), QColor(Qt::red));
    // Another list and back: now it is copied.
    TImageList other = listOf({Qt::white});
    btn->setImageList(&other);
    btn->setImageList(&full);
    EXPECT_EQ(btn->picIdle().pixelColor(0, 0), QColor(Qt::black));
}

TEST_F(EzRgnBtnTest, ClicksOnReleaseInsideOnly) {
    std::vector<QColor> shownWhileClicking;
    QObject::connect(btn, &TEzRgnBtn::clicked, [&] { shownWhileClicking.push_back(btn->currentImage().pixelColor(0, 0)); });
    const struct {
        const char* gesture;
        std::function<void()> run;
        int clicks;
    } cases[] = {
        {"press and release", [&] { over(); press(); release(); }, 1},
        {"press only", [&] { over(); press(); }, 0},
        {"drag off, release outside", [&] { over(); press(); drag({60, 5}); release({60, 5}); }, 0},
        {"drag off and back, release inside", [&] { over(); press(); drag({60, 5}); drag({20, 5}); release({20, 5}); }, 1},
        {"right button", [&] { over(); QTest::mouseClick(btn, Qt::RightButton, {}, {5, 5}); }, 0},
        {"double click", [&] {
             over();
             press();
             release();
             QTest::mouseDClick(btn, Qt::LeftButton, {}, {10, 10});
             EXPECT_FALSE(btn->pressed());
             EXPECT_EQ(btn->currentImage().pixelColor(0, 0), QColor(Qt::yellow));
             release();
         }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gesture);
        clicks = 0;
        shownWhileClicking.clear();
        c.run();
        EXPECT_EQ(clicks, c.clicks);
        // The handler runs while the pressed picture is still shown.
        for (const QColor& shown : shownWhileClicking)
            EXPECT_EQ(shown, QColor(Qt::blue));
        release({-5, -5});
        away();
    }
}

TEST_F(EzRgnBtnTest, ADisabledButtonNeverClicks) {
    btn->setAutoRepeat(true);
    btn->setButtonEnabled(false);
    over();
    EXPECT_TRUE(btn->hovered());
    press();
    EXPECT_TRUE(btn->pressed());
    QTest::qWait(700);
    release();
    EXPECT_EQ(clicks, 0);
    btn->Click();
    btn->RepeatClick();
    EXPECT_EQ(clicks, 0);
    btn->setButtonEnabled(true);
    btn->Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(EzRgnBtnTest, HoldingARepeatingButtonRepeatsEvery300ms) {
    btn->setAutoRepeat(true);
    std::vector<qint64> at;
    QElapsedTimer clock;
    QObject::connect(btn, &TEzRgnBtn::clicked, [&] { at.push_back(clock.elapsed()); });
    over();
    press();
    clock.start();
    QTest::qWait(650);
    const qint64 held = clock.elapsed();
    release();
    // Two repeats in 650 ms and the click of the release. A loaded machine may hold longer,
    // and a tick that is due may still be queued behind the release: never more repeats than
    // whole intervals held, and at most one fewer.
    const int repeats = int(at.size()) - 1;
    EXPECT_LE(repeats, int(held / 300)) << held;
    EXPECT_GE(repeats, int(held / 300) - 1) << held;
    for (int i = 0; i < repeats; ++i)
        EXPECT_GE(at[size_t(i)], 300 * (i + 1) - 1);
    EXPECT_GE(repeats, 1);

    // The timer itself pins the interval, which a loaded machine's late ticks cannot.
    EXPECT_EQ(btn->repeatTimer().interval(), 300);
    EXPECT_FALSE(btn->repeatTimer().isActive());

    // Without AutoRepeat, a hold gives the one click of its release.
    btn->setAutoRepeat(false);
    at.clear();
    press();
    QTest::qWait(400);
    release();
    EXPECT_EQ(at.size(), 1u);
}

TEST_F(EzRgnBtnTest, ARepeatingButtonHeldOutsideWaitsAndResumes300msAfterComingBack) {
    btn->setAutoRepeat(true);
    std::vector<qint64> at;
    QElapsedTimer clock;
    QObject::connect(btn, &TEzRgnBtn::clicked, [&] { at.push_back(clock.elapsed()); });
    over();
    press();
    drag({-10, 5});
    EXPECT_FALSE(btn->repeatTimer().isActive());
    QTest::qWait(800);
    EXPECT_TRUE(at.empty());
    clock.start();
    drag({10, 5});
    EXPECT_TRUE(btn->repeatTimer().isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !at.empty(); }, 3000));
    EXPECT_GE(at[0], 299);
    // Moves inside and a running timer started again do not restart the interval.
    drag({12, 6});
    QTest::qWait(200);
    btn->setAutoRepeat(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return at.size() >= 2; }, 3000));
    EXPECT_LT(at[1] - at[0], 420);
    release();
}

TEST_F(EzRgnBtnTest, APressThatEndsElsewhereStopsRepeating) {
    btn->setAutoRepeat(true);
    over();
    press();
    // Hidden while held: the release will never come here.
    btn->hide();
    QTest::qWait(400);
    EXPECT_EQ(clicks, 0);
    btn->show();
    EXPECT_FALSE(btn->pressed());

    // A move that reports the left button up ends the press without a click.
    press();
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), btn->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(btn, &move);
    EXPECT_FALSE(btn->pressed());
    QTest::qWait(400);
    EXPECT_EQ(clicks, 0);
}

// A click that runs a modal window: the pointer goes to that window and its button, and
// when it closes the pointer rests there, away from the button.
TEST_F(EzRgnBtnTest, AfterAModalWindowTheButtonIsLitOnlyUnderThePointer) {
    QObject::connect(btn, &TEzRgnBtn::clicked, [&] {
        QDialog dialog(host.get());
        dialog.setGeometry(host->geometry().translated(0, host->height() + 20));
        QTimer::singleShot(0, &dialog, [&] {
            QTest::mouseMove(&dialog, {20, 20});
            QTest::mouseClick(&dialog, Qt::LeftButton, {}, {20, 20});
            dialog.accept();
        });
        dialog.exec();
    });
    over();
    press();
    release();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(btn->hovered());
    EXPECT_EQ(drawn(), QColor(Qt::red));
    // Back over it, it lights up as ever.
    over();
    EXPECT_TRUE(btn->hovered());
}

TEST_F(EzRgnBtnTest, EveryChangeIsDrawnBeforeItReturns) {
    PaintCounter counter;
    btn->installEventFilter(&counter);
    const struct {
        const char* change;
        std::function<void()> run;
    } cases[] = {
        {"enabled", [&] { btn->setButtonEnabled(false); }},
        {"enabled again", [&] { btn->setButtonEnabled(true); }},
        {"idle picture", [&] { btn->setPicIdle(solid(Qt::darkRed)); }},
        {"disabled picture", [&] { btn->setPicDsbld(solid(Qt::darkGray)); }},
        {"hover", [&] { over(); }},
        {"press", [&] { press(); }},
        {"release", [&] { release(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        const int before = counter.paints;
        c.run();
        EXPECT_GT(counter.paints, before);
    }
}

TEST_F(EzRgnBtnTest, ThePictureDecidesTheSize) {
    btn->setPicIdle(solid(Qt::red, {64, 32}));
    EXPECT_EQ(btn->size(), QSize(64, 32));
    btn->resize(10, 10);
    btn->repaint();
    EXPECT_EQ(btn->size(), QSize(64, 32));
    // An empty picture draws nothing and leaves the size alone.
    TEzRgnBtn empty(host.get());
    empty.resize(33, 11);
    empty.show();
    empty.repaint();
    EXPECT_EQ(empty.size(), QSize(33, 11));
}

TEST_F(EzRgnBtnTest, CropCutsTheWindowToTheIdlePicture) {
    QImage shape = solid(Qt::white, {20, 10});
    for (int y = 2; y < 8; ++y)
        for (int x = 5; x < 15; ++x)
            shape.setPixelColor(x, y, Qt::red);
    btn->setPicIdle(shape);
    btn->setPaintMode(PaintMode::Crop);
    const QRegion region = btn->mask();
    EXPECT_TRUE(region.contains(QPoint(5, 2)));
    EXPECT_TRUE(region.contains(QPoint(14, 7)));
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(4, 5)));
    EXPECT_FALSE(region.contains(QPoint(15, 5)));

    // A new idle picture rebuilds the shape; a list does not.
    QImage other = solid(Qt::white, {20, 10});
    other.setPixelColor(1, 1, Qt::black);
    btn->setPicIdle(other);
    EXPECT_TRUE(btn->mask().contains(QPoint(1, 1)));
    EXPECT_FALSE(btn->mask().contains(QPoint(7, 4)));
    TImageList l = listOf({Qt::blue}, {20, 10});
    btn->setImageList(&l);
    EXPECT_TRUE(btn->mask().contains(QPoint(1, 1)));

    btn->setPaintMode(PaintMode::Normal);
    EXPECT_TRUE(btn->mask().isEmpty());
}

TEST_F(EzRgnBtnTest, TransparentLeavesOutTheColourOfTheTopLeftPixel) {
    QImage ring = solid(Qt::white, {20, 10});
    for (int y = 3; y < 7; ++y)
        for (int x = 5; x < 15; ++x)
            ring.setPixelColor(x, y, Qt::red);
    btn->setPicIdle(ring);
    btn->setPaintMode(PaintMode::Transparent);
    const QImage seen = host->grab(btn->geometry()).toImage();
    EXPECT_EQ(seen.pixelColor(1, 1), QColor(Qt::green));
    EXPECT_EQ(seen.pixelColor(7, 4), QColor(Qt::red));
    btn->setPaintMode(PaintMode::Normal);
    EXPECT_EQ(host->grab(btn->geometry()).toImage().pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(EzRgnBtnTest, TheHintShowsAtOnceEvenWhenDisabled) {
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 0);
    btn->setHint(QStringLiteral("Programy na tomto CD"));
    EXPECT_EQ(btn->accessibleName(), QStringLiteral("Programy na tomto CD"));
    EXPECT_TRUE(btn->toolTip().isEmpty());
    btn->setShowHint(true);
    btn->setButtonEnabled(false);
    EXPECT_TRUE(btn->isEnabled());
    QHelpEvent help(QEvent::ToolTip, {5, 5}, btn->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(btn, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Programy na tomto CD"));
    QToolTip::hideText();
}

TEST_F(EzRgnBtnTest, MouseHandlersSeeTheNewStateAlreadyDrawn) {
    std::vector<std::pair<std::string, QColor>> seen;
    auto note = [&](const char* what) {
        return [&, what](const katalog::TWMMouse&) { seen.emplace_back(what, btn->currentImage().pixelColor(0, 0)); };
    };
    QObject::connect(btn, &TEzRgnBtn::OnMouseEnter, note("enter"));
    QObject::connect(btn, &TEzRgnBtn::OnMouseDown, note("down"));
    QObject::connect(btn, &TEzRgnBtn::OnMouseUp, note("up"));
    QObject::connect(btn, &TEzRgnBtn::OnMouseLeave, note("leave"));
    over();
    press();
    release();
    away();
    const std::vector<std::pair<std::string, QColor>> expected{
        {"enter", Qt::yellow}, {"down", Qt::blue}, {"up", Qt::yellow}, {"leave", Qt::red}};
    EXPECT_EQ(seen, expected);
    btn->setTag(7);
    EXPECT_EQ(btn->property("Tag").toInt(), 7);
    EXPECT_FALSE(btn->property("Disabled").toBool());
    btn->setProperty("Enabled", false);
    EXPECT_TRUE(btn->disabled());
    EXPECT_TRUE(btn->isEnabled());
}

namespace {

void sendKey(QWidget* w, QEvent::Type type, Qt::Key key, bool autoRepeat = false) {
    QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

}  // namespace

TEST_F(EzRgnBtnTest, SpaceAndEnterPressTheFocusedButtonAsTheMouseDoes) {
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        clicks = 0;
        btn->setFocus();
        sendKey(btn, QEvent::KeyPress, key);
        // Held: the pressed picture, no click yet, and the keyboard's own repeat adds none.
        EXPECT_EQ(drawn(), QColor(Qt::blue));
        sendKey(btn, QEvent::KeyRelease, key, true);
        sendKey(btn, QEvent::KeyPress, key, true);
        EXPECT_EQ(clicks, 0);
        sendKey(btn, QEvent::KeyRelease, key);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(drawn(), QColor(Qt::red));
    }
    // Another key, or the focus going away while held, clicks nothing.
    clicks = 0;
    sendKey(btn, QEvent::KeyPress, Qt::Key_A);
    sendKey(btn, QEvent::KeyRelease, Qt::Key_A);
    sendKey(btn, QEvent::KeyPress, Qt::Key_Space);
    btn->clearFocus();
    EXPECT_FALSE(btn->keyPressed());
    EXPECT_EQ(drawn(), QColor(Qt::red));
    sendKey(btn, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
}

TEST_F(EzRgnBtnTest, ARepeatingButtonRepeatsWhileItsKeyIsHeld) {
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    btn->setAutoRepeat(true);
    btn->setFocus();
    sendKey(btn, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(btn->repeatTimer().isActive());
    QTest::qWait(650);
    sendKey(btn, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_FALSE(btn->repeatTimer().isActive());
    // At least one repeat, then the click of the release.
    EXPECT_GE(clicks, 2);
}

TEST_F(EzRgnBtnTest, TabPassesOverDisabledButtonsAndAClickGivesNoFocus) {
    TEzRgnBtn second(host.get()), third(host.get());
    for (TEzRgnBtn* b : {&second, &third}) {
        b->setImageList(&full);
        b->show();
    }
    second.move(100, 0);
    third.move(200, 0);
    QWidget::setTabOrder(btn, &second);
    QWidget::setTabOrder(&second, &third);
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));

    QTest::mouseClick(&third, Qt::LeftButton, {}, {5, 5});
    EXPECT_FALSE(third.hasFocus());

    second.setButtonEnabled(false);
    btn->setFocus();
    QTest::keyClick(btn, Qt::Key_Tab);
    EXPECT_TRUE(third.hasFocus());
    // A focused button that becomes disabled hands the focus on.
    third.setButtonEnabled(false);
    EXPECT_FALSE(third.hasFocus());
    EXPECT_TRUE(btn->hasFocus());
    second.setButtonEnabled(true);
    QTest::keyClick(btn, Qt::Key_Tab);
    EXPECT_TRUE(second.hasFocus());
}

TEST_F(EzRgnBtnTest, TheFocusMarkShowsOnlyAfterAKeyAndInsideTheButton) {
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    for (QColor skin : {QColor(Qt::white), QColor(Qt::black), QColor(0x1f, 0x4e, 0x9a), QColor(0xfc, 0xca, 0x2c)}) {
        SCOPED_TRACE(skin.name().toStdString());
        TImageList l = listOf({skin}, {60, 30});
        TEzRgnBtn b(host.get());
        b.setImageList(&l);
        b.show();
        const QImage plain = b.grab().toImage();
        b.setFocus();
        ASSERT_TRUE(b.hasFocus());
        // Focused by a mouse user: nothing to see.
        EXPECT_EQ(b.grab().toImage(), plain);

        QTest::keyClick(&b, Qt::Key_Shift);
        const QImage marked = b.grab().toImage();
        ASSERT_NE(marked, plain);
        // The mark stays off the button's edge and stands out from the skin beneath it.
        int standsOut = 0;
        for (int y = 0; y < marked.height(); ++y)
            for (int x = 0; x < marked.width(); ++x) {
                const QColor c = marked.pixelColor(x, y);
                const bool edge = x < 3 || y < 3 || x >= marked.width() - 3 || y >= marked.height() - 3;
                if (edge)
                    ASSERT_EQ(c, plain.pixelColor(x, y)) << x << "," << y;
                else
                    standsOut += std::abs(c.lightness() - skin.lightness()) > 100;
            }
        EXPECT_GT(standsOut, marked.width() + marked.height());

        // A mouse press puts the mark away again.
        QTest::mousePress(host.get(), Qt::LeftButton, {}, {290, 190});
        QTest::mouseRelease(host.get(), Qt::LeftButton, {}, {290, 190});
        EXPECT_EQ(b.grab().toImage(), plain);
        katalog::keys::setCuesShown(false);
    }
}

TEST_F(EzRgnBtnTest, AssistiveTechnologySeesAPushButtonOrACheckBox) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(btn);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->role(), QAccessible::PushButton);
    // The hint names it; without one the caption does.
    btn->setCaption("Spustit");
    EXPECT_EQ(a->text(QAccessible::Name), "Spustit");
    btn->setHint("Spustí daný program");
    EXPECT_EQ(a->text(QAccessible::Name), "Spustí daný program");
    btn->setHint({});
    EXPECT_EQ(a->text(QAccessible::Name), "Spustit");

    EXPECT_FALSE(a->state().disabled);
    EXPECT_TRUE(a->state().focusable);
    QAccessibleActionInterface* act = a->actionInterface();
    ASSERT_TRUE(act);
    EXPECT_EQ(act->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    act->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    // Disabled by its own flag, although the Qt widget stays enabled.
    btn->setButtonEnabled(false);
    EXPECT_TRUE(a->state().disabled);
    EXPECT_FALSE(a->state().focusable);
    EXPECT_TRUE(act->actionNames().isEmpty());
    act->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    btn->setButtonEnabled(true);
    btn->setChecked(true);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    EXPECT_TRUE(a->state().checkable);
    EXPECT_TRUE(a->state().checked);
    EXPECT_EQ(act->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
    btn->setChecked(false);
    EXPECT_FALSE(a->state().checked);
}

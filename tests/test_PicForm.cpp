#include "viewer/PicFormUnit1.h"
#include "widgets/PictureBox.h"

#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "tests/support/TestCd.h"

#include <QApplication>
#include <QBitmap>
#include <QBuffer>
#include <QTest>

using testing_support::writeFile;

namespace {

QByteArray picture(int w, int h, QColor colour, const char* format) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format, 95);
    return bytes;
}

}  // namespace

class PicFormTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        form = new katalog::TPicForm(*main, nullptr);
        form->FormCreate();
    }
    void TearDown() override {
        delete form;
        main.reset();
        TestCd::TearDown();
    }

    // Writes the pictures and makes them the viewer's list.
    QString add(const QString& name, const QByteArray& bytes) {
        writeFile(cdFile(name), bytes);
        katalog::shell().ViewerPictures.append(cdFile(name));
        return cdFile(name);
    }
    void click() { QTest::mouseClick(form->Desktop, Qt::LeftButton, {}, QPoint(2, 2)); }
    QRgb shownColour() const { return form->Desktop->pixmap().toImage().pixel(0, 0); }
    bool endCursor() const {
        return form->Desktop->testAttribute(Qt::WA_SetCursor) &&
               form->Desktop->cursor().shape() == Qt::BitmapCursor;
    }

    std::unique_ptr<katalog::TMain> main;
    katalog::TPicForm* form = nullptr;
};

TEST_F(PicFormTest, OnePictureShowsTheEndCursorAtOnceAndTheFirstClickCloses) {
    add("a.bmp", picture(40, 30, Qt::red, "BMP"));
    form->show();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Obrázek");
    EXPECT_TRUE(endCursor());
    EXPECT_TRUE(form->Desktop->toolTip().isEmpty());
    click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);
    EXPECT_FALSE(form->Desktop->testAttribute(Qt::WA_SetCursor));
}

TEST_F(PicFormTest, ThreePicturesStepByClicksAndReopenAtTheFirst) {
    add("a.bmp", picture(40, 30, Qt::red, "BMP"));
    add("b.jpg", picture(50, 20, Qt::green, "JPG"));
    add("c.JPEG", picture(60, 10, Qt::blue, "JPG"));
    for (int round = 0; round < 2; ++round) {
        form->show();
        EXPECT_EQ(shownColour(), qRgb(255, 0, 0));
        EXPECT_EQ(form->Desktop->toolTip(), "Klikněte pro další obrázek");
        EXPECT_FALSE(endCursor());
        click();
        EXPECT_EQ(katalog::shell().ViewerIndex, 1);
        EXPECT_EQ(form->Desktop->size(), QSize(50, 20));
        EXPECT_FALSE(endCursor());
        click();
        EXPECT_EQ(katalog::shell().ViewerIndex, 2);
        EXPECT_EQ(form->Desktop->size(), QSize(60, 10));
        EXPECT_TRUE(endCursor());
        EXPECT_TRUE(form->Desktop->toolTip().isEmpty());
        EXPECT_TRUE(form->isVisible());
        click();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(katalog::shell().ViewerIndex, 0);
    }
}

TEST_F(PicFormTest, TheWindowFramesThePictureAndIsCentredOnTheWholeScreen) {
    katalog::TMain::setScreenSizeForTests(QSize(800, 600));
    add("a.bmp", picture(300, 200, Qt::red, "BMP"));
    // 1003 wide: (800 - 1003) div 2 is -101, truncated toward zero.
    add("wide.jpg", picture(1001, 100, Qt::green, "JPG"));
    form->show();
    EXPECT_EQ(form->geometry(), QRect(249, 199, 302, 202));
    EXPECT_EQ(form->Desktop->geometry(), QRect(1, 1, 300, 200));
    click();
    EXPECT_EQ(form->geometry(), QRect(-101, 249, 1003, 102));
    EXPECT_EQ(form->Desktop->size(), QSize(1001, 100));  // never scaled
}

TEST_F(PicFormTest, AnUnknownExtensionKeepsThePreviousPicture) {
    add("a.bmp", picture(40, 30, Qt::red, "BMP"));
    add("b.gif", picture(50, 20, Qt::green, "BMP"));
    add("c.bmp", picture(60, 10, Qt::blue, "BMP"));
    form->show();
    click();
    EXPECT_EQ(katalog::shell().ViewerIndex, 1);
    EXPECT_EQ(shownColour(), qRgb(255, 0, 0));
    EXPECT_EQ(form->size(), QSize(42, 32));
    click();
    EXPECT_EQ(shownColour(), qRgb(0, 0, 255));
    EXPECT_TRUE(messages.empty());
}

TEST_F(PicFormTest, RightClickAndDoubleClickClose) {
    add("a.bmp", picture(40, 30, Qt::red, "BMP"));
    add("b.bmp", picture(40, 30, Qt::green, "BMP"));
    add("c.bmp", picture(40, 30, Qt::blue, "BMP"));
    form->show();
    click();
    QTest::mouseClick(form->Desktop, Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);

    // The first click of a double click steps on, the double click closes.
    form->show();
    QTest::mouseDClick(form->Desktop, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);
}

TEST_F(PicFormTest, DamagedPicturesAreReportedAndTheViewerGoesOn) {
    const QByteArray jpeg = picture(64, 48, Qt::green, "JPG");
    const QByteArray bmp = picture(64, 48, Qt::green, "BMP");
    add("first.bmp", picture(40, 30, Qt::red, "BMP"));
    add("cut.jpg", jpeg.left(jpeg.size() / 2));
    add("garbage.bmp", QByteArray(500, 'x'));
    add("cut.bmp", bmp.left(bmp.size() - 10));
    add("last.jpg", picture(70, 20, Qt::blue, "JPG"));
    form->show();
    for (int i = 1; i <= 3; ++i) {
        click();
        EXPECT_EQ(katalog::shell().ViewerIndex, i);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(shownColour(), qRgb(255, 0, 0));  // the last good picture stays
        EXPECT_EQ(form->size(), QSize(42, 32));
    }
    ASSERT_EQ(messages.size(), 3u);
    for (const auto& [kind, text] : messages) {
        EXPECT_EQ(kind, platform::MessageKind::ErrorReport);
        EXPECT_FALSE(text.isEmpty());
    }
    click();
    EXPECT_EQ(form->Desktop->size(), QSize(70, 20));
    EXPECT_TRUE(endCursor());
    click();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(PicFormTest, SlideshowRepairsAnIndexOutsideTheList) {
    add("a.bmp", picture(40, 30, Qt::red, "BMP"));
    add("b.bmp", picture(40, 30, Qt::green, "BMP"));
    add("c.bmp", picture(40, 30, Qt::blue, "BMP"));
    for (auto [index, repaired, colour] :
         {std::tuple{3, 0, qRgb(255, 0, 0)}, std::tuple{99, 0, qRgb(255, 0, 0)},
          std::tuple{-1, 2, qRgb(0, 0, 255)}, std::tuple{-7, 2, qRgb(0, 0, 255)}}) {
        katalog::shell().ViewerIndex = index;
        form->Slideshow();
        EXPECT_EQ(katalog::shell().ViewerIndex, repaired) << index;
        EXPECT_EQ(shownColour(), colour) << index;
    }
}

TEST_F(PicFormTest, AnEmptyListDoesNotOpenTheViewer) {
    EXPECT_EQ(form->exec(), QDialog::Rejected);
    form->show();
    EXPECT_FALSE(form->isVisible());
}

TEST(PicFormCursor, KonecIsATwoColourCrossAboveTheWord) {
    const QCursor c = katalog::TPicForm::KonecCursor();
    EXPECT_EQ(c.hotSpot(), QPoint(16, 13));
    const QImage ink = c.bitmap().toImage();
    const QImage shape = c.mask().toImage();
    ASSERT_EQ(ink.size(), QSize(32, 32));
    // Black at the crossing and along both diagonals, transparent beside them.
    const auto black = [&](int x, int y) {
        return ink.pixelIndex(x, y) == 1 && shape.pixelIndex(x, y) == 1;
    };
    const auto clear = [&](int x, int y) { return shape.pixelIndex(x, y) == 0; };
    EXPECT_TRUE(black(16, 13));
    EXPECT_TRUE(black(7, 4));
    EXPECT_TRUE(black(25, 4));
    EXPECT_TRUE(black(7, 22));
    EXPECT_TRUE(clear(16, 3));
    EXPECT_TRUE(clear(3, 13));
    // The word: the K's stem in the label's first column of letters.
    for (int y = 24; y < 31; ++y)
        EXPECT_TRUE(black(1, y)) << y;
    EXPECT_FALSE(black(3, 27));
    EXPECT_FALSE(clear(3, 27));  // white label behind the letters
}

TEST_F(PicFormTest, ArrowAndPageKeysStepBothWaysAndEscapeCloses) {
    add("a.bmp", picture(40, 30, Qt::red, "BMP"));
    add("b.bmp", picture(50, 20, Qt::green, "BMP"));
    add("c.bmp", picture(60, 10, Qt::blue, "BMP"));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    const auto key = [this](Qt::Key k) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form, k); };
    key(Qt::Key_Left);  // nothing before the first
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);
    key(Qt::Key_Right);
    EXPECT_EQ(katalog::shell().ViewerIndex, 1);
    key(Qt::Key_PageDown);
    EXPECT_EQ(katalog::shell().ViewerIndex, 2);
    EXPECT_TRUE(endCursor());
    // Back from the last: the ordinary cursor and the hint again.
    key(Qt::Key_PageUp);
    EXPECT_EQ(katalog::shell().ViewerIndex, 1);
    EXPECT_EQ(form->Desktop->size(), QSize(50, 20));
    EXPECT_FALSE(endCursor());
    EXPECT_EQ(form->Desktop->toolTip(), "Klikněte pro další obrázek");
    key(Qt::Key_Left);
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);
    key(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);

    // The next picture on the last one closes, as a click does.
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Right);
    EXPECT_FALSE(form->isVisible());
}

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "button/Quorvel.h"
#include "tests/button/Faces.h"

namespace tavo::test {
namespace {

// The colours of a face: top, left, bottom and right edge, a corner, the inside.
QString Colours(const QImage& face) {
    QStringList colours;
    for (QPoint p : {QPoint(9, 0), QPoint(0, 5), QPoint(9, 9), QPoint(17, 5), QPoint(17, 9), QPoint(9, 5)})
        colours << QColor(face.pixel(p)).name();
    return colours.join(" ");
}

TEST(QuorvelFaces, NormalPressedAndDisabledAsDrawn) {
    for (const QImage& face : {Quorvel::picUp(), Quorvel::picDn(), Quorvel::picDis()}) {
        EXPECT_EQ(face.size(), QSize(18, 10));
        EXPECT_EQ(face.depth(), 24);
    }
    Quorvel button;
    button.InitProperties();
    EXPECT_EQ(Colours(Shown(button)), "#c0c0c0 #c0c0c0 #808080 #808080 #404040 #000000");
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Colours(Shown(button)), "#808080 #808080 #c0c0c0 #c0c0c0 #404040 #000000");
    button.SetEnabled(false);
    EXPECT_EQ(Colours(Shown(button)), "#c0c0c0 #c0c0c0 #000000 #000000 #404040 #808080");
}

// The button sits at (10, 10) in a larger host window, so that a release can
// land outside it.
class HostedButton : public ::testing::Test {
  protected:
    void SetUp() override {
        host_.resize(120, 80);
        button_ = new Quorvel(&host_);
        button_->move(10, 10);
        button_->InitProperties();
        host_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    }

    void SendKey(QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                        autoRepeat);
        QApplication::sendEvent(button_, &event);
    }
    bool Showing(const QImage& face) { return SameFace(Shown(*button_), face); }

    QWidget host_;
    Quorvel* button_ = nullptr;
};

TEST_F(HostedButton, MouseClickShowsPressedFaceAndClicksOnceOnRelease) {
    QSignalSpy clicks(button_, &Quorvel::Click);
    const struct {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {{Qt::LeftButton, {}}, {Qt::RightButton, Qt::ShiftModifier}};
    int expected = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_TRUE(Showing(Quorvel::picUp()));
        QTest::mousePress(button_, c.button, c.modifiers, QPoint(5, 5));
        EXPECT_TRUE(Showing(Quorvel::picDn()));
        EXPECT_EQ(clicks.count(), expected);
        QTest::mouseRelease(button_, c.button, c.modifiers, QPoint(6, 4));
        EXPECT_TRUE(Showing(Quorvel::picUp()));
        EXPECT_EQ(clicks.count(), ++expected);
    }
}

TEST_F(HostedButton, ReleaseOutsideRestoresFaceWithoutClick) {
    QSignalSpy clicks(button_, &Quorvel::Click);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_TRUE(Showing(Quorvel::picUp()));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(HostedButton, SpaceBarClicksOnItsReleaseOtherKeysDoNothing) {
    QSignalSpy clicks(button_, &Quorvel::Click);
    QTest::keyClick(&host_, Qt::Key_Tab);  // the keyboard reaches it
    EXPECT_EQ(host_.focusWidget(), button_);
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_A}) {
        SCOPED_TRACE(key);
        SendKey(QEvent::KeyPress, key);
        EXPECT_TRUE(Showing(Quorvel::picUp()));
        SendKey(QEvent::KeyRelease, key);
    }
    EXPECT_EQ(clicks.count(), 0);
    SendKey(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(Showing(Quorvel::picDn()));
    // Holding the bar repeats press and release; only the real release clicks.
    SendKey(QEvent::KeyRelease, Qt::Key_Space, true);
    SendKey(QEvent::KeyPress, Qt::Key_Space, true);
    EXPECT_EQ(clicks.count(), 0);
    SendKey(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(Showing(Quorvel::picUp()));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(HostedButton, DisabledShowsItsFaceAndIgnoresInput) {
    QSignalSpy clicks(button_, &Quorvel::Click);
    QSignalSpy changes(button_, &Quorvel::PropertyChanged);
    button_->SetEnabled(false);
    EXPECT_FALSE(button_->Enabled());
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toString(), QStringLiteral("Enabled"));
    EXPECT_TRUE(Showing(Quorvel::picDis()));

    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
    SendKey(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(Showing(Quorvel::picDis()));
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(5, 5));
    SendKey(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(Showing(Quorvel::picDis()));
    EXPECT_EQ(clicks.count(), 0);

    button_->SetEnabled(true);
    EXPECT_TRUE(button_->Enabled());
    EXPECT_EQ(changes.count(), 2);
    EXPECT_TRUE(Showing(Quorvel::picUp()));
    // Its own state: a disabled host leaves it as it is.
    host_.setEnabled(false);
    EXPECT_TRUE(button_->Enabled());
}

TEST_F(HostedButton, PressCutShortByDisablingDoesNotClick) {
    QSignalSpy clicks(button_, &Quorvel::Click);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
    SendKey(QEvent::KeyPress, Qt::Key_Space);
    button_->SetEnabled(false);
    button_->SetEnabled(true);
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(5, 5));
    SendKey(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(Showing(Quorvel::picUp()));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(HostedButton, SizeStaysFixedWhateverTheHostAsks) {
    const QSize fixed(18, 10);
    button_->resize(100, 40);
    EXPECT_EQ(button_->size(), fixed);
    button_->setFixedSize(40, 30);
    EXPECT_EQ(button_->size(), fixed);
    button_->setMinimumSize(0, 0);
    button_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    button_->resize(60, 60);
    EXPECT_EQ(button_->size(), fixed);

    // A layout in a large window cannot stretch it either.
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* laidOut = new Quorvel;
    layout->addWidget(laidOut);
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(laidOut->size(), fixed);
}

}  // namespace
}  // namespace tavo::test

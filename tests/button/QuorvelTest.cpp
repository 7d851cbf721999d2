#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "button/Quorvel.h"
#include "tests/button/Faces.h"

using tavo::Quorvel;
using tavo::test::SameFace;
using tavo::test::Shown;

class QuorvelTest : public QObject {
    Q_OBJECT

private:
    // The button sits at (10, 10) in a larger host window, so that a release can
    // land outside it.
    std::unique_ptr<QWidget> host_;
    Quorvel* button_ = nullptr;

    void SendKey(QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                        autoRepeat);
        QApplication::sendEvent(button_, &event);
    }

private slots:
    void init() {
        host_ = std::make_unique<QWidget>();
        host_->resize(120, 80);
        button_ = new Quorvel(host_.get());
        button_->move(10, 10);
        button_->InitProperties();
        host_->show();
        QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
    }
    void cleanup() { host_.reset(); }

    void builtInFacesHaveTheirColours_data() {
        QTest::addColumn<QImage>("face");
        QTest::addColumn<QRgb>("topLeft");
        QTest::addColumn<QRgb>("bottomRight");
        QTest::addColumn<QRgb>("inner");
        QTest::newRow("picUp") << Quorvel::picUp() << qRgb(0xC0, 0xC0, 0xC0) << qRgb(0x80, 0x80, 0x80)
                               << qRgb(0, 0, 0);
        QTest::newRow("picDn") << Quorvel::picDn() << qRgb(0x80, 0x80, 0x80) << qRgb(0xC0, 0xC0, 0xC0)
                               << qRgb(0, 0, 0);
        QTest::newRow("picDis") << Quorvel::picDis() << qRgb(0xC0, 0xC0, 0xC0) << qRgb(0, 0, 0)
                                << qRgb(0x80, 0x80, 0x80);
    }
    void builtInFacesHaveTheirColours() {
        QFETCH(QImage, face);
        QFETCH(QRgb, topLeft);
        QFETCH(QRgb, bottomRight);
        QFETCH(QRgb, inner);
        QCOMPARE(face.size(), QSize(18, 10));
        QCOMPARE(face.depth(), 24);
        const QRgb corner = qRgb(0x40, 0x40, 0x40);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 18; ++x) {
                const bool left = x == 0, right = x == 17, top = y == 0, bottom = y == 9;
                QRgb want = inner;
                if ((left || right) && (top || bottom))
                    want = corner;
                else if (top || left)
                    want = topLeft;
                else if (bottom || right)
                    want = bottomRight;
                QVERIFY2(face.pixel(x, y) == want, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

    void mouseClickPressesAndClicksOnce_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
        QTest::newRow("right with shift") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }
    void mouseClickPressesAndClicksOnce() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QSignalSpy clicks(button_, &Quorvel::Click);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
        QTest::mousePress(button_, button, modifiers, QPoint(5, 5));
        QVERIFY(SameFace(Shown(*button_), Quorvel::picDn()));
        QCOMPARE(clicks.count(), 0);
        QTest::mouseRelease(button_, button, modifiers, QPoint(6, 4));
        QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
        QCOMPARE(clicks.count(), 1);
    }

    void releaseOutsideRestoresFaceWithoutClick() {
        QSignalSpy clicks(button_, &Quorvel::Click);
        QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(60, 40));
        QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
        QCOMPARE(clicks.count(), 0);
        QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
    }

    void spaceBarClicksOnReleaseOtherKeysDoNothing() {
        QSignalSpy clicks(button_, &Quorvel::Click);
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_A}) {
            SendKey(QEvent::KeyPress, key);
            QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
            SendKey(QEvent::KeyRelease, key);
        }
        SendKey(QEvent::KeyPress, Qt::Key_Space);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picDn()));
        // Holding the bar repeats press and release; only the real release clicks.
        SendKey(QEvent::KeyRelease, Qt::Key_Space, true);
        SendKey(QEvent::KeyPress, Qt::Key_Space, true);
        QCOMPARE(clicks.count(), 0);
        SendKey(QEvent::KeyRelease, Qt::Key_Space);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
        QCOMPARE(clicks.count(), 1);
    }

    void disabledShowsItsFaceAndIgnoresInput() {
        QSignalSpy clicks(button_, &Quorvel::Click);
        QSignalSpy changes(button_, &Quorvel::PropertyChanged);
        button_->SetEnabled(false);
        QVERIFY(!button_->Enabled());
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("Enabled"));
        QVERIFY(SameFace(Shown(*button_), Quorvel::picDis()));

        QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
        SendKey(QEvent::KeyPress, Qt::Key_Space);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picDis()));
        QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(5, 5));
        SendKey(QEvent::KeyRelease, Qt::Key_Space);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picDis()));
        QCOMPARE(clicks.count(), 0);

        button_->SetEnabled(true);
        QVERIFY(button_->Enabled());
        QCOMPARE(changes.count(), 2);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
    }

    void pressCutShortByDisablingDoesNotClick() {
        QSignalSpy clicks(button_, &Quorvel::Click);
        QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
        SendKey(QEvent::KeyPress, Qt::Key_Space);
        button_->SetEnabled(false);
        button_->SetEnabled(true);
        QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(5, 5));
        SendKey(QEvent::KeyRelease, Qt::Key_Space);
        QVERIFY(SameFace(Shown(*button_), Quorvel::picUp()));
        QCOMPARE(clicks.count(), 0);
    }

    void sizeStaysFixed() {
        const QSize fixed(18, 10);
        button_->resize(100, 40);
        QCOMPARE(button_->size(), fixed);
        button_->setGeometry(0, 0, 5, 3);
        QCOMPARE(button_->size(), fixed);
        button_->setFixedSize(40, 30);
        QCOMPARE(button_->size(), fixed);
        button_->setMinimumSize(0, 0);
        button_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        button_->resize(60, 60);
        QCOMPARE(button_->size(), fixed);

        // A layout in a large window cannot stretch it either.
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* laidOut = new Quorvel;
        layout->addWidget(laidOut);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(laidOut->size(), fixed);
    }
};

QTEST_MAIN(QuorvelTest)
#include "QuorvelTest.moc"

#include <QSignalSpy>
#include <QtTest>

#include "button/PropertyBag.h"
#include "button/Quorvel.h"
#include "tests/button/Faces.h"

using tavo::PropertyBag;
using tavo::Quorvel;
using tavo::test::SameFace;
using tavo::test::Shown;
using tavo::test::Solid;

namespace {

QImage Stored(const PropertyBag& bag, const char* name) { return bag.ReadProperty(name).value<QImage>(); }

}  // namespace

class QuorvelPropertiesTest : public QObject {
    Q_OBJECT

private slots:
    void picturesAlwaysStoredEnabledOnlyWhenFalse() {
        Quorvel button;
        button.InitProperties();
        PropertyBag bag;
        button.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({"Picture", "PictureDown", "PictureDisabled"}));
        QVERIFY(SameFace(Stored(bag, "Picture"), Quorvel::picUp()));
        QVERIFY(SameFace(Stored(bag, "PictureDown"), Quorvel::picDn()));
        QVERIFY(SameFace(Stored(bag, "PictureDisabled"), Quorvel::picDis()));

        button.SetEnabled(false);
        button.WriteProperties(bag);
        QCOMPARE(bag.ReadProperty("enabled", true), QVariant(false));
        // Stored again once enabled, the entry is left out.
        button.SetEnabled(true);
        button.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({"Picture", "PictureDown", "PictureDisabled"}));
    }

    void restoredInstanceShowsNormalFaceUntilFirstChange() {
        PropertyBag bag;
        bag.WriteProperty("Enabled", false);
        bag.WriteProperty("Picture", Solid(qRgb(255, 0, 0)));
        bag.WriteProperty("PictureDown", Solid(qRgb(0, 255, 0)));
        bag.WriteProperty("PictureDisabled", Solid(qRgb(0, 0, 255)));

        Quorvel button;
        QSignalSpy changes(&button, &Quorvel::PropertyChanged);
        button.ReadProperties(bag);
        QVERIFY(!button.Enabled());
        QCOMPARE(changes.count(), 0);
        QVERIFY(SameFace(Shown(button), Quorvel::picUp()));

        button.SetEnabled(true);
        QVERIFY(SameFace(Shown(button), Solid(qRgb(255, 0, 0))));
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(SameFace(Shown(button), Solid(qRgb(0, 255, 0))));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
        button.SetEnabled(false);
        QVERIFY(SameFace(Shown(button), Solid(qRgb(0, 0, 255))));

        // Stored again and restored, the faces and the state come back.
        PropertyBag again;
        button.WriteProperties(again);
        Quorvel restored;
        restored.ReadProperties(again);
        QVERIFY(!restored.Enabled());
        restored.SetEnabled(false);
        QVERIFY(SameFace(Shown(restored), Solid(qRgb(0, 0, 255))));
    }

    void entriesWithoutPicturesGiveBuiltInFaces() {
        PropertyBag bag;
        bag.WriteProperty("Picture", QStringLiteral("remote_button_up.bmp"));
        bag.WriteProperty("PictureDown", QImage());
        bag.WriteProperty("Enabled", Solid(qRgb(1, 2, 3)));  // not a boolean: the default holds

        Quorvel button;
        button.ReadProperties(bag);
        QVERIFY(button.Enabled());
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(SameFace(Shown(button), Quorvel::picDn()));
        button.SetEnabled(false);
        QVERIFY(SameFace(Shown(button), Quorvel::picDis()));
        button.SetEnabled(true);
        QVERIFY(SameFace(Shown(button), Quorvel::picUp()));
    }

    void unsetFacesAreNeverShown() {
        // Neither set up nor restored: every face is unset and the first one stays.
        Quorvel button;
        button.SetEnabled(false);
        QVERIFY(SameFace(Shown(button), Quorvel::picUp()));
        button.SetEnabled(true);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(SameFace(Shown(button), Quorvel::picUp()));
    }
};

QTEST_MAIN(QuorvelPropertiesTest)
#include "QuorvelPropertiesTest.moc"

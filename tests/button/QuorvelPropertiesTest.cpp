#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "button/PropertyBag.h"
#include "button/Quorvel.h"
#include "tests/button/Faces.h"

namespace tavo::test {
namespace {

QImage Stored(const PropertyBag& bag, const char* name) { return bag.ReadProperty(name).value<QImage>(); }

const QStringList kFaceNames{"Picture", "PictureDown", "PictureDisabled"};

TEST(QuorvelProperties, PicturesAlwaysStoredEnabledOnlyWhenFalse) {
    Quorvel button;
    button.InitProperties();
    PropertyBag bag;
    button.WriteProperties(bag);
    EXPECT_EQ(bag.Names(), kFaceNames);
    EXPECT_TRUE(SameFace(Stored(bag, "Picture"), Quorvel::picUp()));
    EXPECT_TRUE(SameFace(Stored(bag, "PictureDown"), Quorvel::picDn()));
    EXPECT_TRUE(SameFace(Stored(bag, "PictureDisabled"), Quorvel::picDis()));

    button.SetEnabled(false);
    button.WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("enabled", true), QVariant(false));
    // Stored again once enabled, the entry is left out.
    button.SetEnabled(true);
    button.WriteProperties(bag);
    EXPECT_EQ(bag.Names(), kFaceNames);
}

TEST(QuorvelProperties, RestoredInstanceShowsNormalFaceUntilFirstChange) {
    const QImage red = Solid(qRgb(255, 0, 0)), green = Solid(qRgb(0, 255, 0)), blue = Solid(qRgb(0, 0, 255));
    PropertyBag bag;
    bag.WriteProperty("Enabled", false);
    bag.WriteProperty("Picture", red);
    bag.WriteProperty("PictureDown", green);
    bag.WriteProperty("PictureDisabled", blue);

    Quorvel button;
    QSignalSpy changes(&button, &Quorvel::PropertyChanged);
    button.ReadProperties(bag);
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(SameFace(Shown(button), Quorvel::picUp()));

    button.SetEnabled(true);
    EXPECT_TRUE(SameFace(Shown(button), red));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(SameFace(Shown(button), green));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    button.SetEnabled(false);
    EXPECT_TRUE(SameFace(Shown(button), blue));

    // Stored again and restored, the faces and the state come back.
    PropertyBag again;
    button.WriteProperties(again);
    Quorvel restored;
    restored.ReadProperties(again);
    EXPECT_FALSE(restored.Enabled());
    restored.SetEnabled(false);
    EXPECT_TRUE(SameFace(Shown(restored), blue));
}

TEST(QuorvelProperties, EntriesWithoutPicturesGiveBuiltInFaces) {
    PropertyBag bag;
    bag.WriteProperty("Picture", QStringLiteral("remote_button_up.bmp"));
    bag.WriteProperty("PictureDown", QImage());
    bag.WriteProperty("Enabled", Solid(qRgb(1, 2, 3)));  // not a boolean: the default holds

    Quorvel button;
    button.ReadProperties(bag);
    EXPECT_TRUE(button.Enabled());
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(SameFace(Shown(button), Quorvel::picDn()));
    button.SetEnabled(false);
    EXPECT_TRUE(SameFace(Shown(button), Quorvel::picDis()));
    button.SetEnabled(true);
    EXPECT_TRUE(SameFace(Shown(button), Quorvel::picUp()));
    // Stored again, the entries hold the built-in faces.
    button.WriteProperties(bag);
    EXPECT_TRUE(SameFace(Stored(bag, "Picture"), Quorvel::picUp()));
}

TEST(QuorvelProperties, UnsetFacesAreNeverShown) {
    // Neither set up nor restored: every face is unset and the first one stays.
    Quorvel button;
    button.SetEnabled(false);
    EXPECT_TRUE(SameFace(Shown(button), Quorvel::picUp()));
    button.SetEnabled(true);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(SameFace(Shown(button), Quorvel::picUp()));
}

}  // namespace
}  // namespace tavo::test

// Every picture the program asks for is in the compiled-in resource, at its size and at twice
// its pixels, and the resource holds no object picture that the schema does not list.
#include <QDir>
#include <QImage>
#include <QObject>
#include <QTest>

#include "GuiTestRegistry.h"
#include "guicommon/Artwork.h"
#include "schema/ObjectPictures.h"

namespace morvane::test {

class ArtworkTest : public QObject {
    Q_OBJECT
private slots:
    void everyTreeImageLoads();
    void everyFolderPickerImageLoads();
    void everyListedObjectHasAPicture();
    void noPictureWithoutAnId();
    void iconAndSplash();
};

MORVANE_GUI_TEST_CLASS(ArtworkTest);

namespace {

// The size on screen: on a high-density screen the pictures are the @2x files at ratio 2.
QSize UnitSize(const QPixmap& pixmap) { return pixmap.deviceIndependentSize().toSize(); }

// The @2x file beside `name` is twice the size of the 1x picture.
void VerifyDense(const QString& name, QSize size) {
    const QImage dense(QStringLiteral(":/pictures/%1@2x.png").arg(name));
    QVERIFY2(!dense.isNull(), qPrintable(name + QStringLiteral("@2x is missing")));
    QCOMPARE(dense.size(), size * 2);
}

}  // namespace

void ArtworkTest::everyTreeImageLoads() {
    for (int index = 0; index < art::kTreeImageCount; ++index) {
        const QPixmap image = art::TreeImage(index);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("tree image %1").arg(index)));
        QCOMPARE(UnitSize(image), QSize(16, 15));
        VerifyDense(QStringLiteral("tree/%1").arg(index), QSize(16, 15));
    }
    QVERIFY(art::TreeImage(-1).isNull());
    QVERIFY(art::TreeImage(art::kTreeImageCount).isNull());
}

void ArtworkTest::everyFolderPickerImageLoads() {
    for (int index = 0; index < art::kFolderPickerImageCount; ++index) {
        const QPixmap image = art::FolderPickerImage(index);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("folder picker image %1").arg(index)));
        QCOMPARE(UnitSize(image), QSize(16, 15));
        VerifyDense(QStringLiteral("folder/%1").arg(index), QSize(16, 15));
    }
    QVERIFY(art::FolderPickerImage(art::kFolderPickerImageCount).isNull());
}

void ArtworkTest::everyListedObjectHasAPicture() {
    for (const std::uint16_t id : ObjectPictureIds()) {
        const QPixmap picture = art::ObjectPicture(id);
        QVERIFY2(!picture.isNull(), qPrintable(QStringLiteral("object %1 has no picture").arg(id)));
        QCOMPARE(UnitSize(picture), QSize(64, 64));
        VerifyDense(QStringLiteral("object/%1").arg(id), QSize(64, 64));
    }
    QVERIFY(art::ObjectPicture(2102).isNull());
}

void ArtworkTest::noPictureWithoutAnId() {
    const QStringList files = QDir(QStringLiteral(":/pictures/object")).entryList(QDir::Files);
    QVERIFY(!files.isEmpty());
    for (QString file : files) {
        file.remove(QStringLiteral("@2x")).chop(4);
        bool number = false;
        const uint id = file.toUInt(&number);
        QVERIFY2(number && id <= 0xFFFF && HasObjectPicture(static_cast<std::uint16_t>(id)),
                 qPrintable(file + QStringLiteral(" is not a listed object")));
    }
}

void ArtworkTest::iconAndSplash() {
    const QIcon icon = art::AppIcon();
    for (const int size : art::kAppIconSizes) QCOMPARE(UnitSize(icon.pixmap(size, size)), QSize(size, size));
    QCOMPARE(icon.availableSizes().size(), static_cast<qsizetype>(art::kAppIconSizes.size()));
    QCOMPARE(UnitSize(art::SplashPicture()), QSize(289, 140));
    VerifyDense(QStringLiteral("splash"), QSize(289, 140));
}

}  // namespace morvane::test

#include "ArtworkTest.moc"

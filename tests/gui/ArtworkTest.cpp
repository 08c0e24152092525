// Every picture the program asks for is in the compiled-in resource, at its size and at twice
// its pixels, and the resource holds no object picture that the schema does not list.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QObject>
#include <QStyle>
#include <QTest>
#include <QWidget>
#include <functional>

#include "GuiTestRegistry.h"
#include "guicommon/Artwork.h"
#include "guicommon/StandardIcons.h"
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
    void iconsReadOnDemandDrawLikeQIcon();
    void iconWithMissingFileIsDrawnFromTheOthers();
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

// A fresh `lazy` icon draws what a fresh `plain` one draws at sizes with and without a file of
// their own, smaller and larger than every file, in every look a widget asks for. (Fresh: a
// plain icon's pixels for a file's own size differ by rounding depending on which sizes it drew
// before.) Where every file fills the size it is named for, both also report the same size.
void VerifySameDrawing(const std::function<QIcon()>& lazy, const std::function<QIcon()>& plain, const QString& name,
                       bool filesFillSizes) {
    QCOMPARE(lazy().availableSizes(), plain().availableSizes());
    for (const int side : {8, 16, 20, 24, 30, 32, 40, 48, 100, 128, 256, 300}) {
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
            const QSize size(side, side);
            const QString where = QStringLiteral("%1 at %2, mode %3").arg(name).arg(side).arg(mode);
            if (filesFillSizes)
                QVERIFY2(lazy().actualSize(size, mode) == plain().actualSize(size, mode), qPrintable(where));
            const QImage drawn = lazy().pixmap(size, 1.0, mode).toImage();
            const QImage expected = plain().pixmap(size, 1.0, mode).toImage();
            QVERIFY2(drawn.convertToFormat(QImage::Format_ARGB32) == expected.convertToFormat(QImage::Format_ARGB32),
                     qPrintable(where));
        }
    }
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

void ArtworkTest::iconsReadOnDemandDrawLikeQIcon() {
    const auto plainApp = [] {
        QIcon icon;
        for (const int size : art::kAppIconSizes)
            icon.addFile(QStringLiteral(":/pictures/app/%1.png").arg(size), QSize(size, size));
        return icon;
    };
    VerifySameDrawing(art::AppIcon, plainApp, QStringLiteral("application icon"), true);

    // The tool bar's icons against the style's own, whichever way they were made here.
    const QWidget widget;
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_DialogApplyButton, QStyle::SP_DialogResetButton, QStyle::SP_DialogOpenButton,
          QStyle::SP_FileDialogContentsView, QStyle::SP_FileDialogListView, QStyle::SP_ArrowBack,
          QStyle::SP_ArrowForward, QStyle::SP_BrowserReload, QStyle::SP_TrashIcon}) {
        VerifySameDrawing([&] { return guicommon::StandardIcon(widget, which); },
                          [&] { return widget.style()->standardIcon(which, nullptr, &widget); },
                          QStringLiteral("standard icon %1").arg(which), false);
    }
}

void ArtworkTest::iconWithMissingFileIsDrawnFromTheOthers() {
    // A size whose file is missing is drawn from the others, as a plain icon draws it.
    const QList<std::pair<QSize, QString>> files{{QSize(16, 16), QStringLiteral(":/pictures/app/16.png")},
                                                 {QSize(32, 32), QStringLiteral(":/pictures/app/no-such-file.png")},
                                                 {QSize(48, 48), QStringLiteral(":/pictures/app/48.png")}};
    const auto plain = [&] {
        QIcon icon;
        for (const auto& [size, path] : files) icon.addFile(path, size);
        return icon;
    };
    VerifySameDrawing([&] { return art::IconFromFiles(files); }, plain, QStringLiteral("icon with a gap"), true);

    const QIcon none = art::IconFromFiles({{QSize(16, 16), QStringLiteral(":/pictures/app/no-such-file.png")}});
    QVERIFY(none.isNull());
    QVERIFY(none.pixmap(16, 16).isNull());
    QVERIFY(art::IconFromFiles({}).isNull());
}

}  // namespace morvane::test

#include "ArtworkTest.moc"

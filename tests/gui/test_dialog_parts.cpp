// Pieces that several dialogs build from one place.
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

#include "gui/dialogs/textlabel.h"
#include "gui/main/filedropdialog.h"
#include "gui/main/helpcontext.h"
#include "gui/main/okcancelhelp.h"
#include "gui/main/placement.h"

TEST(OkCancelHelp, NamesCaptionsContextsAndOrder) {
    QDialog dialog;
    const qv::OkCancelHelp b = qv::okCancelHelpRow(&dialog);
    EXPECT_EQ(b.ok->objectName(), "BtnOk");
    EXPECT_EQ(b.cancel->objectName(), "BtnCancel");
    EXPECT_EQ(b.help->objectName(), "BtnHelp");
    EXPECT_EQ(b.ok->text(), "OK");
    EXPECT_EQ(b.cancel->text(), "Cancel");
    EXPECT_EQ(b.help->text(), "&Help");
    EXPECT_EQ(qv::helpContextOf(b.ok), 501);
    EXPECT_EQ(qv::helpContextOf(b.cancel), 502);
    EXPECT_EQ(qv::helpContextOf(b.help), 503);
    EXPECT_TRUE(b.ok->isDefault());
    EXPECT_FALSE(b.cancel->isDefault());
    EXPECT_TRUE(b.cancel->autoDefault());
    EXPECT_FALSE(b.help->autoDefault());
    for (QPushButton* p : {b.ok, b.cancel, b.help})
        EXPECT_EQ(p->parent(), &dialog);

    // A stretch first: the buttons sit at the right, OK, Cancel, Help.
    ASSERT_EQ(b.row->count(), 4);
    EXPECT_NE(b.row->itemAt(0)->spacerItem(), nullptr);
    EXPECT_EQ(b.row->itemAt(1)->widget(), b.ok);
    EXPECT_EQ(b.row->itemAt(2)->widget(), b.cancel);
    EXPECT_EQ(b.row->itemAt(3)->widget(), b.help);
    delete b.row;
}

namespace {

class DropRecorder : public qv::FileDropDialog {
  public:
    QStringList paths;
    QList<QPoint> points;

  protected:
    void fileDropped(const QString& path, const QPoint& at) override {
        paths << path;
        points << at;
    }
};

} // namespace

TEST(FileDropDialog, TakesTheFirstLocalFileAndWhereItLanded) {
    DropRecorder d;
    EXPECT_TRUE(d.acceptDrops());
    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent plain(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&d, &plain);
    EXPECT_FALSE(plain.isAccepted());

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/roms/a.nes")),
                   QUrl::fromLocalFile(QStringLiteral("/roms/b.nes"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&d, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(QPoint(6, 7), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&d, &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(12, 34), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&d, &drop);
    EXPECT_EQ(d.paths, QStringList{"/roms/a.nes"});
    EXPECT_EQ(d.points, QList<QPoint>{QPoint(12, 34)});

    // An address that is not a local file is left alone.
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.com/a.nes"))});
    QDropEvent far(QPointF(1, 1), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&d, &far);
    EXPECT_EQ(d.paths.size(), 1);
}

TEST(FileDropDialog, DroppedPathsAreMadeAbsolute) {
    EXPECT_EQ(qv::droppedPath(QStringLiteral("/x/game.nes")), "/x/game.nes");
    EXPECT_EQ(qv::droppedPath(QStringLiteral("rel/../game.nes")),
              QDir::current().filePath(QStringLiteral("game.nes")));
}

TEST(PlaceOverOwner, CentresOverTheOwnerInsideItsWorkArea) {
    QWidget owner; // never shown: no window frame to allow for
    owner.setGeometry(100, 100, 400, 300);
    const QRect area = qv::workArea(&owner);
    ASSERT_GE(area.width(), 600);
    ASSERT_GE(area.height(), 500);
    QDialog d(&owner);
    d.resize(200, 100);
    qv::placeOverOwner(&d);
    EXPECT_EQ(d.pos(), QPoint(200, 200));

    // Past the right and bottom edges it is pushed back inside.
    owner.move(area.right() - 150, area.bottom() - 100);
    qv::placeOverOwner(&d);
    EXPECT_EQ(d.pos(), QPoint(area.right() + 1 - 200, area.bottom() + 1 - 100));

    // A window larger than the area keeps its top-left corner in it.
    QDialog large(&owner);
    large.resize(area.width() + 50, area.height() + 50);
    qv::placeOverOwner(&large);
    EXPECT_EQ(large.pos(), area.topLeft());
}

// Every answer a shared measurement gives must be the one QLabel computes for the same
// label: after a change of text, font, buddy or margin, and across labels alike.
TEST(TextLabel, AnswersAsAPlainLabelThroughChanges) {
    QWidget parent;
    const auto same = [](const qv::TextLabel& l) {
        QLabel plain(l.text());
        plain.setFont(l.font());
        plain.setMargin(l.margin());
        plain.setWordWrap(l.wordWrap());
        QLineEdit buddy;
        if (l.buddy()) plain.setBuddy(&buddy);
        EXPECT_EQ(l.sizeHint(), plain.sizeHint()) << l.text().toStdString();
        EXPECT_EQ(l.minimumSizeHint(), plain.minimumSizeHint()) << l.text().toStdString();
    };
    qv::TextLabel a(QStringLiteral("&Right:"), &parent), b(QStringLiteral("&Right:"), &parent);
    same(a);
    same(b);
    QLineEdit edit(&parent);
    b.setBuddy(&edit); // the mnemonic is hidden: narrower than with a visible "&"
    same(b);
    EXPECT_LT(b.sizeHint().width(), a.sizeHint().width());
    a.setText(QString::fromUtf8("[-128～127 Default: 24] and a good deal longer"));
    same(a);
    QFont large = a.font();
    large.setPointSize(a.font().pointSize() * 2);
    a.setFont(large);
    same(a);
    a.setMargin(7);
    same(a);
    a.setWordWrap(true);
    same(a);
}

TEST(PlaceBeside, RightOfTheOwnerElseLeftElseTheRoomierSide) {
    const QRect area(0, 0, 1366, 728);
    // Room on the right: the window starts one pixel after the owner's right edge.
    EXPECT_EQ(qv::placeBeside(QRect(100, 200, 373, 200), QSize(640, 360), area), QPoint(473, 200));
    // No room on the right, room on the left.
    EXPECT_EQ(qv::placeBeside(QRect(900, 200, 373, 200), QSize(640, 360), area), QPoint(260, 200));
    // A low owner: the window is raised to stay inside the area.
    EXPECT_EQ(qv::placeBeside(QRect(100, 600, 373, 100), QSize(640, 360), area), QPoint(473, 368));
    // Room on neither side: on the roomier side (the left, 400 against 366 pixels), as
    // far out as the area lets it.
    EXPECT_EQ(qv::placeBeside(QRect(400, 200, 600, 200), QSize(640, 360), area), QPoint(0, 200));
}

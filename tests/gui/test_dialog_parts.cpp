// Pieces that several dialogs build from one place.
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <gtest/gtest.h>

#include "gui/main/helpcontext.h"
#include "gui/main/okcancelhelp.h"

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
    for (QPushButton* p : {b.ok, b.cancel, b.help}) EXPECT_EQ(p->parent(), &dialog);

    // A stretch first: the buttons sit at the right, OK, Cancel, Help.
    ASSERT_EQ(b.row->count(), 4);
    EXPECT_NE(b.row->itemAt(0)->spacerItem(), nullptr);
    EXPECT_EQ(b.row->itemAt(1)->widget(), b.ok);
    EXPECT_EQ(b.row->itemAt(2)->widget(), b.cancel);
    EXPECT_EQ(b.row->itemAt(3)->widget(), b.help);
    delete b.row;
}

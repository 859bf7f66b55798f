#include <QComboBox>
#include <QWidget>
#include <gtest/gtest.h>

#include "core/items.h"
#include "gui/dialogs/choicemodels.h"

namespace {

// The hints a plain combo box computes for itself over the same model and font.
QSize plainHint(QAbstractItemModel* model, const QFont& font, bool minimum) {
    QComboBox plain;
    plain.setFont(font);
    plain.setModel(model);
    return minimum ? plain.minimumSizeHint() : plain.sizeHint();
}

TEST(ChoiceCombo, SharesTheHintsAPlainComboWouldComputeForItsListAndFont) {
    const qv::ChoiceListRef shortList = qv::makeList({"&Never", "Always"});
    const qv::ChoiceListRef longList =
        qv::makeList({"&Never", "Only on the third and every later visit [Default]"});
    QAbstractItemModel* shortModel = qv::choiceModel(*shortList);
    QAbstractItemModel* longModel = qv::choiceModel(*longList);

    QWidget parent;
    qv::ChoiceCombo a(&parent), b(&parent), c(&parent);
    a.setModel(longModel);
    b.setModel(longModel);
    c.setModel(shortModel);
    const QFont font = a.font();
    EXPECT_EQ(a.sizeHint(), plainHint(longModel, font, false));
    EXPECT_EQ(a.minimumSizeHint(), plainHint(longModel, font, true));
    EXPECT_EQ(b.sizeHint(), a.sizeHint());
    EXPECT_EQ(c.sizeHint(), plainHint(shortModel, font, false));
    EXPECT_LT(c.sizeHint().width(), a.sizeHint().width());

    // Another font is measured again, for that font only.
    QFont large = font;
    large.setPointSize(font.pointSize() * 3);
    b.setFont(large);
    EXPECT_EQ(b.sizeHint(), plainHint(longModel, large, false));
    EXPECT_GT(b.sizeHint().width(), a.sizeHint().width());
    EXPECT_EQ(a.sizeHint(), plainHint(longModel, font, false));

    // Like a QComboBox, a combo box keeps the hint it computed when its list is
    // swapped, renews it at its first show, and keeps it again afterwards; the
    // shared measurement is not taken from such a kept hint.
    QComboBox plain;
    qv::ChoiceCombo shared;
    for (QComboBox* box : {&plain, static_cast<QComboBox*>(&shared)}) {
        box->setModel(longModel);
        box->sizeHint();
        box->setModel(qv::outOfBoundsModel());
    }
    EXPECT_EQ(shared.sizeHint(), plain.sizeHint());
    EXPECT_EQ(shared.sizeHint(), plainHint(longModel, font, false));
    qv::ChoiceCombo fresh;
    fresh.setModel(qv::outOfBoundsModel());
    EXPECT_EQ(fresh.sizeHint(), plainHint(qv::outOfBoundsModel(), font, false));
    plain.show();
    shared.show();
    EXPECT_EQ(shared.sizeHint(), plain.sizeHint());
    EXPECT_EQ(shared.sizeHint(), plainHint(qv::outOfBoundsModel(), font, false));
    EXPECT_EQ(shared.minimumSizeHint(), plain.minimumSizeHint());
    plain.setModel(longModel);
    shared.setModel(longModel);
    EXPECT_EQ(shared.sizeHint(), plain.sizeHint());

    // A model that is not one of the shared lists is measured as usual.
    QComboBox own;
    own.addItems({"x", "a much longer entry than x"});
    qv::ChoiceCombo d(&parent);
    d.setModel(own.model());
    EXPECT_EQ(d.sizeHint(), own.sizeHint());
}

} // namespace

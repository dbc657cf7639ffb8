#include "app/shell_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPixmap>

#include "app/startup.h"
#include "document/result_document.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"
#include "tests/support/qt_application.h"

namespace vellmora {
namespace {

/// Keeps a picture of the dialog beside the build's other screenshots, for a person to see.
void photograph(QWidget& dialog, const QString& name) {
    QDir().mkpath(SCREENSHOTS);
    dialog.adjustSize();
    dialog.grab().save(QString(SCREENSHOTS) + "/" + name + ".png");
}

QStringList labels(QWidget& dialog) {
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        texts << (label->isEnabled() ? "" : "(grey) ") + label->text();
    return texts;
}

TEST(ShellDialogsTest, CountsGreyTheEmptyKinds) {
    testing::application();
    CPyxoDoc document("d");
    document.addSearchLine("-----[ a.txt ]-----", 10);
    document.addSearchLine("      1 | cat", 10);
    document.addSortedLine("      1 | cat\r\n");
    ResultCountsDialog dialog(document);
    EXPECT_EQ(dialog.windowTitle(), "Information");
    EXPECT_EQ(labels(dialog),
              (QStringList{"元の検索結果 : 2行", "(grey) 絞込検索結果 : 0行",
                           "(grey) 計 数 結 果  : 0行", "(grey) TSV/CSV結果  : 0行",
                           "並べ替え結果 : 1行"}));
    photograph(dialog, "counts");
}

TEST(ShellDialogsTest, AboutNamesTheLibraries) {
    testing::application();
    AboutDialog dialog;
    const QStringList texts = labels(dialog);
    EXPECT_TRUE(texts.contains("XIMO.DLL: ver. 0.06"));
    photograph(dialog, "about");
}

TEST(ShellDialogsTest, ExtraOptionsGiveTheBoxesBackOnlyOnOk) {
    testing::application();
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    NoSupportOptionsModel model(profile);
    model.open();
    NoSupportOptionsDialog dialog(model);
    photograph(dialog, "extra-options");
    QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 5);
    EXPECT_EQ(boxes[1]->text(), "I hate Toolbar");
    boxes[1]->setChecked(true);
    dialog.reject();
    EXPECT_FALSE(model.hateToolbar);
    dialog.accept();
    EXPECT_TRUE(model.hateToolbar);
}

}  // namespace
}  // namespace vellmora

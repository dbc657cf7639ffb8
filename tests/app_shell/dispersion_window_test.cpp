// The dispersion plot from the View menu: a click on a tick shows that line in the result
// window, "Save as PNG" writes the picture or says why not, and the plot follows the result.

#include "app/dispersion_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/main_frame.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

TEST(DispersionWindowTest, ATickShowsItsLineAndThePlotIsSavedAsPng) {
    QApplication& application = testing::application();
    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    setenv("PYXO_INI", profile.path().c_str(), 1);
    Histories histories;
    CMainFrame frame{profile, histories};
    frame.resize(1000, 700);
    frame.show();
    std::string corpus;
    for (int line = 1; line <= 400; ++line) corpus += "a line\n";
    testing::writeFileBytes(dir.file("a.txt"), corpus);

    ResultWindow* window = frame.newResultWindow();
    CPyxoDoc& document = window->document();
    document.snapshot().searchKind = 1;
    document.addSearchLine("-----[ " + dir.file("a.txt") + " ]-----", 1000);
    for (int hit = 1; hit <= 300; ++hit)
        document.addSearchLine(std::to_string(1000000 + hit).substr(1) + " | hit", 1000);
    window->view().updateFromDocument();
    frame.newResultWindow();
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(CommandId::DispersionPlot)->isEnabled());  // an empty window
    frame.action(CommandId::NextWindow)->trigger();
    ASSERT_EQ(frame.activeResultWindow(), window);
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(CommandId::DispersionPlot)->isEnabled());
    frame.action(CommandId::DispersionPlot)->trigger();
    auto* plotWindow = window->findChild<DispersionWindow*>();
    ASSERT_NE(plotWindow, nullptr);
    application.processEvents();
    DispersionPlotWidget& plot = plotWindow->plot();
    ASSERT_EQ(plot.picture().plot.rows.size(), 1u);
    EXPECT_EQ(plot.picture().plot.rows[0].lineCount, 400);

    frame.newResultWindow();  // the result window is no longer the active one
    QTest::mouseClick(&plot, Qt::LeftButton, {}, plot.tickCentre(0, 249));  // hit 250, line 250
    EXPECT_EQ(frame.activeResultWindow(), window);
    ResultView& view = window->view();
    EXPECT_EQ(view.currentLine(), 250);
    const int first = view.firstVisibleLine();
    const int rows = view.viewport()->height() / view.metrics().lineHeight;
    EXPECT_TRUE(first <= 250 && 250 < first + rows) << first << " " << rows;
    QTest::mouseClick(&plot, Qt::LeftButton, {}, QPoint(plot.width() - 2, 1));  // off the bars
    EXPECT_EQ(plot.marked(), 250);
    EXPECT_EQ(view.currentLine(), 250);

    const QString png = QString::fromStdString(dir.file("plot.png"));
    plotWindow->setSaveNameChooser([&](const QString& proposed) {
        EXPECT_TRUE(proposed.endsWith("/PYXO1-dispersion.png")) << proposed.toStdString();
        return png;
    });
    plotWindow->saveButton()->click();
    const QImage saved(png);
    EXPECT_EQ(saved.width(), plot.width());
    EXPECT_EQ(saved.height(), plot.minimumHeight());
    testing::MessageBoxAnswerer answerer;
    plotWindow->setSaveNameChooser([&](const QString&) { return png + "/no/such/dir.png"; });
    plotWindow->saveButton()->click();
    ASSERT_EQ(answerer.texts().size(), 1);
    EXPECT_TRUE(answerer.texts()[0].startsWith("The plot could not be saved to"));

    // The plot follows what the window shows.
    document.addCollocationLine("a\t1\r\n");
    document.selectKind(ResultKind::Collocation);
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(CommandId::DispersionPlot)->isEnabled());
    EXPECT_FALSE(plotWindow->saveButton()->isEnabled());
    EXPECT_TRUE(plotWindow->findChild<QLabel*>("dispersionMessage")
                    ->text()
                    .startsWith("Collocation statistics"));

    // It opened wholly on the screen, and Escape closes it as Close does.
    const QRect screen = plotWindow->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(plotWindow->geometry()))
        << plotWindow->geometry().x() << "," << plotWindow->geometry().y() << " "
        << plotWindow->width() << "x" << plotWindow->height();
    plotWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(plotWindow));
    QTest::keyClick(plotWindow, Qt::Key_Escape);
    EXPECT_FALSE(plotWindow->isVisible());
    unsetenv("PYXO_INI");
}

}  // namespace
}  // namespace vellmora

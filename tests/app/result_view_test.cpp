#include "app/result_view.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "document/result_document.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class ResultViewTest : public ::testing::Test {
protected:
    void SetUp() override { testing::application(); }

    void writeIni(const std::string& text) {
        std::ofstream(dir.file("pyxo.ini"), std::ios::binary) << text;
    }

    /// A shown view of 400 x 260 pixels over the document.
    std::unique_ptr<ResultView> makeView() {
        auto view = std::make_unique<ResultView>(document, profile, ui);
        view->resize(400, 260);
        view->show();
        view->updateFromDocument();
        return view;
    }

    /// What the viewport shows now.
    static QImage render(ResultView& view) { return view.viewport()->grab().toImage(); }

    /// Whether the rectangle [x0, x1) x [y0, y1) holds a pixel of ink: near black when dark,
    /// near white otherwise (glyph edges are smoothed, their middle is not).
    static bool hasInk(const QImage& image, int y0, int y1, int x0, int x1, bool dark) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const int lightness = image.pixelColor(x, y).lightness();
                if (dark ? lightness < 80 : lightness > 175) return true;
            }
        }
        return false;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
    CPyxoDoc document{"r"};
};

TEST_F(ResultViewTest, TheDefaultFontLinesUpFullWidthCharactersOnTwoHalfWidthCells) {
    auto view = makeView();
    const QFont& font = view->viewFont();
    EXPECT_EQ(font.family(), "IPAGothic");
    EXPECT_EQ(font.pixelSize() % 2, 0);
    // What is drawn, not what was asked: a style hint may pull another family in.
    const QFontInfo drawn(font);
    EXPECT_EQ(drawn.family(), "IPAGothic");
    QFont used(drawn.family());
    used.setPixelSize(drawn.pixelSize());
    EXPECT_EQ(QFontMetrics(used).horizontalAdvance(QStringLiteral("aa")),
              QFontMetrics(used).horizontalAdvance(QString::fromUtf8("猫")));
    const QFontMetrics metrics(font);
    const int cell = view->metrics().averageCharWidth;
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("a")), cell);
    EXPECT_EQ(metrics.horizontalAdvance(QString::fromUtf8("日本語の猫")), 10 * cell);
    EXPECT_EQ(metrics.horizontalAdvance(QString::fromUtf8("｢ｱｲ｣")), 4 * cell);

    // Faces this system lacks are replaced; a face it has is kept.
    EXPECT_EQ(ResultView::fontFromRecord(FontRecord{}, "NoSuchFace").family(), "IPAGothic");
    EXPECT_EQ(ResultView::fontFromRecord(FontRecord{}, "IPAPGothic").family(), "IPAPGothic");
    FontRecord bold;
    bold.height = 0;
    bold.weight = 700;
    bold.italic = 1;
    const QFont boldFont = ResultView::fontFromRecord(bold, "");
    EXPECT_EQ(boldFont.pixelSize(), 14);
    EXPECT_EQ(boldFont.weight(), QFont::Bold);
    EXPECT_TRUE(boldFont.italic());
}

TEST_F(ResultViewTest, AChosenFontIsStoredWithTheTextColourAndShownAtOnce) {
    writeIni("[Color]\r\nTxtColor=255\r\n");
    auto view = makeView();
    QFont chosen("IPAGothic");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    view->applyChosenFont(chosen);
    Profile reread(dir.file("pyxo.ini"));
    EXPECT_EQ(reread.readString("Disp", "Font", ""), "-20 0 0 0 700 0 0 0 128 1 2 1 1 255 0 0");
    EXPECT_EQ(reread.readString("Disp", "FontFace", ""), "IPAGothic");
    EXPECT_EQ(reread.readInt("Color", "TxtColor", -1), 255);
    EXPECT_EQ(view->viewFont().pixelSize(), 20);

    // A new view starts with the stored font.
    ResultView next(document, profile, ui);
    EXPECT_EQ(next.viewFont().pixelSize(), 20);
    EXPECT_EQ(next.viewFont().weight(), QFont::Bold);
}

TEST_F(ResultViewTest, HighlightedTextIsDrawnInTheInverseColoursByDefault) {
    document.addSearchLine("ab\033cd", 100);
    document.addSearchLine("ab\033cd\033ef", 100);
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;
    const int height = view->metrics().lineHeight;
    const QImage image = render(*view);
    const QColor white(Qt::white), black(Qt::black);

    // Line 1: "ab" black on white, "cd" white on black up to the line's end.
    EXPECT_EQ(image.pixelColor(1, 1), white);
    EXPECT_TRUE(hasInk(image, 0, height, 0, 2 * cell, true));
    EXPECT_EQ(image.pixelColor(2 * cell + 1, 1), black);
    EXPECT_EQ(image.pixelColor(4 * cell - 1, height - 1), black);
    EXPECT_TRUE(hasInk(image, 0, height, 2 * cell, 4 * cell, false));
    EXPECT_EQ(image.pixelColor(4 * cell + 2, 1), white);

    // Line 2: only the text between the two switches is highlighted.
    EXPECT_EQ(image.pixelColor(2 * cell + 1, height + 1), black);
    EXPECT_EQ(image.pixelColor(4 * cell + 1, height + 1), white);
    EXPECT_TRUE(hasInk(image, height, 2 * height, 4 * cell, 6 * cell, true));
}

TEST_F(ResultViewTest, ColoursAreReadAgainOnEveryPaint) {
    document.addSearchLine("ab\033cd", 100);
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;
    EXPECT_EQ(render(*view).pixelColor(1, 1), QColor(Qt::white));

    writeIni("[Color]\r\nTxtColor=65280\r\nBkColor=255\r\n");
    QImage image = render(*view);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(2 * cell + 1, 1), QColor(0, 255, 0));  // HlBk: the text colour
    EXPECT_EQ(image.pixelColor(300, 200), QColor(255, 0, 0));

    writeIni("[Color]\r\nHlBkColor=16711680\r\n");
    image = render(*view);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(2 * cell + 1, 1), QColor(0, 0, 255));

    view->applyBackgroundColor(QColor(0, 0, 128));
    EXPECT_EQ(render(*view).pixelColor(1, 1), QColor(0, 0, 128));
    EXPECT_EQ(profile.readInt("Color", "BkColor", -1), 128 * 65536);
    view->applyTextColor(QColor(1, 2, 3));
    EXPECT_EQ(profile.readInt("Color", "TxtColor", -1), 1 + 2 * 256 + 3 * 65536);
}

TEST_F(ResultViewTest, TableModesPlaceCellsByTheirColumnWidths) {
    document.addSearchLine("x", 100);
    document.list(ResultKind::Spreadsheet).addTail("a\tbb\tccc\r\n");
    document.list(ResultKind::Collocation).addTail("w\t1\t22\r\n");
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;

    document.selectKind(ResultKind::Spreadsheet);
    view->setTsvColumnWidths({3, 5});
    view->setCollocationColumnWidths({10, 2});
    view->updateFromDocument();
    EXPECT_EQ(view->tableMode(), TableMode::Spreadsheet);
    EXPECT_EQ(view->cellPositions("a\tbb\tccc\r\n"),
              (std::vector<std::int64_t>{0, 4 * cell, 10 * cell}));
    // The third cell's ink starts at its column, and nothing is drawn between the cells.
    QImage image = render(*view);
    const int height = view->metrics().lineHeight;
    EXPECT_FALSE(hasInk(image, 0, height, 2 * cell, 4 * cell, true));
    EXPECT_TRUE(hasInk(image, 0, height, 4 * cell, 6 * cell, true));
    EXPECT_FALSE(hasInk(image, 0, height, 6 * cell, 10 * cell, true));
    EXPECT_TRUE(hasInk(image, 0, height, 10 * cell, 13 * cell, true));

    // The collocation result is a table only while the collocation display is on.
    document.selectKind(ResultKind::Collocation);
    view->updateFromDocument();
    EXPECT_EQ(view->tableMode(), TableMode::None);
    EXPECT_EQ(view->cellPositions("w\t1\t22"), (std::vector<std::int64_t>{0}));
    document.collocationValue2 = 1;
    view->updateFromDocument();
    EXPECT_EQ(view->tableMode(), TableMode::Collocation);
    EXPECT_EQ(view->cellPositions("w\t1\t22"),
              (std::vector<std::int64_t>{0, 11 * cell, 14 * cell}));
}

TEST_F(ResultViewTest, TheTsvResultIsFifteenTabUnitsWide) {
    document.addSearchLine("x", 100);
    document.list(ResultKind::Spreadsheet).addTail("a\tb\r\n");
    document.selectKind(ResultKind::Spreadsheet);
    ResultView::setTabUnit(20);
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;
    EXPECT_EQ(view->horizontalScrollBar()->maximum(),
              15 * 20 * cell + 20 - view->viewport()->width());
    ResultView::setTabUnit(15);
}

TEST_F(ResultViewTest, ManyLinesScrollByLinesWithoutTheOldPixelLimit) {
    writeIni("[WindowSize]\r\n32bitGDI=0\r\n");
    for (int i = 0; i < 4000; ++i) document.addSearchLine("a result line", 100000);
    auto view = makeView();
    const int height = view->metrics().lineHeight;
    const int whole = view->viewport()->height() / height;
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 4000 - whole);
    EXPECT_EQ(view->verticalScrollBar()->pageStep(), whole);
    EXPECT_EQ(view->verticalScrollBar()->singleStep(), 3);
    EXPECT_GT(static_cast<long>(view->verticalScrollBar()->maximum()) * height, 31767);

    view->scrollToLine(3990);
    EXPECT_EQ(view->firstVisibleLine(), 4000 - whole);
    EXPECT_EQ(view->lineAt(height * (whole - 1) + 1), 3999);
    EXPECT_EQ(view->lineAt(height * whole + 1), -1);

    // The horizontal extent is the longest line's, with its margin.
    const int cell = view->metrics().averageCharWidth;
    EXPECT_EQ(view->horizontalScrollBar()->maximum(),
              std::max(0, 15 * cell + 20 - view->viewport()->width()));
    CPyxoDoc empty("e");
    ResultView emptyView(empty, profile, ui);
    EXPECT_EQ(emptyView.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(emptyView.horizontalScrollBar()->maximum(), 0);
}

TEST_F(ResultViewTest, AMillionLinesJumpToTheEndAndScrollWithoutWalkingTheList) {
    constexpr int kLines = 1000000;
    for (int i = 0; i < kLines; ++i) {
        document.addSearchLine("     " + std::to_string(i) + " | a line of the search result",
                               kLines);
    }
    auto view = makeView();
    const int last = view->verticalScrollBar()->maximum();
    ASSERT_EQ(last, kLines - view->verticalScrollBar()->pageStep());

    using Clock = std::chrono::steady_clock;
    auto paintAt = [&](int line) {
        view->scrollToLine(line);
        const auto start = Clock::now();
        render(*view);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->firstVisibleLine(), last);
    QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->firstVisibleLine(), 0);
    const double toEnd = paintAt(last);
    EXPECT_LT(view->lastSeekSteps(), view->verticalScrollBar()->pageStep());
    double scrolling = 0;
    for (int n = 1; n <= 100; ++n) {
        scrolling += paintAt(last - 3 * n);
        ASSERT_EQ(view->lastSeekSteps(), 3);
    }
    const double toMiddle = paintAt(kLines / 2);
    const double nearMiddle = paintAt(kLines / 2 + 20);
    EXPECT_EQ(view->lastSeekSteps(), 20);
    std::printf(
        "[ measured ] 1,000,000 lines: jump to end %.2f ms, 100 scroll steps %.2f ms, "
        "jump to middle %.2f ms, page from there %.2f ms\n",
        toEnd, scrolling, toMiddle, nearMiddle);
    EXPECT_LT(toEnd, 250.0);
    EXPECT_LT(scrolling / 100, 250.0);
}

TEST_F(ResultViewTest, CopyTakesTheDisplayedListAsClipCopySizeAllows) {
    writeIni("[Setting]\r\nClipCopySize=10\r\n");
    document.addSearchLine("1234567", 100);
    document.addSearchLine("next", 100);
    auto view = makeView();
    QSignalSpy editor(view.get(), &ResultView::clipboardEditorRequested);
    view->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1234567\n");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Finished!"});

    // Shift-JIS reaches the clipboard as Unicode; a clipboard editor is asked for, not shown.
    writeIni("[TextEditor]\r\nExecutable2=/usr/bin/ed\r\nCmdLine2=%s\r\n");
    document.list(ResultKind::Sorted).addTail("\x93\xFA\x96\x7B\x8C\xEA\r\n");
    document.list(ResultKind::Sorted).addTail("\xB1\r\n");
    document.selectKind(ResultKind::Sorted);
    view->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("日本語\nｱ\n"));
    EXPECT_EQ(editor.count(), 1);
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(ResultViewTest, RightClickOpensTheGivenMenuAndDoubleClickNamesTheLine) {
    for (int i = 0; i < 30; ++i) document.addSearchLine("line", 100);
    auto view = makeView();
    QMenu menu;
    menu.addAction("Copy");
    view->setContextMenu(&menu);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                            view->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(view->viewport(), &click);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    QSignalSpy activated(view.get(), &ResultView::lineActivated);
    const int height = view->metrics().lineHeight;
    view->scrollToLine(5);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 2 * height + 1));
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).value<long>(), 7L);
}

TEST_F(ResultViewTest, DroppedLocalFilesAreHandedOn) {
    auto view = makeView();
    QSignalSpy dropped(view.get(), &ResultView::filesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.txt"), QUrl("https://example.org/b.txt"),
                  QUrl::fromLocalFile("/tmp/c d.txt")});
    // As a drag arrives: the enter picks the target, the drop goes to it.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toStringList(), (QStringList{"/tmp/a.txt", "/tmp/c d.txt"}));
}

TEST_F(ResultViewTest, EnglishAndJapaneseKwicLinesShareTheKeywordColumn) {
    // KWIC lines as the search lays them out: the keyword, between highlight switches, starts
    // at byte 30 whether the context before it is English, kanji, kana or half-width kana.
    const std::vector<std::string> lines = {
        "-----[ sample.txt ]-----",
        "      1 |           the black \033cat\033 sat on the mat",
        "      2 |   \x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x95\x5C\x82\xCC\x95\xB6\x82\xCC"
        "\x95\x5C\033\x94\x4C\033\x82\xAA\x8D\xC0\x82\xC1\x82\xBD",
        "      3 |           \x83\x4C\x81\x5B\x83\x8F\x81\x5B\x83\x68\033cat\033",
        "     14 |       \xB1\xB2\xB3\xB4\xB5 and the \033\x94\x4C\033 ran",
        "    203 |         a dog and a \033cat\033 \x82\xAA\x8D\xC0\x82\xC1\x82\xBD",
    };
    for (const std::string& line : lines) document.addSearchLine(line, 100);
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;
    const int height = view->metrics().lineHeight;
    const QImage image = render(*view);
    if (const char* out = getenv("VELLMORA_SCREENSHOT")) image.save(QString::fromUtf8(out));
    // The highlight's background is the text colour. Glyph strokes cross both sides of its
    // edge, so compare what most of a two-pixel strip shows.
    const int keyword = 30 * cell;
    auto darkShare = [&image, height](int x, int row) {
        int dark = 0;
        for (int y = row * height; y < (row + 1) * height; ++y)
            for (int dx = 0; dx < 2; ++dx) dark += image.pixelColor(x + dx, y).lightness() < 128;
        return double(dark) / (2 * height);
    };
    for (int row = 1; row < int(lines.size()); ++row) {
        EXPECT_LT(darkShare(keyword - 2, row), 0.4) << row;
        EXPECT_GT(darkShare(keyword, row), 0.6) << row;
    }
}

/// The rightmost x of dark ink in line row, or -1 for none.
int rightInkEdge(const QImage& image, int row, int height) {
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = row * height; y < (row + 1) * height; ++y) {
            if (image.pixelColor(x, y).lightness() < 128) return x;
        }
    }
    return -1;
}

TEST_F(ResultViewTest, LinesOfEqualByteWidthEndInOneColumnWhateverTheFontDraws) {
    // Eleven bytes each, the last one "#": ASCII, kana, a mix with half-width kana and kanji,
    // a sign the default face lacks (drawn from another font), backslashes, and ASCII of
    // uneven widths in a proportional font.
    const std::vector<std::string> lines = {
        "abcdefghij#",
        "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49#",
        "ab\xB1\x83\x43\x83\x45\xB2\x93\xFA#",
        "ab\x87\x94 cdefg#",
        "ab\\cd\\efgh#",
        "iiiiiWWWWW#",
    };
    for (const std::string& line : lines) document.addSearchLine(line, 100);
    auto view = makeView();
    QFont proportional("DejaVu Sans");
    proportional.setPixelSize(15);
    for (const QFont& font : {view->viewFont(), proportional}) {
        view->applyChosenFont(font);
        const int height = view->metrics().lineHeight;
        const QImage image = render(*view);
        const int first = rightInkEdge(image, 0, height);
        EXPECT_GT(first, 9 * view->metrics().averageCharWidth) << font.family().toStdString();
        for (int row = 1; row < int(lines.size()); ++row) {
            EXPECT_NEAR(rightInkEdge(image, row, height), first, 1)
                << font.family().toStdString() << " line " << row;
        }
    }
}

TEST_F(ResultViewTest, TheBackslashIsDrawnAsABackslashNotAsAYen) {
    document.addSearchLine("\\", 100);
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;
    const int height = view->metrics().lineHeight;
    const QImage drawn =
        render(*view).copy(0, 0, cell, height).convertToFormat(QImage::Format_RGB32);
    // What the default face itself draws for U+005C: a yen sign.
    QImage yen(cell, height, QImage::Format_RGB32);
    yen.fill(Qt::white);
    {
        QPainter painter(&yen);
        painter.setFont(view->viewFont());
        painter.setPen(Qt::black);
        painter.drawText(0, QFontMetrics(view->viewFont()).ascent(), QStringLiteral("\\"));
    }
    EXPECT_NE(drawn, yen);
    // A backslash runs from the top left to the bottom right: the other two corners are empty.
    auto inkIn = [&drawn](int x0, int x1, int y0, int y1) {
        return hasInk(drawn, y0, y1, x0, x1, true);
    };
    const int top = height / 4, bottom = 3 * height / 4, half = cell / 2;
    EXPECT_TRUE(inkIn(0, half, top, top + 3));
    EXPECT_FALSE(inkIn(half + 1, cell, 0, top + 2));
    EXPECT_FALSE(inkIn(0, half - 1, bottom - 2, height));
}

TEST_F(ResultViewTest, TheKeywordOfKwicLinesIsHighlightedAtItsColumn) {
    writeIni("[WordGroupNames]\r\nName=animals|\r\n[WordGroup]\r\nanimals=cat|cats|dog|\r\n");
    // The context starts after " | "; its byte 10 is the keyword's first (L = 11).
    const std::vector<std::string> lines = {
        "-----[ a.txt ]-----",
        "      1 | the black cat sat",
        "      2 | two black cats ran",
        "      3 | the Black DOG ran",
        "      4 | the black cow and a cat",
        "      5 | \x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x82\xCC\033\x94\x4C\033 cat",
    };
    for (const std::string& line : lines) document.addSearchLine(line, 100);
    DisplaySnapshot snapshot;
    snapshot.searchKind = 1;
    snapshot.keywordColumn = 11;
    snapshot.keyword1 = "animals";
    document.recordDisplaySnapshot(snapshot);
    auto view = makeView();
    const int cell = view->metrics().averageCharWidth;
    const int height = view->metrics().lineHeight;
    const QImage image = render(*view);
    if (const char* out = getenv("VELLMORA_SCREENSHOT")) image.save(QString::fromUtf8(out));
    // Highlighted cells have the inverse background, black by default: most of a cell is
    // dark, which no glyph drawn in black on white makes it.
    auto highlighted = [&](int row, int column) {
        int dark = 0;
        for (int y = row * height; y < (row + 1) * height; ++y)
            for (int x = column * cell; x < (column + 1) * cell; ++x)
                dark += image.pixelColor(x, y).lightness() < 64;
        return dark * 2 > cell * height;
    };
    auto highlightedCells = [&](int row) {
        std::string cells;
        for (int column = 0; column < 34; ++column) cells += highlighted(row, column) ? '#' : '.';
        return cells;
    };
    const std::string none(34, '.');
    EXPECT_EQ(highlightedCells(0), none);
    EXPECT_EQ(highlightedCells(1), std::string(20, '.') + "###" + std::string(11, '.'));
    EXPECT_EQ(highlightedCells(2), std::string(20, '.') + "####" + std::string(10, '.'));
    EXPECT_EQ(highlightedCells(3), std::string(20, '.') + "###" + std::string(11, '.'));
    EXPECT_EQ(highlightedCells(4), none);
    // A line with switches is drawn as its switches say, the keyword aside.
    EXPECT_EQ(highlightedCells(5), std::string(20, '.') + "##" + std::string(12, '.'));

    // Other results than the search's own lines are not searched for the keyword.
    document.list(ResultKind::Collocation).addTail("      1 | the black cat sat\r\n");
    document.selectKind(ResultKind::Collocation);
    view->updateFromDocument();
    EXPECT_EQ(render(*view).pixelColor(20 * cell, height - 1), QColor(Qt::white));
}

}  // namespace
}  // namespace vellmora
